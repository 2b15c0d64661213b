// The update procedures end to end in the test process: the simulated controller on a
// pseudo-terminal (COM1) and at 127.0.0.1:32000, pyftpdlib at 127.0.0.1:21 with the
// controller's three accounts, the real ICMP echo, all inside a network namespace the test
// makes for itself. Where no namespace can be made, the same runs use free loopback ports and
// an echo answered by a stand-in, and say so.
#include "tests/flash/loader/procedure_fixture.h"

namespace flashtest {
namespace {

TEST_F(ProcedureTest, TwoStepInstallOfMarkedFirmware) {
    if (Outside()) {
        return;
    }
    // app.bin "2.1": both steps. The first clean-up keeps the system files, folders and the
    // FTP server; the second also takes the FTP server.
    const std::string ftpserv = Firmware("FTP SERVER", "KVN", "2.0");
    MakeZip(ftpserv, Firmware("APPLICATION", "KVN", "2.1"));
    ServerHolds({{"boot.bin", "old boot"}, {"Modul.CFG", "cfg"}, {"user1.bin", "u1"},
                 {"logs/", ""}, {"ftpserv.bin", "old server"}, {"old.bin", "old"}});
    Firmware2(BootPrompt::Mode);
    Run(With({"-F:fw.zip", "-IPD:10.20.30.40"}));
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Commands(), (std::vector<std::string>{kMode1, kMode2}));
    EXPECT_EQ(Transcript(), "USER update\nPASS vorpal\nTYPE I\n"
                            "PORT\nLIST\nDELE old.bin\nPORT\nSTOR DIAG.BIN\n"
                            "PORT\nLIST\nDELE ftpserv.bin\n"
                            // variant B: the socket closes without QUIT
                            "USER update\nPASS vorpal\nTYPE I\n"
                            "PORT\nSTOR ftpserv.img\nPORT\nSTOR boot.img\nDELE DIAG.BIN\n"
                            "PORT\nSTOR app.img\nDELE ftpserv.bnz\nquit\n");
    EXPECT_EQ(ServerFiles(), (std::map<std::string, std::string>{
                                 {"boot.bin", "old boot"},
                                 {"Modul.CFG", "cfg"},
                                 {"user1.bin", "u1"},
                                 {"logs", "<dir>"},
                                 {"ftpserv.img", ftpserv},
                                 {"boot.img", "boot loader"},
                                 {"app.img", ZipMember("Firmware-Binaries/app.bin")}}));
    // Reset, two update starts over the network, reset.
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{49, 93, 93, 49}));
    EXPECT_EQ(services.record(RecordKind::SystemConfig).text("serial"), "SN400123");
    EXPECT_EQ(services.record(RecordKind::SystemConfig).text("text11"), "kept text");
    EXPECT_EQ(ConfigText("ip"), "10.20.30.40");
    EXPECT_FALSE(flash::ModulConfigFileExists());
    EXPECT_EQ(Count("openNetNoReadId"), 1);
    EXPECT_EQ(Log(), "Creating data files\nOpening Port COM1: \nWaiting for X740 \nV>=2\n"
                     "Opening Port COM1: \nReading modul-configuration\nSerialnumber: SN400123\n"
                     "IP_Address: 10.1.2.3\nIP_Gateway: 10.0.0.254\nUseDHCP: 1\n"
                     "Connecting to X740 FTP-Server   STEP 1\n"
                     "Removing files STEP1\nModul.CFG  Systemfile\nboot.bin  Systemfile\n"
                     "ftpserv.bin  Systemfile\nlogs  Systemfile\nold.bin  Delete\nOK\n"
                     "user1.bin  Systemfile\n"
                     "Send file <work>/Firmware-Binaries/ftpserv.bin\n"
                     "Removing files STEP2\nDIAG.BIN  Systemfile\nModul.CFG  Systemfile\n"
                     "boot.bin  Systemfile\nftpserv.bin  Delete\nlogs  Systemfile\n"
                     "user1.bin  Systemfile\n"
                     "Reset\nWaiting for X740 \nConnecting to X740 FTP-Server   STEP 2\n"
                     "Send file <work>/Firmware-Binaries/ftpserv.bin\n"
                     "Send file <work>/Firmware-Binaries/boot.bin\n"
                     "Creating firmware files   STEP 1\nDeleting DIAG.BIN\n"
                     "Delete FTPfile DIAG.BIN\nSend file <work>/Firmware-Binaries/app.bin\n"
                     "Creating firmware files   STEP 2\nDeleting ftpserv.bnz\n"
                     "Delete FTPfile ftpserv.bnz\nSetting system configuration\n"
                     "Setting IP-Adress to 10.20.30.40\nReset\n");
    EXPECT_TRUE(Has(console, Row("Waiting for X740 (turn power on now) V>=2 ")));
    EXPECT_TRUE(Has(console, "Removing files STEP1\nModul.CFG      Systemfile\n"));
    EXPECT_TRUE(Has(console, "old.bin        Delete\n  OK\n"));
    EXPECT_TRUE(Has(console, "ftpserv.bin    Delete\nlogs"));
    EXPECT_TRUE(Has(console, Row("Creating firmware files   STEP 2") +
                                 Row("Deleting ftpserv.bnz") +
                                 Row("Setting system configuration") +
                                 Row("Setting IP-Adress to 10.20.30.40") + Row("Reset")));

    // app.bin "2.2" with BNZ: only the second step, as root; the packed files replace the
    // server; the module information is read over the line before the system configuration.
    MakeZip(ftpserv, Firmware("APPLICATION", "KVN", "2.2"));
    ServerHolds({{"ftpserv.bin", "old server"}, {"app.bin", "old app"}});
    Firmware2(BootPrompt::Mode);
    Run(With({"-F:fw.zip", "-BNZ"}));
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Commands(), (std::vector<std::string>{kMode1, kMode2}));
    EXPECT_EQ(Transcript(), "USER update\nPASS vorpal\nTYPE I\nPORT\nSTOR ftpserv.bin\n"
                            "USER root\nPASS +3861597024\nTYPE I\n"
                            "PORT\nSTOR ftpserv.bnz\nDELE ftpserv.bin\nPORT\nSTOR boot.bin\n"
                            "PORT\nSTOR app.bnz\nquit\n");
    EXPECT_EQ(ServerFiles(), (std::map<std::string, std::string>{
                                 {"ftpserv.bnz", "packed ftp server"},
                                 {"boot.bin", "boot loader"},
                                 {"app.bin", "old app"},
                                 {"app.bnz", "packed application"}}));
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{49, 49}));
    EXPECT_FALSE(Has(Log(), "STEP1"));
    EXPECT_TRUE(Has(Log(), "Deleting ftpserv.bin\nDelete FTPfile ftpserv.bin\n"
                           "Send file <work>/Firmware-Binaries/boot.bin\n"
                           "Send file <work>/Firmware-Binaries/app.bnz\n"
                           "Opening Port COM1: \nSetting system configuration\nReset\n"));
    EXPECT_EQ(services.record(RecordKind::SystemConfig).text("serial"), "SN400123");
    EXPECT_FALSE(flash::ModulConfigFileExists());

    // "2.2" after an "AT" prompt, and "2.10" (a number below 2.2): both steps.
    for (const char* version : {"2.2", "2.10"}) {
        MakeZip(ftpserv, Firmware("APPLICATION", "KVN", version));
        ServerHolds({});
        Firmware2(std::strcmp(version, "2.2") == 0 ? BootPrompt::AtMode : BootPrompt::Mode);
        Run(With({"-F:fw.zip"}));
        EXPECT_EQ(Message(), "") << version;
        EXPECT_TRUE(Has(Log(), "Removing files STEP1\n")) << version;
        EXPECT_EQ(Order(), (std::vector<std::uint8_t>{49, 93, 93, 49})) << version;
        EXPECT_EQ(ServerFiles().count("app.img"), 1u) << version;
    }

    // No FTP server at all: the connects of step 1 are bounded (a second apart), the
    // controller stays untouched.
    StartServer({});
    MakeZip(ftpserv, Firmware("APPLICATION", "KVN", "2.1"));
    Firmware2(BootPrompt::Mode);
    Run(With({"-F:fw.zip"}));
    EXPECT_EQ(Message(), "No FTP connection possible\n");
    EXPECT_EQ(std::count(clock.m_Sleeps.begin(), clock.m_Sleeps.end(), 1000),
              flash::kFtpConnectAttempts - 1);
    EXPECT_TRUE(Has(console, Row("Connecting to X740 FTP-Server   STEP 1", " -> Error\n")));
    EXPECT_TRUE(Order().empty());
    // The configuration read before stays for the next run.
    EXPECT_TRUE(flash::ModulConfigFileExists());
}

TEST_F(ProcedureTest, OlderFirmwareGetsTheAutomaticUpdate) {
    if (Outside()) {
        return;
    }
    // "1.05" answering "DONG": the six images, then the controller restarts when the session
    // ends; NVRAM cleared, the configuration read first written back, IPD set after a reset.
    MakeZip("FTP SERVER", "APPLICATION");
    ServerHolds({{"user3.bin", "3"}, {"user4.bin", "4"}});
    x740sim::applyFirmware(station, "1.05");
    PowerOn(BootPrompt::Dong);
    Run(With({"-F:fw.zip", "-IPD:10.20.30.40"}), "Y", 1);
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Commands(), (std::vector<std::string>{"BRIDGE IS AVAILABLE!", "BRIDGE IS AVAILABLE!",
                                                    "BRIDGE IS AVAILABLE!"}));
    EXPECT_EQ(Transcript(), "USER kvn\nPASS qmx\nTYPE I\nPORT\nLIST\n"
                            "PORT\nSTOR startup.bin\nPORT\nSTOR rom.bin\nPORT\nSTOR user1.bin\n"
                            "PORT\nSTOR user2.bin\nPORT\nSTOR user3.bin\nPORT\nSTOR user4.bin\n"
                            "quit\n");
    for (const char* image :
         {"startup.bin", "rom.bin", "user1.bin", "user2.bin", "user3.bin", "user4.bin"}) {
        EXPECT_EQ(ServerFiles()[image], std::string("image ") + image);
    }
    // FTP start, NVRAM clear, the reset before IPD and the last one.
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{48, 43, 49, 49}));
    EXPECT_EQ(ConfigText("serial"), "SN400123");
    EXPECT_EQ(ConfigText("ip"), "10.20.30.40");
    EXPECT_EQ(ConfigText("gateway"), "10.0.0.254");
    EXPECT_FALSE(flash::ModulConfigFileExists());
    EXPECT_EQ(Log(), "Creating data files\nOpening Port COM1: \nWaiting for X740 \n V<2 \n"
                     "Opening Port COM1: \nChecking firmware version\n"
                     "Firmware:X740 FIRMWARE\nDate:22.09.2003\nVersion:1.05\n"
                     "Reading modul-configuration\nSerialnumber: SN400123\n"
                     "IP_Address: 10.1.2.3\nIP_Gateway: 10.0.0.254\nUseDHCP: 1\n"
                     "Setting IP-Adress to 127.0.0.1\nStarting FTP\n"
                     "Connecting to X740 FTP-Server\nChecking files\nuser3.bin ok\nuser4.bin ok\n"
                     "Checking ZIP-file\nChecking startup.bin\nChecking rom.bin\n"
                     "Checking user1.bin\nChecking user2.bin\nChecking user3.bin\n"
                     "Checking user4.bin\nSend file <work>/Firmware-Images/startup.bin\n"
                     "Send file <work>/Firmware-Images/rom.bin\n"
                     "Send file <work>/Firmware-Images/user1.bin\n"
                     "Send file <work>/Firmware-Images/user2.bin\n"
                     "Send file <work>/Firmware-Images/user3.bin\n"
                     "Send file <work>/Firmware-Images/user4.bin\n"
                     "Opening Port COM1: \nReset\nDeleting NVRAM\nSending modul-configuration\n"
                     "Reset\nSetting IP-Adress to 10.20.30.40\nReset\n");
    EXPECT_TRUE(Has(console, "Waiting for X740 (turn power on now) V<2 \n" + Row("Opening Port COM1: .") +
                                 Row("Checking firmware version")));
    EXPECT_TRUE(Has(console, Row("Checking files") + Row("Checking ZIP-file") +
                                 "Sending file startup.bin \n" + Row("")));
    EXPECT_TRUE(Has(console, Row("Opening Port COM1: ") + Row("Reset") + Row("..") +
                                 Row("Deleting NVRAM") + Row("Sending modul-configuration") +
                                 Row("Reset") + Row(".") + Row("Setting IP-Adress to 10.20.30.40") +
                                 Row("Reset")));

    // FU with "1.05": the new startup.bin first (steps 100 to 140), then the same update.
    ServerHolds({{"user3.bin", "3"}, {"user4.bin", "4"}});
    PowerOn(BootPrompt::Dong);
    Run(With({"-F:fw.zip", "-FU"}), "Y", 2);
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(ServerFiles()["startup.bin"], "image startup.bin");
    EXPECT_TRUE(Has(Transcript(), "USER kvn\nPASS qmx\nTYPE I\nPORT\nSTOR startup.bin\nquit\n"
                                  "USER kvn\nPASS qmx\nTYPE I\nPORT\nLIST\n"));
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{48, 48, 43, 49}));
    EXPECT_TRUE(Has(Log(), "Setting IP-Adress to 127.0.0.1\nStarting FTP\n"
                           "Connecting to X740 FTP-Server\n"
                           "Send file <work>/Firmware-Update/startup.bin\nWaiting for X740  \n"
                           "Reading modul-configuration\n"));

    // NB: no boot loader at the start; the older account logs in and the checks are left out.
    // The controller runs: the boot loader's window left to end.
    LeaveBootWindow();
    ServerHolds({});
    Run(With({"-F:fw.zip", "-NB"}), "Y", 1);
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Commands(), std::vector<std::string>{"BRIDGE IS AVAILABLE!"});
    EXPECT_TRUE(Has(Transcript(), "USER kvn\nPASS qmx\nTYPE I\nPORT\nSTOR startup.bin\n"));
    EXPECT_EQ(ServerFiles().size(), 6u);
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{48, 43, 49}));
    EXPECT_TRUE(Has(Log(), "Creating data files\nOpening Port COM1: \nChecking firmware version\n"));
    EXPECT_TRUE(Has(Log(), "Connecting to X740 FTP-Server\nSend file "));
    EXPECT_TRUE(Has(console, Row("Creating data files") + "\n" + Row("Opening Port COM1: .")));

    // user4.bin missing on the controller: no automatic update; the configuration read at
    // the start is kept for the next run.
    ServerHolds({{"user3.bin", "3"}});
    PowerOn(BootPrompt::Dong);
    Run(With({"-F:fw.zip"}));
    EXPECT_EQ(Message(), "No automatic update possible");
    EXPECT_TRUE(Has(console, Row("Checking files", " -> Error\n") +
                                 "user3.bin or user4.bin not found\n"));
    EXPECT_TRUE(Has(Log(), "Checking files\nuser3.bin ok\n"));
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{48}));
    EXPECT_TRUE(flash::ModulConfigFileExists());
    std::remove(flash::kModulConfigFile);

    // An image missing in the ZIP: found missing in the work folder, nothing sent.
    MakeZip("FTP SERVER", "APPLICATION", {"user2.bin"});
    ServerHolds({{"user3.bin", "3"}, {"user4.bin", "4"}});
    PowerOn(BootPrompt::Dong);
    Run(With({"-F:fw.zip"}));
    EXPECT_EQ(Message(), "File does not exits in ZIP-File : user2.bin");
    EXPECT_TRUE(Has(Log(), "Checking ZIP-file\nChecking startup.bin\nChecking rom.bin\n"
                           "Checking user1.bin\nChecking user2.bin\n"
                           "File does not exits in ZIP-File : user2.bin\n"));
    EXPECT_FALSE(Has(Transcript(), "STOR"));
    std::remove(flash::kModulConfigFile);

    // The controller cannot give its configuration: the run ends with the export's error.
    services.setDeviceError(90, x740sim::kErrNoSuchEntry);
    PowerOn(BootPrompt::Dong);
    Run(With({"-F:fw.zip"}));
    EXPECT_EQ(Message().rfind("A_X740_ReadModulConfig 0x", 0), 0u) << Message();
    EXPECT_TRUE(Order().empty());
    services.clearShaping();

    // "1.02" takes the file update of steps 100 to 140 without FU.
    MakeZip("FTP SERVER", "APPLICATION");
    ServerHolds({{"user3.bin", "3"}, {"user4.bin", "4"}});
    x740sim::applyFirmware(station, "1.02");
    PowerOn(BootPrompt::Dong);
    Run(With({"-F:fw.zip"}), "Y", 2);
    EXPECT_EQ(Message(), "");
    EXPECT_TRUE(Has(Log(), "Version:1.02\nSetting IP-Adress to 127.0.0.1\nStarting FTP\n"
                           "Connecting to X740 FTP-Server\n"
                           "Send file <work>/Firmware-Update/startup.bin\n"));
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{48, 48, 43, 49}));
}

TEST_F(ProcedureTest, ListedAndPackedFilesAndTheirFailures) {
    if (Outside()) {
        return;
    }
    // No ZIP, firmware 2: the list file's lines (folders and case as written, CR left out),
    // then the bare files, each under its own name.
    std::filesystem::create_directories(folder.path() + "/Sub");
    ftptest::WriteWholeFile(folder.path() + "/Sub/One.bin", "one");
    ftptest::WriteWholeFile(folder.path() + "/two.bin", "two");
    ftptest::WriteWholeFile(folder.path() + "/Extra.TXT", "extra");
    ftptest::WriteWholeFile(folder.path() + "/list.txt", "sub\\one.BIN\r\nTWO.BIN\r\n\r\n");
    ServerHolds({});
    Firmware2(BootPrompt::Mode);
    Run(With({"-FL:LIST.TXT", "extra.txt", "-IPD:10.20.30.40"}));
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Commands(), std::vector<std::string>{kMode1});
    EXPECT_EQ(Transcript(), "USER update\nPASS vorpal\nTYPE I\nPORT\nSTOR one.BIN\n"
                            "PORT\nSTOR TWO.BIN\nPORT\nSTOR extra.txt\nquit\n");
    EXPECT_EQ(ServerFiles(), (std::map<std::string, std::string>{
                                 {"one.BIN", "one"}, {"TWO.BIN", "two"}, {"extra.txt", "extra"}}));
    EXPECT_EQ(Order(), std::vector<std::uint8_t>{49});
    EXPECT_EQ(ConfigText("ip"), "10.20.30.40");
    EXPECT_EQ(Log(), "Opening Port COM1: \nWaiting for X740 \nV>=2\n"
                     "Connecting to X740 FTP-Server\nSend file sub\\one.BIN\nSend file TWO.BIN\n"
                     "Send file extra.txt\nOpening Port COM1: \n"
                     "Setting IP-Adress to 10.20.30.40\nReset\n");

    // The list file missing: the session ends, no reset.
    Firmware2(BootPrompt::Mode);
    Run(With({"-FL:missing.lst"}));
    EXPECT_EQ(Message(), "Open file missing.lst\n");
    EXPECT_EQ(Transcript(), "USER update\nPASS vorpal\nTYPE I\nquit\n");
    EXPECT_TRUE(Order().empty());

    // A listed file missing: the list stops there and the controller is not reset.
    ftptest::WriteWholeFile(folder.path() + "/list.txt", "two.bin\nnothere.bin\nsub/one.bin\n");
    Firmware2(BootPrompt::Mode);
    Run(With({"-FL:list.txt"}));
    EXPECT_EQ(Message(), "Error sending file nothere.bin");
    EXPECT_TRUE(Has(console, "Error file open\n"));
    EXPECT_FALSE(Has(Transcript(), "one.bin"));
    EXPECT_TRUE(Order().empty());

    // The server refuses the upload (a folder of that name).
    ServerHolds({{"two.bin/", ""}});
    Firmware2(BootPrompt::Mode);
    Run(With({"-FL:list.txt"}));
    EXPECT_EQ(Message(), "Error sending file two.bin");
    EXPECT_TRUE(Has(Transcript(), "STOR two.bin\n"));
    EXPECT_TRUE(Order().empty());

    // Packed install with IPD and a stored configuration: a key that is no answer asks again,
    // Y sends it and the file goes.
    MakeZip("FTP SERVER", "APPLICATION");
    ServerHolds({{"app.bnz", "old packed"}, {"ftpserv.bnz", "old packed server"}});
    ASSERT_TRUE(flash::WriteModulConfigFile({"SAVED1", "10.5.5.5", "255.255.0.0", "10.5.0.1", 0}));
    Firmware2(BootPrompt::Mode);
    Run(With({"-F:fw.zip", "-FTP", "-IPD:10.20.30.40"}), "YxY");
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Transcript(), "USER update\nPASS vorpal\nTYPE I\nPORT\nSTOR app.bin\nDELE app.bnz\n"
                            "PORT\nSTOR ftpserv.bin\nDELE ftpserv.bnz\nquit\n");
    EXPECT_EQ(ServerFiles(), (std::map<std::string, std::string>{
                                 {"app.bin", "APPLICATION"}, {"ftpserv.bin", "FTP SERVER"}}));
    EXPECT_TRUE(Has(Log(), "Opening Port COM1: \nUse last configuration (Y/N)?\nN\n"
                           "Use last configuration (Y/N)?\nY\n"
                           "Setting IP-Adress to 10.20.30.40\nReset\n"));
    EXPECT_EQ(ConfigText("serial"), "SAVED1");
    EXPECT_EQ(ConfigText("ip"), "10.20.30.40");
    EXPECT_EQ(ConfigText("mask"), "255.255.0.0");
    EXPECT_FALSE(flash::ModulConfigFileExists());
    // The session's end takes the reset's place.
    EXPECT_TRUE(Order().empty());

    // The end of input answers no: the configuration is neither sent nor deleted.
    ASSERT_TRUE(flash::WriteModulConfigFile({"SAVED2", "10.6.6.6", "255.0.0.0", "10.0.0.1", 0}));
    Firmware2(BootPrompt::Mode);
    Run(With({"-F:fw.zip", "-IPD:10.20.30.41"}), "Y");
    EXPECT_EQ(Message(), "");
    EXPECT_TRUE(Has(Log(), "Use last configuration (Y/N)?\nN\nSetting IP-Adress to 10.20.30.41\n"));
    EXPECT_EQ(ConfigText("serial"), "SAVED1");
    EXPECT_TRUE(flash::ModulConfigFileExists());

    // Login refused (530): nothing sent, the controller left in its FTP mode.
    StartServer({{"update", "other"}});
    Firmware2(BootPrompt::Mode);
    Run(With({"-F:fw.zip"}));
    EXPECT_EQ(Message(), "No FTP connection possible\n");
    EXPECT_EQ(Transcript(), "USER update\nPASS vorpal\n");
    EXPECT_TRUE(Has(console, Row("Connecting to X740 FTP-Server", " -> Error\n")));
    // No server for the list: its own message.
    StartServer({});
    Firmware2(BootPrompt::Mode);
    Run(With({"-FL:list.txt"}));
    EXPECT_EQ(Message(), "No Connection possible");
    EXPECT_TRUE(Order().empty());
}

TEST_F(ProcedureTest, PlainFirmwareFileOverTheLineAndTheNetwork) {
    if (Outside()) {
        return;
    }
    // Over the line, "DONG": the list sent in a session of its own as kvn; a name ending in
    // rom.bin goes as ROM.BIN; IPD after a reopen; the session's end stands for the reset.
    ftptest::WriteWholeFile(folder.path() + "/my_rom.bin", "rom image");
    ftptest::WriteWholeFile(folder.path() + "/two.bin", "two");
    x740sim::applyFirmware(station, "1.05");
    PowerOn(BootPrompt::Dong);
    Run(With({"-F:My_Rom.Bin", "two.bin", "-IPD:10.20.30.40"}));
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Commands(), std::vector<std::string>{"BRIDGE IS AVAILABLE!"});
    EXPECT_EQ(Transcript(), "USER kvn\nPASS qmx\nTYPE I\nPORT\nSTOR two.bin\n"
                            "PORT\nSTOR ROM.BIN\nquit\n");
    EXPECT_EQ(ServerFiles()["ROM.BIN"], "rom image");
    // The ROM image's send is confirmed once more after its own " -> OK".
    EXPECT_TRUE(Has(console, "Sending file two.bin \n" + Row("") + "Sending file ROM.BIN \n" +
                                 Row("") + Row("")))
        << console;
    EXPECT_EQ(Order(), std::vector<std::uint8_t>{48});
    EXPECT_EQ(ConfigText("ip"), "10.20.30.40");
    EXPECT_EQ(Log(), "Opening Port COM1: \nWaiting for X740 \n V<2 \nOpening Port COM1: \n"
                     "Setting IP-Adress to 127.0.0.1\nStarting FTP\nSend file two.bin\n"
                     "Send file My_Rom.Bin\nSetting IP-Adress to 10.20.30.40\nReset\n");

    // Firmware 2 answering: refused unless NOVER, which writes MODE 1 and logs in as update.
    x740sim::applyFirmware(station, "2.1");
    PowerOn(BootPrompt::Mode);
    Run(With({"-F:my_rom.bin"}));
    EXPECT_EQ(Message(), "Wrong firmware version. Must be < 2.0");
    EXPECT_TRUE(Commands().empty());
    PowerOn(BootPrompt::Mode);
    Run(With({"-F:my_rom.bin", "-NOVER"}));
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Commands(), std::vector<std::string>{kMode1});
    EXPECT_TRUE(Has(Transcript(), "USER update\nPASS vorpal\n"));
    EXPECT_TRUE(Has(Log(), " V>2 \n"));

    // Over the network (no COM port): the version read at 32000, the FTP start waits for the
    // echo, IPD after the session, the reset over the network.
    x740sim::applyFirmware(station, "1.05");
    ServerHolds({});
    Run({"-IPC:127.0.0.1", "-F:my_rom.bin", "-IPD:10.20.30.40"});
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Transcript(), "USER kvn\nPASS qmx\nTYPE I\nPORT\nSTOR ROM.BIN\nquit\n");
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{48, 49}));
    EXPECT_EQ(ConfigText("ip"), "10.20.30.40");
    EXPECT_EQ(Log(), "Connecting to: 127.0.0.1 \nChecking firmware version\n"
                     "Firmware:X740 FIRMWARE\nDate:22.09.2003\nVersion:1.05\nStarting FTP\n"
                     "Send file my_rom.bin\nExiting FTP\nWaiting for X740 \n"
                     "Connecting to: 127.0.0.1 \nSetting IP-Adress to 10.20.30.40\nReset\n");
    EXPECT_EQ(Count("openNet"), 2);
    // Without IPD the session's end stands for the reset.
    Run({"-IPC:127.0.0.1", "-F:my_rom.bin"});
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Order(), std::vector<std::uint8_t>{48});
    // Firmware 2 over the network is refused.
    x740sim::applyFirmware(station, "2.1");
    Run({"-IPC:127.0.0.1", "-F:my_rom.bin"});
    EXPECT_EQ(Message(), "Wrong firmware version. Must be < 2.0");
    EXPECT_TRUE(Order().empty());
}

TEST_F(ProcedureTest, RefusedRequestsEndTheInstallsWithTheirMessages) {
    if (Outside()) {
        return;
    }
    const std::string ftpserv = Firmware("FTP SERVER", "KVN", "2.0");
    const auto startsWith = [](const std::string& text, const char* head) {
        return text.rfind(head, 0) == 0;
    };
    // The configuration read of step 15: three rounds, then the export's error; no reset.
    MakeZip(ftpserv, Firmware("APPLICATION", "KVN", "2.1"));
    services.setDeviceError(90, x740sim::kErrNoSuchEntry);
    Firmware2(BootPrompt::Mode);
    Run(With({"-F:fw.zip"}));
    EXPECT_TRUE(startsWith(Message(), "A_X740_ReadModulConfig 0x")) << Message();
    EXPECT_EQ(services.requests(90, x740sim::kDirRead), flash::kRestartReadRounds);
    EXPECT_TRUE(Order().empty());
    services.clearShaping();

    // The update start refused: its export's name and error, after the reset of step 50.
    services.setDeviceError(93, x740sim::kErrNoSuchEntry);
    Firmware2(BootPrompt::Mode);
    Run(With({"-F:fw.zip"}));
    EXPECT_TRUE(startsWith(Message(), "A_X740_StartFirmwareUpdate 0x")) << Message();
    EXPECT_TRUE(Has(console, Row("Creating firmware files   STEP 1", " -> Error\n")));
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{49, 93}));
    services.clearShaping();

    // The system configuration refused: step 1 names the export, step 2 has its own text; the
    // configuration read before stays for the next run.
    services.setDeviceError(92, x740sim::kErrNoSuchEntry);
    std::remove(flash::kModulConfigFile);
    Firmware2(BootPrompt::Mode);
    Run(With({"-F:fw.zip"}));
    EXPECT_TRUE(startsWith(Message(), "A_X740_ReadSystemConfig 0x")) << Message();
    EXPECT_EQ(Order(), (std::vector<std::uint8_t>{49, 93, 93}));
    EXPECT_TRUE(flash::ModulConfigFileExists());
    std::remove(flash::kModulConfigFile);
    MakeZip(ftpserv, Firmware("APPLICATION", "KVN", "2.2"));
    Firmware2(BootPrompt::Mode);
    Run(With({"-F:fw.zip"}));
    EXPECT_EQ(Message(), "Error reading system-configuration");
    EXPECT_EQ(Order(), std::vector<std::uint8_t>{49});
    services.clearShaping();

    // Packed install: the stored configuration cannot be written; the file stays.
    MakeZip("FTP SERVER", "APPLICATION");
    ASSERT_TRUE(flash::WriteModulConfigFile({"SAVED3", "10.7.7.7", "255.0.0.0", "10.0.0.1", 0}));
    services.setDeviceError(91, x740sim::kErrNoSuchEntry);
    Firmware2(BootPrompt::Mode);
    Run(With({"-F:fw.zip", "-IPD:10.20.30.40"}), "YY");
    EXPECT_EQ(Message(), "Can not send configuration");
    EXPECT_TRUE(flash::ModulConfigFileExists());
    EXPECT_FALSE(Has(Log(), "Setting IP-Adress"));
}

TEST_F(ProcedureTest, PackedInstallThroughTheProgram) {
    if (Outside()) {
        return;
    }
    if (!InOwnNetworkNamespace()) {
        GTEST_SKIP() << "the program reaches the FTP server at port 21 only, which needs a "
                        "network namespace of the test's own";
    }
#ifndef MV_QUICK_SLEEP
    GTEST_SKIP() << "X740Flash is not part of this build";
#else
    MakeZip(Firmware("FTP SERVER", "XXX", "2.0"), "APPLICATION");
    ServerHolds({{"app.bnz", "old packed"}, {"keep.txt", "kept"}});
    Firmware2(BootPrompt::Mode);
    ftptest::WriteWholeFile(m_FtpOptions.transcript, "");
    const char* asan = std::getenv("ASAN_OPTIONS");
    ProgramOptions options;
    options.folder = folder.path();
    options.input = "YY";
    options.env = {{"LD_PRELOAD", MV_QUICK_SLEEP},
                   {"ASAN_OPTIONS", std::string(asan ? asan : "") + ":verify_asan_link_order=0"}};
    const ProgramRun run = RunProgram(
        mvtest::ProgramDir() + "/X740Flash",
        {"-COM:1", "-IPC:127.0.0.1", "-SNC:255.0.0.0", "-GWC:127.0.0.254", "-F:fw.zip"}, options);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    AwaitPeer([this] { return !boot.commands().empty(); });
    EXPECT_EQ(boot.commands(), std::vector<std::string>{kMode1});
    EXPECT_EQ(Transcript(), "USER update\nPASS vorpal\nTYPE I\nPORT\nSTOR app.bin\nDELE app.bnz\n"
                            "quit\n");
    EXPECT_EQ(ServerFiles(), (std::map<std::string, std::string>{{"app.bin", "APPLICATION"},
                                                                 {"keep.txt", "kept"}}));
    EXPECT_TRUE(Order().empty());
    EXPECT_TRUE(Has(run.output, Row("Creating data files") + Row("Opening Port COM1: ") +
                                    Row("Waiting for X740 (turn power on now) V>=2 ") +
                                    Row("Connecting to X740 FTP-Server") +
                                    "Sending file app.bin \n" + Row("") + Row("") +
                                    Row("Reset") + "\nReady\n Press any key\n"))
        << run.output;
    EXPECT_EQ(Log(), "Creating data files\nOpening Port COM1: \nWaiting for X740 \nV>=2\n"
                     "Connecting to X740 FTP-Server\n"
                     "Send file <work>/Firmware-Binaries/app.bin\nDelete FTPfile app.bnz\n"
                     "Reset\n");
    EXPECT_FALSE(Has(run.output, "Error"));
#endif
}

} // namespace
} // namespace flashtest
