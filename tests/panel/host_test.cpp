// The X740Panel plug-in loaded by a host program as the main program loads it, its panel
// driven by script against the simulated station over TCP and a pseudo-terminal.
#include "tests/panel/host_fixture.h"
#include "tests/sim/pty_station_server.h"

#include <algorithm>

namespace x740panel::test {
namespace {

using x740sim::RecordKind;
using x740sim::ServiceRecord;

void PutRecords(x740sim::ServiceController& s) {
    ServiceRecord status(RecordKind::Status);
    status.set("a", 0x0102);
    const std::vector<std::uint8_t> rest{7, 0, 9, 0, 3, 0xE8, 0x03, 0xC4, 0x09, 0x10, 0x27, 0xE4,
                                         0x0C, 0x88, 0x13, 0xE0, 0x2E, 0x20, 0x4E, 42};
    std::copy(rest.begin(), rest.end(), status.bytes().begin() + 4);
    s.putRecord(status);
    ServiceRecord config(RecordKind::ModulConfig);
    config.setText("serial", "12345678");
    config.setText("ip", "192.168.1.10");
    config.setText("mask", "255.255.255.0");
    config.setText("gateway", "192.168.1.1");
    config.set("dhcp", 1);
    s.putRecord(config);
    ServiceRecord info(RecordKind::SystemInfo);
    info.setAt(2, 1, 3);
    info.setAt(3, 1, 16);
    info.setAt(4, 1, 4);
    info.setAt(5, 2, 512);
    info.setAt(7, 2, 128);
    info.setAt(9, 1, 0x89);
    info.setAt(10, 2, 0x22C4);
    s.putRecord(info);
    ServiceRecord main(RecordKind::MainService);
    main.set("a", 32000);
    main.set("b", 5000);
    main.set("c", 10);
    main.set("d", 60);
    s.putRecord(main);
    ServiceRecord serial(RecordKind::SerService);
    serial.setText("name", "COM1");
    serial.set("b", 9600);
    serial.set("c", 0x0D);
    serial.set("d", 100);
    s.putRecord(serial);
    ServiceRecord block(RecordKind::NswBlock);
    block.set("block", 1);
    block.set("module", 2);
    block.set("byteOffset", 7);
    s.putRecord(block, 1);
}

TEST(PanelHost, SystemCommandsLogTheirExactLinesAndTheWarningFlagIsKept) {
    PanelInstall install;
    PanelStation sim;
    ASSERT_TRUE(sim.StartAtServicePort());
    PutRecords(sim.services);
    sim.station.setInputLength(2);
    sim.station.setInputs(0, {0x5A, 0x00});

    const HostRun run = RunHost({"--tcp", sim.Endpoint(), "--do", "cmd:40006", "--do",
                                 "cmd:40007", "--do", "cmd:40005", "--do", "cmd:40002", "--do",
                                 "cmd:40001", "--do", "cmd:40003", "--do", "cmd:40004", "--do",
                                 "cmd:40010", "--do", "cmd:40011", "--do", "cmd:40024", "--do",
                                 "set:15028=1", "--do", "click:1", "--do",
                                 "wait:Block Number", "--do", "cmd:40050", "--do", "close"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::vector<std::string> expected = {
        "I\tState: 0x0102",
        "I\tErrornumber: 7, Errorinfo: 9, FOError: 3",
        "I\tCycletime 1000",
        "I\tVoltage 2.5V = 2500mV, Vccp1 = 10000mV, 3.3V = 3300mV",
        "I\tVoltage 5V = 5000 mV, 12V = 12000mV, Vccp2 = 20000mV",
        "I\tTemperature :42\xB0" "C",
        "I\tSerialnumber : 12345678",
        "I\tIP : 192.168.1.10, Mask: 255.255.255.0, Gateway 192.168.1.1",
        "I\tDHCP : 1",
        "I\tSysteminfo: BCD Switch 3",
        "I\tSysteminfo: Systembus Bytes 16, Number of Prints 4",
        "I\tSysteminfo: RAM 512 KB, NVRAM 128 KB",
        "I\tSysteminfo: Flash-Code 0x89, Flash-Devicecode 0x22c4",
        "I\tModulID [0] -> 0x2110",
        "I\tModulID [1] -> 0x2210",
        "I\tModulID [2] -> 0x3104",
        "I\tProtocoll ID -> 3",
        "I\tController ID -> 0x32a5",
        "I\tInput [0] -> 0x5a",
        "I\tInput [1] -> 0x00",
        "I\tMainService: IP-Portnumber 32000",
        "I\tMainService: Timeout 5000",
        "I\tMainService: IP-ReconnectTimeout 10",
        "I\tMainService: IP-IdleTimeout 60",
        "I\tSerService: Port \"COM1\"",
        "I\tSerService: 9600 Baud, Timeout 100",
        "I\tSerService: no Handshaking, 8Bit Data, 1 Stopbit, no Parity",
        "I\tNSW Setup (Blockconfig)",
        "I\tBlock Number 1, Modulindex 2, Bitoffset 7",
    };
    EXPECT_EQ(run.log, expected);
    ASSERT_EQ(run.handles.size(), 1u);
    EXPECT_EQ(run.handles[0], run.opened);
    // The warnings flag was 1 (no value stored) and is now kept as 0.
    EXPECT_NE(install.Read("user.reg").find("NSWWarning=dword:00000000"), std::string::npos);

    // Failures: a status reply with a device error, a cam read failing, a cancelled prompt.
    sim.services.setDeviceError(24, 5);
    sim.services.setDeviceError(114, 6);
    const HostRun bad = RunHost({"--tcp", sim.Endpoint(), "--export", "1", "--do", "cmd:40006",
                                 "--do", "cmd:40033", "--do", "cmd:40020", "--do", "click:2",
                                 "--do", "cmd:40003", "--do", "wait:Controller", "--do", "close"});
    ASSERT_EQ(bad.exitCode, 0) << bad.output;
    EXPECT_EQ(bad.log, (std::vector<std::string>{"E\tData Error",
                                                 "E\tError while reading. Errorcode : 6",
                                                 "I\tController ID -> 0x32a5"}));
    EXPECT_NE(install.Read("user.reg").find("NSWWarning=dword:00000000"), std::string::npos);
}

TEST(PanelHost, NswFileReadAndSentBackUnchanged) {
    PanelInstall install;
    PanelStation sim;
    ASSERT_TRUE(sim.StartAtServicePort());
    const std::string file = install.dir + "/cam.ini";
    const HostRun run = RunHost({"--tcp", sim.Endpoint(), "--do", "cmd:40030", "--do",
                                 "file:" + file, "--do", "wait:=I\tReady", "--do", "cmd:40032",
                                 "--do", "file:" + file, "--do", "msg:Download OK", "--do",
                                 "close"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(run.Has("MSG Download OK\n"));
    const std::vector<std::string> expected = {
        "I\tReading Block 0",
        "I\tReading NSW-Configuration Bit 0",
        "I\tReading NSW-Configuration CAM 0",
        "I\tReady",
        "I\tChecking File " + file,
        "I\tChecking BlockConfig_XXX",
        "I\tChecking BitConfig_XXX",
        "I\tChecking Nocken_XXX",
        "I\tSending NSW-Configuration",
        "I\tSending NSW block 0",
        "I\tSending NSW-Konfiguration Bit 0",
        "I\tSending NSW-Configuration CAM 0",
        "I\tReady",
    };
    EXPECT_EQ(run.log, expected);
    EXPECT_NE(install.Read("cam.ini").find("Nocken_4=11,Auswurf,1800,0,1900,0,18,0,64\r\n"),
              std::string::npos);
    const x740sim::CamConfiguration preset = x740sim::camPresetConfiguration();
    EXPECT_EQ(x740sim::takeCamConfiguration(sim.services), preset);
    EXPECT_EQ(sim.services.requests(0x71, 0x20), static_cast<int>(preset.cams.size()));
    EXPECT_EQ(sim.services.record(RecordKind::ImmediateUpdate).get("flag"), 1u);
}

TEST(PanelHost, ResetReconnectsInRealTimeAndHandsTheNewHandleBack) {
    PanelInstall install;
    PanelStation sim;
    ASSERT_TRUE(sim.StartAtServicePort());
    const HostRun run = RunHost({"--tcp", sim.Endpoint(), "--do", "cmd:40014", "--do",
                                 "wait:=I\tOK", "--do", "cmd:40003", "--do",
                                 "wait:Controller ID", "--do", "close"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ASSERT_GE(run.log.size(), 5u);
    EXPECT_EQ(run.log[0], "I\tReset -> OK");
    EXPECT_EQ(run.log[1], "I\tConnecting to X740 ");
    EXPECT_EQ(run.log[2], "I\tPlease Wait ......");
    EXPECT_EQ(run.log[3], "I\tOK");
    EXPECT_EQ(run.log[4], "I\tController ID -> 0x32a5");
    EXPECT_EQ(sim.services.requests(49, 0x20), 1);
    ASSERT_EQ(run.handles.size(), 1u);
    EXPECT_NE(run.handles[0], 0);
    EXPECT_NE(run.handles[0], run.opened);
}

TEST(PanelHost, SerialLinkRefusesTheFtpHandOver) {
    PanelInstall install;
    PanelStation sim;
    x740sim::PtyStationServer pty(sim.station);
    ASSERT_TRUE(pty.start(115200));
    ::setenv("PORTWIRE_COM7", pty.slavePath().c_str(), 1);
    const HostRun run = RunHost({"--com", "7", "--do", "cmd:40003", "--do", "cmd:40016", "--do",
                                 "wait:FTP only", "--do", "close"});
    ::unsetenv("PORTWIRE_COM7");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.opened, 0);
    EXPECT_EQ(run.log, (std::vector<std::string>{
                           "I\tController ID -> 0x32a5",
                           "E\tFTP only possible using network connection"}));
}

TEST(PanelHost, EachLoadStartsCleanAndLeavesTheHostAsItWas) {
    PanelInstall install;
    PanelStation sim;
    ASSERT_TRUE(sim.StartAtServicePort());
    const HostRun run =
        RunHost({"--tcp", sim.Endpoint(), "--times", "2", "--isolation", "--do", "cmd:40003",
                 "--do", "wait:Controller ID", "--do", "close"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(std::count(run.log.begin(), run.log.end(), "I\tController ID -> 0x32a5"), 2);
    EXPECT_EQ(run.handles, (std::vector<long>{run.opened, run.opened}));
    EXPECT_TRUE(run.Has("ISOLATION OK")) << run.output;
    EXPECT_TRUE(run.Has("STATE OK")) << run.output;
}

TEST(PanelHost, AHostWithoutAnApplicationGetsOneForTheCallOnly) {
    PanelInstall install;
    PanelStation sim;
    ASSERT_TRUE(sim.StartAtServicePort());
    const HostRun run = RunHost({"--tcp", sim.Endpoint(), "--no-app", "--do", "cmd:40001", "--do",
                                 "wait:Protocoll", "--do", "close"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.log, (std::vector<std::string>{"I\tProtocoll ID -> 3"}));
    EXPECT_TRUE(run.Has("APP GONE")) << run.output;
}

} // namespace
} // namespace x740panel::test
