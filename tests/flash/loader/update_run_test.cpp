// The update procedures against the simulated controller (pseudo-terminal and loopback TCP on
// free ports) and a real FTP server (pyftpdlib on a free loopback port); the echo is answered
// by a stand-in, as ICMP needs rights the test process may not have.
#include "flash/loader/check_run.h"
#include "flash/loader/echo_probe.h"
#include "flash/loader/firmware_trailer.h"
#include "flash/loader/ping.h"
#include "tests/flash/loader/loader_fixture.h"
#include "tests/ftp/ftp_peer.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace flashtest {
namespace {

// A file of the given bytes with a 128-byte trailer: mark and version text at 60.
std::string WithTrailer(const std::string& body, const char* mark, const char* version) {
    std::string trailer(flash::kTrailerSize, '\0');
    std::memcpy(trailer.data(), mark, std::strlen(mark));
    std::memcpy(trailer.data() + flash::kTrailerVersionOffset, version, std::strlen(version));
    return body + trailer;
}

class UpdateRunTest : public LoaderTest {
protected:
    void SetUp() override {
        LoaderTest::SetUp();
        app.m_Echo = std::make_unique<AnsweringProbe>();
        app.m_ComPort = 1;
        app.m_Ipc = "127.0.0.1";
        app.m_Snc = "255.0.0.0";
        app.m_Gwc = "127.0.0.254";
        opts.users = {{"update", "vorpal"}, {"kvn", "qmx"}, {"root", "+3861597024"}};
        opts.root = server.Path();
        opts.transcript = folder.path() + "/transcript.txt";
    }
    // Writes the firmware ZIP from a folder of its files (python's zipfile).
    void MakeZip(const std::string& name, const std::string& ftpserv, const std::string& app) {
        const std::string src = folder.path() + "/src";
        for (const char* sub : {"Firmware-Images", "Firmware-Binaries", "Firmware-Update"}) {
            std::filesystem::create_directories(src + "/" + sub);
        }
        ftptest::WriteWholeFile(src + "/Firmware-Binaries/ftpserv.bin", ftpserv);
        ftptest::WriteWholeFile(src + "/Firmware-Binaries/app.bin", app);
        ftptest::WriteWholeFile(src + "/Firmware-Binaries/boot.bin", "BOOT");
        ftptest::WriteWholeFile(src + "/Firmware-Update/startup.bin", "START");
        const std::string cmd = "cd '" + src + "' && /usr/bin/python3 -c \"import zipfile,os,sys\n"
                                "z=zipfile.ZipFile(sys.argv[1],'w')\n"
                                "[z.write(os.path.join(d,f)) for d,_,fs in os.walk('.') for f in fs]\n"
                                "z.close()\" '" +
                                folder.path() + "/" + name + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }

    ftptest::TempFolder server;
    ftptest::PyFtpdOptions opts;
};

TEST_F(UpdateRunTest, PackedInstallSendsTheAppAndEndsTheSession) {
    ftptest::WriteWholeFile(server.Path() + "/app.bnz", "old packed app");
    ftptest::PyFtpd ftpd(opts);
    ASSERT_TRUE(ftpd.Running()) << ftpd.Error();
    app.m_FtpPort = ftpd.Port();
    const std::string appBin = WithTrailer("APPLICATION", "KVN", "2.10");
    MakeZip("fw.zip", WithTrailer("FTPSERVER", "XXX", "1.0"), appBin);
    ftptest::WriteWholeFile(folder.path() + "/Extra.TXT", "extra file");
    app.m_FileList = {"extra.txt"};
    app.m_FirmwareZip = "FW.ZIP";
    PowerOn(x740sim::BootPrompt::Mode);

    app.UpdateProcedure();
    EXPECT_EQ(app.m_Message, "");
    EXPECT_EQ(ftptest::ReadWholeFile(server.Path() + "/app.bin"), appBin);
    EXPECT_EQ(ftptest::ReadWholeFile(server.Path() + "/extra.txt"), "extra file");
    EXPECT_FALSE(std::filesystem::exists(server.Path() + "/app.bnz"));
    const std::vector<std::string> commands = boot.commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), "MODE 1 IP=127.0.0.1/255.0.0.0/127.0.0.254 FTP=COMP2");
    const std::string transcript = ftptest::ReadWholeFile(opts.transcript);
    EXPECT_NE(transcript.find("USER update\nPASS vorpal\nTYPE I\n"), std::string::npos);
    EXPECT_NE(transcript.find("STOR extra.txt\n"), std::string::npos);
    EXPECT_NE(transcript.find("STOR app.bin\n"), std::string::npos);
    EXPECT_NE(transcript.find("DELE app.bnz\n"), std::string::npos);
    EXPECT_NE(transcript.find("quit\n"), std::string::npos);
    EXPECT_NE(console.find(" V>=2 "), std::string::npos);
    EXPECT_NE(console.find("Sending file app.bin \n"), std::string::npos);
    EXPECT_NE(LogBody().find("Send file extra.txt\n"), std::string::npos);
    // The boot command starts the FTP server and the session's quit takes the reset's place:
    // none of the FTP start, reset, update start or NVRAM clear requests is sent, and the
    // module configuration stays.
    EXPECT_EQ(Count("x740ResetModul"), 0);
    EXPECT_EQ(services.serviceOrder(), std::vector<std::uint8_t>{});
    EXPECT_TRUE(services.hasRecord(x740sim::RecordKind::ModulConfig));
}

TEST_F(UpdateRunTest, FailuresEndTheRunWithTheirMessage) {
    // A damaged archive.
    ftptest::WriteWholeFile(folder.path() + "/bad.zip", "PK no archive at all");
    app.m_FirmwareZip = "bad.zip";
    app.UpdateProcedure();
    EXPECT_EQ(app.m_Message, "Open of file failed : end of central directory not found");
    EXPECT_NE(console.find(Row("Creating data files", " -> Error\n")), std::string::npos);

    // Hostile entries: the run ends before the controller is touched, and nothing lands
    // beside the work folder or anywhere else.
    const std::string tmp = folder.path() + "/tmproot";
    std::filesystem::create_directories(tmp);
    const char* previousTmp = std::getenv("TMPDIR");
    const std::string savedTmp = previousTmp ? previousTmp : "";
    ::setenv("TMPDIR", tmp.c_str(), 1);
    for (const char* entry : {"../evil.txt", "Firmware-Images/../../evil.txt", "/evil.txt"}) {
        const std::string cmd =
            "/usr/bin/python3 -c \"import zipfile,sys\n"
            "z=zipfile.ZipFile(sys.argv[1],'w')\n"
            "z.writestr('Firmware-Binaries/ftpserv.bin','SERVER')\n"
            "z.writestr(zipfile.ZipInfo(sys.argv[2]),'EVIL')\n"
            "z.close()\" '" + folder.path() + "/evil.zip' '" + entry + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        app.m_FirmwareZip = "evil.zip";
        app.m_Message.clear();
        console.clear();
        app.UpdateProcedure();
        EXPECT_EQ(app.m_Message, "Error crating data : unsafe entry name \"" + std::string(entry) + "\"")
            << entry;
        EXPECT_EQ(console, Row("Creating data files", " -> Error\n")) << entry;
        for (const std::string& dir : {tmp, folder.path(), std::string("/")}) {
            EXPECT_FALSE(std::filesystem::exists(dir + "/evil.txt")) << entry << " " << dir;
        }
        app.ClearTmpFolder();
        EXPECT_TRUE(std::filesystem::is_empty(tmp)) << entry;
    }
    if (previousTmp) {
        ::setenv("TMPDIR", savedTmp.c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
    EXPECT_EQ(Count("openCom"), 0);

    // Refused login: the packed install ends before any file.
    opts.users = {{"update", "other"}};
    ftptest::PyFtpd ftpd(opts);
    ASSERT_TRUE(ftpd.Running()) << ftpd.Error();
    app.m_FtpPort = ftpd.Port();
    MakeZip("fw.zip", "FTPSERVER", "APP");
    app.m_FirmwareZip = "fw.zip";
    PowerOn(x740sim::BootPrompt::Mode);
    app.UpdateProcedure();
    EXPECT_EQ(app.m_Message, "No FTP connection possible\n");

    // A missing list file ends the list send with a failure, not with success.
    app.m_FtpPassword = "other";
    app.m_ListFile = "missing.lst";
    app.m_Message.clear();
    app.m_FtpUser = "update";
    EXPECT_EQ(app.SendFileList(1), 0);
    EXPECT_EQ(app.m_Message, "Open file missing.lst\n");
    // A failed send in the list stops the list with its path.
    app.m_ListFile.clear();
    app.m_FileList = {"nothere.bin"};
    EXPECT_EQ(app.SendFileList(1), 0);
    EXPECT_EQ(app.m_Message, "Error sending file nothere.bin");
    EXPECT_NE(console.find("Error file open\n"), std::string::npos);
}

TEST_F(UpdateRunTest, CheckOnTheConsoleListsTheController) {
    ftptest::WriteWholeFile(server.Path() + "/User3.BIN", "12345");
    ftptest::PyFtpd ftpd(opts);
    ASSERT_TRUE(ftpd.Running()) << ftpd.Error();
    app.m_FtpPort = ftpd.Port();
    flash::ModulConfig kept{"KEPT", "1.2.3.4", "255.0.0.0", "0.0.0.0", 0};
    ASSERT_TRUE(flash::WriteModulConfigFile(kept));
    app.m_Ipd = "127.0.0.1";
    app.m_Chk = 1;
    app.Dispatch();
    EXPECT_NE(console.find("Firmware\t"), std::string::npos) << console;
    EXPECT_NE(console.find("Serialnumber:\tSN400123\n"), std::string::npos) << console;
    EXPECT_NE(console.find("user3.bin\t5\n"), std::string::npos) << console;
    EXPECT_NE(console.find("END\nEND\n"), std::string::npos);
    // A configuration kept from a failed update stays.
    EXPECT_TRUE(flash::ModulConfigFileExists());
    // The Check starts the FTP server and nothing else of the four: no reset, no update start,
    // no NVRAM clear.
    AwaitPeer([this] { return !services.serviceOrder().empty(); });
    EXPECT_EQ(services.serviceOrder(), (std::vector<std::uint8_t>{48}));
    EXPECT_EQ(ConfigText("serial"), "SN400123");
    services.clearServiceOrder();

    // No controller on the port: the open error, then only END.
    console.clear();
    app.m_TcpPort = 1;
    app.Dispatch();
    EXPECT_NE(console.find("Connecting to: 127.0.0.1 \nOpen 0x"), std::string::npos) << console;
    EXPECT_NE(console.find("\nEND\nEND\n"), std::string::npos);
    EXPECT_TRUE(services.serviceOrder().empty());
}

TEST(FirmwareTrailer, MarkVersionAndShortFiles) {
    ScratchFolder folder;
    const std::string path = folder.path() + "/f.bin";
    flash::FirmwareTrailer t;
    ftptest::WriteWholeFile(path, WithTrailer(std::string(300, 'x'), "KVN", " 2.2 rest"));
    ASSERT_TRUE(flash::ReadFirmwareTrailer(path, t));
    EXPECT_TRUE(t.marked);
    EXPECT_DOUBLE_EQ(t.version, 2.2);
    ftptest::WriteWholeFile(path, WithTrailer("", "KVN", "2.10"));
    ASSERT_TRUE(flash::ReadFirmwareTrailer(path, t));
    EXPECT_LT(t.version, 2.2); // read as a number: "2.10" is below "2.2"
    ftptest::WriteWholeFile(path, "KVN short");
    ASSERT_TRUE(flash::ReadFirmwareTrailer(path, t));
    EXPECT_FALSE(t.marked);
    EXPECT_FALSE(flash::ReadFirmwareTrailer(folder.path() + "/none", t));
}

TEST(Ping, ChecksumVectorsAndTheMissingSocket) {
    // The example of RFC 1071: the sum of 0001 f203 f4f5 f6f7 is ddf2, its complement 220d.
    const std::uint8_t rfc[] = {0x00, 0x01, 0xf2, 0x03, 0xf4, 0xf5, 0xf6, 0xf7};
    const std::uint16_t sum = flash::CPing::Checksum(rfc, sizeof rfc);
    std::uint8_t stored[2];
    std::memcpy(stored, &sum, 2);
    EXPECT_EQ(stored[0], 0x22);
    EXPECT_EQ(stored[1], 0x0d);
    // An odd length: the last byte as the high byte of a word.
    const std::uint8_t odd[] = {0x00, 0x01, 0xf2};
    const std::uint16_t oddSum = flash::CPing::Checksum(odd, 3);
    std::memcpy(stored, &oddSum, 2);
    EXPECT_EQ(stored[0], 0x0d);
    EXPECT_EQ(stored[1], 0xfe);

    flash::CPing ping;
    ping.m_Socket = [](int, int, int) {
        errno = EPERM;
        return -1;
    };
    EXPECT_EQ(ping.Ping("127.0.0.1"), flash::CPing::kNoSocket);
    EXPECT_NE(ping.Failure().find("cap_net_raw"), std::string::npos);
    EXPECT_NE(ping.Failure().find("net.ipv4.ping_group_range"), std::string::npos);
    EXPECT_EQ(ping.Ping(""), flash::CPing::kBadHost);
}

TEST(Ping, LoopbackAnswersTheRequest) {
    flash::CPing ping;
    if (ping.Ping("127.0.0.1") != flash::CPing::kOk) {
        GTEST_SKIP() << "no ICMP socket here: " << ping.Failure();
    }
    EXPECT_EQ(ping.Poll(), flash::CPing::kAnswer);
    const std::uint8_t* packet = ping.Packet();
    EXPECT_EQ(packet[0], 8);
    EXPECT_EQ(packet[12], 0x45);
    EXPECT_EQ(packet[43], 0x45);
    EXPECT_EQ(flash::CPing::Checksum(packet, flash::CPing::kPacketSize), 0);
}

} // namespace
} // namespace flashtest
