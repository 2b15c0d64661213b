// The boot-loader dialogue and the IP configuration run against the simulated controller.
#include "tests/flash/loader/loader_fixture.h"

#include "flash/loader/ip_files.h"

namespace flashtest {
namespace {

using x740sim::BootPrompt;

TEST_F(LoaderTest, IpRunOverTheTerminalWithFirmware2) {
    PowerOn(BootPrompt::Mode);
    RunWith({"-COM:1", "-IPD:192.168.7.20", "-SND:255.255.255.0", "-GWD:192.168.7.1"});
    EXPECT_EQ(app.m_Message, "");
    EXPECT_EQ(app.m_FirmwareState, flash::kFirmware2);
    EXPECT_EQ(app.m_FtpUser, "update");
    EXPECT_EQ(app.m_FtpPassword, "vorpal");
    EXPECT_EQ(boot.commands(), std::vector<std::string>{"MODE 1"});
    // The serial number is kept, DHCP is switched off.
    EXPECT_EQ(ConfigText("serial"), "SN400123");
    EXPECT_EQ(ConfigText("ip"), "192.168.7.20");
    EXPECT_EQ(ConfigText("mask"), "255.255.255.0");
    EXPECT_EQ(ConfigText("gateway"), "192.168.7.1");
    EXPECT_EQ(services.record(x740sim::RecordKind::ModulConfig).get("dhcp"), 0u);
    // The reset restarted the controller into its boot loader.
    EXPECT_EQ(services.requests(49, 0x20), 1);
    EXPECT_EQ(boot.powerOns(), 2);
    EXPECT_EQ(console, kBanner + Row("Opening Port COM1: ") +
                           Row("Waiting for X740 (turn power on now) V>2 .") +
                           Row("Setting IP-Adress to 192.168.7.20") + Row("Reset"));
    EXPECT_EQ(LogBody(), "Opening Port COM1: \nWaiting for X740 \n V>2 \n"
                         "Setting IP-Adress to 192.168.7.20\nReset\n");
    EXPECT_EQ(clock.m_Sleeps, (std::vector<int>{500, 2000, 2000}));
    EXPECT_EQ(g_Calls.count["openCom"], 2);
}

TEST_F(LoaderTest, BootPromptsOfBothGenerationsAndTheirReplies) {
    struct Case {
        BootPrompt prompt;
        int state;
        std::string command, user, mark;
    };
    const Case cases[] = {
        {BootPrompt::Dong, flash::kFirmwareBelow2, "BRIDGE IS AVAILABLE!", "kvn", " V<2 "},
        {BootPrompt::Mode, flash::kFirmware2, "MODE 1", "update", " V>2 "},
        // After "AT" only the next prompt decides.
        {BootPrompt::AtDong, flash::kFirmwareAt, "BRIDGE IS AVAILABLE!", "kvn", " V<2 "},
        {BootPrompt::AtMode, flash::kFirmwareAt, "MODE 1", "update", " V>2 "},
    };
    for (const Case& c : cases) {
        const int before = static_cast<int>(boot.commands().size());
        PowerOn(c.prompt);
        app.m_FirmwareState = flash::kFirmwareUnknown;
        app.m_ComPort = 1;
        app.m_Ipd = "172.16.0.9";
        console.clear();
        app.IpConfigurationRun();
        EXPECT_EQ(app.m_Message, "");
        EXPECT_EQ(app.m_FirmwareState, c.state);
        EXPECT_EQ(app.m_FtpUser, c.user);
        EXPECT_EQ(app.m_FtpPassword, c.user == "kvn" ? "qmx" : "vorpal");
        ASSERT_EQ(static_cast<int>(boot.commands().size()), before + 1);
        EXPECT_EQ(boot.commands().back(), c.command);
        EXPECT_NE(console.find("(turn power on now)" + c.mark), std::string::npos) << console;
        EXPECT_EQ(ConfigText("ip"), "172.16.0.9");
        // Mask and gateway left empty keep the controller's own.
        EXPECT_EQ(ConfigText("mask"), "255.0.0.0");
    }
}

TEST_F(LoaderTest, SilentOrGarbledLineCostsFiftyReads) {
    g_Calls.readTimeoutMs = 5;
    for (BootPrompt prompt : {BootPrompt::Silence, BootPrompt::Garbage}) {
        PowerOn(prompt);
        g_Calls.count["read"] = 0;
        console.clear();
        app.m_ComPort = 1;
        app.m_Toolkit = 1;
        app.m_Ipd = "172.16.0.9";
        app.m_Message.clear();
        app.IpConfigurationRun();
        EXPECT_EQ(g_Calls.count["read"], 50);
        EXPECT_EQ(app.m_Message, "Modul does not send data\n");
        EXPECT_EQ(console, Row("Opening Port COM1: ") +
                               Row("Waiting for X740 (turn power off and on now)", " -> Error\n"));
        EXPECT_EQ(app.m_FirmwareState, flash::kFirmwareUnknown);
    }
    EXPECT_TRUE(boot.commands().empty());
}

TEST_F(LoaderTest, ClearStartFtpAndStartDiagCommands) {
    app.m_ComPort = 1;
    app.m_Ipc = "10.10.12.6";
    app.m_Snc = "255.255.0.0";
    app.m_Gwc = "10.10.254.254";

    PowerOn(BootPrompt::Mode);
    app.ClearFlashRun();
    EXPECT_EQ(console, Row("Open 9600") + "Wait  V >= 2\nClearflash\n");
    PowerOn(BootPrompt::Dong);
    console.clear();
    app.ClearFlashRun();
    EXPECT_EQ(console, Row("Open 9600") + "Wait  V < 2\nNot supported\n");

    PowerOn(BootPrompt::AtMode);
    console.clear();
    app.StartFtpRun(1);
    EXPECT_EQ(console, Row("Opening Port COM1: ") + "Wait  V >= 2\n");
    PowerOn(BootPrompt::Mode);
    app.StartFtpRun(2);
    PowerOn(BootPrompt::Dong);
    app.StartFtpRun(2);
    EXPECT_EQ(app.m_Message, "");
    AwaitTaken();
    EXPECT_EQ(boot.commands(),
              (std::vector<std::string>{"MODE 1 FTP=COMP2 FFS=CLEARFLASH",
                                        "MODE 1 IP=10.10.12.6/255.255.0.0/10.10.254.254 FTP=COMP2",
                                        "MODE 2 IP=10.10.12.6/255.255.0.0/10.10.254.254 FTP=COMP2",
                                        "BRIDGE IS AVAILABLE!"}));
    EXPECT_EQ(folder.read("X740Flash_Log.txt"),
              "Opening Port COM1: \nV >= 2\nOpening Port COM1: \nV >= 2\n"
              "Opening Port COM1: \nV < 2\n");
}

TEST_F(LoaderTest, IpRunOverTcpAndTheOtherBranches) {
    // A boot window of no length: after the reset the firmware answers at once.
    boot.setSettings({BootPrompt::Mode, 0, 5, 15});
    // COM 0: the controller is reached at IPC, no prompt is awaited.
    RunWith({"-IPC:127.0.0.1", "-IPD:192.168.9.9", "-GWD:192.168.9.1"});
    EXPECT_EQ(app.m_Message, "");
    EXPECT_EQ(console, kBanner + Row("Connecting to: 127.0.0.1 ") +
                           Row("Setting IP-Adress to 192.168.9.9") + Row("Reset"));
    EXPECT_EQ(ConfigText("ip"), "192.168.9.9");
    EXPECT_EQ(ConfigText("gateway"), "192.168.9.1");
    EXPECT_EQ(services.requests(49, 0x20), 1);
    EXPECT_EQ(g_Calls.count["read"], 0);
    EXPECT_EQ(g_Calls.count["openCom"], 0);
    // The reset dropped the link and opened the boot window.
    EXPECT_EQ(boot.powerOns(), 1);

    // IPD missing, or IPC missing on COM 0: nothing to do.
    for (const char* ipd : {"", "1.2.3.4"}) {
        app.m_Ipd = ipd;
        app.m_Ipc.clear();
        app.m_Message.clear();
        console.clear();
        app.IpConfigurationRun();
        EXPECT_EQ(app.m_Message, "Nothing to do\n");
        EXPECT_EQ(console, "Nothing to do\n");
    }
    // NB: no boot dialogue, the running firmware is asked at once on COM1.
    app.m_Ipd = "192.168.9.10";
    app.m_Nb = 1;
    app.m_ComPort = 1;
    app.m_Message.clear();
    console.clear();
    pty.waitIdle(2000);
    app.IpConfigurationRun();
    EXPECT_EQ(app.m_Message, "");
    EXPECT_EQ(console, Row(".") + Row("Setting IP-Adress to 192.168.9.10") + Row("Reset"));
    EXPECT_EQ(g_Calls.count["read"], 0);
}

TEST_F(LoaderTest, NoKeyRestartsTheControllerOverTheNetwork) {
    app.m_NoKey = 1;
    app.m_ComPort = 1;
    app.m_Ipc = "127.0.0.1";
    app.m_Ipd = "192.168.5.5";
    boot.setSettings({BootPrompt::Mode, 5000, 5, 15});
    app.IpConfigurationRun();
    EXPECT_EQ(app.m_Message, "");
    EXPECT_EQ(g_Calls.count["openNetNoReadId"], 1);
    // The warm start, then the reset at the end.
    EXPECT_EQ(services.requests(49, 0x20), 2);
    EXPECT_EQ(boot.commands(), std::vector<std::string>{"MODE 1"});
    EXPECT_EQ(keys.Reads(), 0);
    EXPECT_EQ(console.find("turn power"), std::string::npos);

    // Without a controller on the network the warm start fails harmlessly.
    tcp.stop();
    PowerOn(BootPrompt::Mode);
    console.clear();
    app.IpConfigurationRun();
    EXPECT_EQ(app.m_Message, "");
    EXPECT_EQ(console.rfind(Row("Opening Port COM1: ", " -> Error\n") +
                                Row("DoWarmstart", " -> Error\n") + Row(""),
                            0),
              0u)
        << console;
    EXPECT_NE(folder.read("X740Flash_Log.txt").find("Error DoWarmstart N_OpenNet_NoReadID\n"),
              std::string::npos);
    EXPECT_EQ(keys.Reads(), 0);
    EXPECT_EQ(ConfigText("ip"), "192.168.5.5");
}

TEST_F(LoaderTest, DefaultConfigurationAndTheStoredConfiguration) {
    flash::ModulConfig stored{"SN999999", "10.9.9.9", "255.255.255.0", "10.9.9.1", 1};
    ASSERT_TRUE(flash::WriteModulConfigFile(stored));
    app.m_ComPort = 1;
    app.m_Def = 1;
    app.Dispatch();
    EXPECT_EQ(app.m_Message, "");
    EXPECT_EQ(ConfigText("serial"), "SN400123");
    EXPECT_EQ(ConfigText("ip"), "10.10.12.6");
    EXPECT_EQ(ConfigText("mask"), "255.255.0.0");
    EXPECT_EQ(ConfigText("gateway"), "0.0.0.0");
    EXPECT_EQ(services.record(x740sim::RecordKind::ModulConfig).get("dhcp"), 1u);
    EXPECT_EQ(services.record(x740sim::RecordKind::SystemConfig).text("serial"), "SN400123");
    // A written configuration makes the stored one obsolete.
    EXPECT_FALSE(flash::ModulConfigFileExists());

    // A stored configuration is taken under NOKEY without a question ...
    flash::ModulConfig config;
    ASSERT_TRUE(flash::WriteModulConfigFile(stored));
    app.m_NoKey = 1;
    console.clear();
    ASSERT_EQ(app.AskLastConfiguration(config), 1);
    EXPECT_EQ(config.serial, "SN999999");
    EXPECT_EQ(config.dhcp, 1);
    EXPECT_EQ(keys.Reads(), 0);
    EXPECT_EQ(console, "\nUse last configuration (Y/N)?");
    // ... 'n' reads the controller's and keeps that instead ...
    app.m_NoKey = 0;
    flash::CScriptedKeys no("n");
    app.m_Keys = &no;
    ASSERT_EQ(app.AskLastConfiguration(config), 1);
    EXPECT_EQ(config.ip, "10.10.12.6");
    EXPECT_EQ(folder.read("Modulcfg.cfg"), "SN400123\n10.10.12.6\n255.255.0.0\n0.0.0.0\n1\n");
    // ... and a file without its five lines is no stored configuration at all.
    folder.write("Modulcfg.cfg", "SN1\n1.1.1.1\n255.0.0.0\n1.1.1.254\n");
    console.clear();
    ASSERT_EQ(app.AskLastConfiguration(config), 1);
    EXPECT_EQ(console, "");
    EXPECT_EQ(no.Reads(), 1);
    EXPECT_EQ(config.serial, "SN400123");
}

} // namespace
} // namespace flashtest
