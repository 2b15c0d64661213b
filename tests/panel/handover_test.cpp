// The hand-over of the link to the FTP client on the injected clock, and the system sections
// and module texts the data files take from the controller.
#include "panel/core/panel_app.h"
#include "panel/core/panel_commands.h"
#include "panel/ui/advanced_dlg.h"
#include "panel/ui/panel_clock.h"
#include "panel/ui/panel_session.h"
#include "platform/ini_file.h"
#include "tests/panel/host_fixture.h"
#include "xui/command.h"

#include <QApplication>

#include <fstream>

namespace x740panel::test {
namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "panel_handover_test";
    static char* argv[] = {name, nullptr};
    static QApplication* a = new QApplication(argc, argv);
    return *a;
}

class Handover : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        ASSERT_TRUE(sim.StartAtServicePort());
        theApp().m_Handle = A_OpenNet(sim.address, 32000);
        theApp().InitInstance();
        RegisterPanelClasses();
        SetPanelClock(&clock);
        SetFtpDialogRunner([this](CAdvancedDlg& panel, const FtpHandover& h) {
            handovers.push_back(h);
            linkClosed = A_GetPort(theApp().m_Handle) == 0;
            panel.AddLogLine("F\tFTP dialog ran");
        });
    }
    void TearDown() override {
        SetFtpDialogRunner({});
        SetPanelClock(nullptr);
        A_Close(theApp().m_Handle);
    }
    static std::vector<std::string> Lines(const CAdvancedDlg& dlg) {
        std::vector<std::string> lines;
        for (int i = 0; i < dlg.LogList()->LineCount(); ++i) lines.push_back(dlg.LogList()->Line(i));
        return lines;
    }

    PanelInstall install;
    PanelStation sim;
    mv::FakeClock clock;
    std::vector<FtpHandover> handovers;
    bool linkClosed = false;
};

TEST_F(Handover, FtpHandOverWaitsHandsTheLoginOverResetsAndReconnects) {
    x740sim::ServiceRecord system(x740sim::RecordKind::SystemConfig);
    system.setText("ftpUser", "service");
    system.setText("ftpPassword", "secret");
    sim.services.putRecord(system);
    static const char info[] = "X740 CPU\0" "2023-04-17\0" "3.14";
    sim.station.setModuleInfo(std::vector<std::uint8_t>(info, info + sizeof info));

    CAdvancedDlg dlg;
    dlg.ShowModeless();
    const mv::MonoMs start = clock.now();
    xui::postCommandTo(&dlg, kCmdFtpClient);
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    ASSERT_EQ(handovers.size(), 1u);
    EXPECT_EQ(handovers[0].user, "service");
    EXPECT_EQ(handovers[0].password, "secret");
    EXPECT_EQ(handovers[0].firmwareMajor, 3);
    EXPECT_EQ(handovers[0].host, sim.Endpoint().substr(0, sim.Endpoint().find(':')));
    EXPECT_EQ(handovers[0].log, dlg.LogList());
    EXPECT_TRUE(linkClosed);
    // The default FTP wait of 20 s counts down 21 times, a little over a second each.
    EXPECT_EQ(clock.now() - start, 21 * 1001);
    EXPECT_EQ(Lines(dlg), (std::vector<std::string>{"I\tStart FTPServer -> OK", "I\tWait  0 Seconds",
                                                    "I\tOK", "F\tFTP dialog ran", "I\tReset "}));
    EXPECT_EQ(sim.services.requests(48, 0x20), 1);
    EXPECT_EQ(sim.services.requests(49, 0x20), 1); // over a new link: the old one was closed
    EXPECT_EQ(theApp().m_Handle, 0u);
    EXPECT_TRUE(dlg.WaitCursorHeld());
    for (int tick = 0; tick < 20 && dlg.Reconnect().state != kReconnectIdle; ++tick) dlg.OnTimer();
    EXPECT_EQ(Lines(dlg).back(), "I\tOK");
    EXPECT_NE(theApp().m_Handle, 0u);
    EXPECT_FALSE(dlg.WaitCursorHeld());

    // Without a readable system configuration the controller's default login is used.
    sim.services.setDeviceError(92, 5);
    xui::postCommandTo(&dlg, kCmdFtpClient);
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    ASSERT_EQ(handovers.size(), 2u);
    EXPECT_EQ(handovers[1].user, "kvn");
    EXPECT_EQ(handovers[1].password, "qmx");
}

// Without module information the firmware major is 0. A server start that cannot be sent is
// logged and the hand-over goes on: the FTP dialog runs and the reset reaches the controller
// over a new link.
TEST_F(Handover, FtpHandOverGoesOnWithoutModuleInformationOrServerStart) {
    sim.station.injectFaultFor(23, 0x40, x740sim::Fault::deviceError(5));
    CAdvancedDlg dlg;
    dlg.ShowModeless();
    const auto hand = [&] {
        xui::postCommandTo(&dlg, kCmdFtpClient);
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    };
    hand();
    ASSERT_EQ(handovers.size(), 1u);
    EXPECT_EQ(handovers[0].firmwareMajor, 0);
    EXPECT_EQ(Lines(dlg).front(), "I\tStart FTPServer -> OK");
    for (int tick = 0; tick < 20 && dlg.Reconnect().state != kReconnectIdle; ++tick) dlg.OnTimer();
    ASSERT_NE(theApp().m_Handle, 0u);

    // The controller drops the link at the first read: every request after it fails.
    sim.station.injectFaultFor(92, 0x40, x740sim::Fault::drop());
    const int starts = sim.services.requests(48, 0x20);
    const int resets = sim.services.requests(49, 0x20);
    const std::size_t from = Lines(dlg).size();
    hand();
    ASSERT_EQ(handovers.size(), 2u);
    EXPECT_EQ(handovers[1].user, "kvn");
    EXPECT_EQ(handovers[1].password, "qmx");
    EXPECT_EQ(handovers[1].firmwareMajor, 0);
    const std::vector<std::string> lines = Lines(dlg);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(from), lines.end()),
              (std::vector<std::string>{"I\tStart FTPServer -> ERROR", "I\tWait  0 Seconds",
                                        "I\tOK", "F\tFTP dialog ran", "I\tReset "}));
    EXPECT_EQ(sim.services.requests(48, 0x20), starts);
    EXPECT_EQ(sim.services.requests(49, 0x20), resets + 1);
    EXPECT_EQ(theApp().m_Handle, 0u);
}

TEST_F(Handover, SystemSectionsAreWrittenInOrderWithModuleTexts) {
    theApp().m_InstallDir = mvtest::SampleDataDir();
    x740sim::ServiceRecord info(x740sim::RecordKind::SystemInfo);
    info.setAt(5, 2, 0xFFFF);
    info.setAt(9, 1, 0x89);
    sim.services.putRecord(info);
    x740sim::ServiceRecord config(x740sim::RecordKind::ModulConfig);
    config.setText("serial", "00000007");
    config.setText("ip", "10.0.0.2");
    config.set("dhcp", 3);
    sim.services.putRecord(config);
    sim.station.setModuleIds({0x2110, 0x7777});
    sim.station.setModuleInfo(std::vector<std::uint8_t>(300, 'A')); // no terminator at all
    // The ID table is read when a link opens.
    A_Close(theApp().m_Handle);
    theApp().m_Handle = A_OpenNet(sim.address, 32000);

    CAdvancedDlg dlg; // the panel's operations, as the data-file code reaches them
    dlg.ShowModeless();
    const std::string known = dlg.GetModuleText(0x2110);
    EXPECT_NE(known.find(" - "), std::string::npos);
    EXPECT_EQ(dlg.GetModuleText(0x7777), "");
    EXPECT_EQ(dlg.GetControllerIdText(), "0x32a5");

    const std::string file = install.dir + "/data.ssi";
    dlg.WriteSystemSections(file);
    mv::iniClearCache();
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::string expected = "[System]\r\nControllerID=0x32a5\r\nSizeRAM=65535\r\nSizeNVRAM=0\r\n"
                                 "FlashCode=137\r\nFlashDeviceCode=0\r\nFirmwareName=" +
                                 std::string(253, 'A') +
                                 "\r\nFirmwareDate= \r\nFirmwareVersion= \r\n"
                                 "SerialNumber=00000007\r\nIP_Address=10.0.0.2\r\n"
                                 "IP_SubnetMask= \r\nIP_Gateway= \r\nIP_UseDHCP=1\r\n"
                                 "[IOConfig]\r\n0=" + known + "\r\n1= \r\n";
    EXPECT_EQ(text, expected);
}

} // namespace
} // namespace x740panel::test
