// The loader's steps with stand-ins for the libraries: counted calls, failures, the echo and
// FTP seams, and the texts the run ends with.
#include "flash/loader/console_out.h"
#include "flash/loader/echo_probe.h"
#include "flash/loader/flash_app.h"
#include "flash/loader/key_input.h"
#include "flash/loader/loader_ftp.h"
#include "flash/loader/work_folder.h"
#include "platform/clock.h"
#include "tests/flash/loader/run_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Calls {
    int openCom = 0, x740ReadModulInfo = 0, writeConfig = 0, reset = 0, close = 0;
    std::vector<std::uint8_t> info;
    std::string writtenIp;
} g;

LinkHandle FailOpen(int, int) {
    ++g.openCom;
    return 0;
}
LinkHandle GoodOpen(int, int) {
    ++g.openCom;
    return 7;
}
void Close(LinkHandle) {
    ++g.close;
}
std::uint16_t LastError() {
    return 0x200;
}
std::uint16_t ReadInfo(LinkHandle, std::uint8_t* dest) {
    std::memcpy(dest, g.info.data(), g.info.size());
    return 1;
}
std::uint16_t X740ReadInfo(LinkHandle, char*, char*, char*) {
    ++g.x740ReadModulInfo;
    return 1;
}
std::uint16_t Purge(LinkHandle) {
    return 1;
}
std::uint16_t ReadConfig(LinkHandle, char* serial, char* ip, char* mask, char* gateway, int* dhcp) {
    std::strcpy(serial, "SN1");
    std::strcpy(ip, "1.2.3.4");
    std::strcpy(mask, "255.0.0.0");
    std::strcpy(gateway, "1.0.0.1");
    *dhcp = 1;
    return 1;
}
std::uint16_t WriteConfig(LinkHandle, const char*, const char* ip, const char*, const char*, int) {
    ++g.writeConfig;
    g.writtenIp = ip;
    return 1;
}
std::uint16_t Reset(LinkHandle) {
    ++g.reset;
    return 1;
}

class FakeEcho final : public flash::IEchoProbe {
public:
    std::vector<int> answers; // Poll results in order, then no answer
    std::string host;
    int Open(const std::string& h) override {
        host = h;
        return kOpened;
    }
    int Poll() override {
        if (answers.empty()) {
            return kNoAnswer;
        }
        const int r = answers.front();
        answers.erase(answers.begin());
        return r;
    }
};

class FakeFtp final : public flash::ILoaderFtp {
public:
    bool open = true;
    int quits = 0;
    bool IsOpen() const override { return open; }
    void Quit() override {
        ++quits;
        open = false;
    }
    void CloseSocket() override { open = false; }
    bool Connect(const std::string&, int, const std::string&, const std::string&) override {
        return false;
    }
    bool Put(const std::string&, const std::string&) override { return false; }
    bool Delete(const std::string&) override { return open; }
    bool List(std::vector<flash::LoaderFtpEntry>&) override { return false; }
};

class StepsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g = Calls{};
        // The steps log into the current folder: a scratch one.
        ASSERT_EQ(::getcwd(m_Cwd, sizeof m_Cwd), m_Cwd);
        ASSERT_EQ(::chdir(m_Folder.path().c_str()), 0);
        mv::setProcessClock(&clock);
        flash::ConsoleOut().CaptureTo(&console, false);
        flash::LoaderExports& e = app.m_Exports;
        e.openCom = &GoodOpen;
        e.close = &Close;
        e.getLastError = &LastError;
        e.readModulInfo = &ReadInfo;
        e.x740ReadModulInfo = &X740ReadInfo;
        e.purgeComm = &Purge;
        e.x740ReadModulConfig = &ReadConfig;
        e.x740WriteModulConfig = &WriteConfig;
        e.x740ResetModul = &Reset;
        app.m_Keys = &keys;
        app.m_ComPort = 1;
    }
    void TearDown() override {
        flash::ConsoleOut().CaptureTo(nullptr, false);
        mv::setProcessClock(nullptr);
        ASSERT_EQ(::chdir(m_Cwd), 0);
    }

    flashtest::ScratchFolder m_Folder;
    char m_Cwd[4096] = {};
    mv::FakeClock clock;
    flash::CScriptedKeys keys;
    std::string console;
    flash::CX740FlashApp app;
};

TEST_F(StepsTest, FailedReopenEndsAtOnce) {
    app.m_Exports.openCom = &FailOpen;
    EXPECT_EQ(app.ReopenAndReadModulInfo(), 0);
    EXPECT_EQ(app.m_Message, "Open 0x200\n");
    EXPECT_EQ(g.x740ReadModulInfo, 0);
    EXPECT_EQ(clock.slept(), 500);
    EXPECT_EQ(console, std::string(55, ' ') + " -> Error\n");
}

TEST_F(StepsTest, ModuleInformationTextsStayInsideTheRecord) {
    // Name and date terminated, the version runs to the record's end without a terminator.
    g.info.assign(255, 'v');
    const char head[] = "FW\0D1\0";
    std::memcpy(g.info.data(), head, sizeof head - 1);
    std::string version;
    ASSERT_EQ(app.PrintModulInfo(version), 1);
    EXPECT_EQ(version, std::string(252 - 6, 'v'));
    // A record with no terminator at all gives one text and two empty ones.
    g.info.assign(255, 'x');
    ASSERT_EQ(app.PrintModulInfo(version), 1);
    EXPECT_EQ(version, "");
}

TEST_F(StepsTest, OverlongIpTextsAreRefusedBeforeSending) {
    EXPECT_EQ(app.SetIpConfiguration("", "0010.0010.0012.6", "", ""), 0);
    EXPECT_EQ(app.m_Message, "IP text longer than 15 characters: 0010.0010.0012.6\n");
    EXPECT_EQ(app.WriteModulConfiguration({"SN1", "1.1.1.1", "255.255.255.0000", "1.1.1.0", 0}), 0);
    EXPECT_EQ(g.writeConfig, 0);
    // Fifteen characters go through.
    app.m_Message.clear();
    EXPECT_EQ(app.SetIpConfiguration("", "100.100.100.100", "", ""), 1);
    EXPECT_EQ(g.writtenIp, "100.100.100.100");
    EXPECT_EQ(app.m_Message, "");
}

TEST_F(StepsTest, EchoWaitAndItsFailures) {
    auto echo = std::make_unique<FakeEcho>();
    FakeEcho& probe = *echo;
    app.m_Echo = std::move(echo);
    probe.answers = {flash::IEchoProbe::kNoAnswer, flash::IEchoProbe::kNoAnswer,
                     flash::IEchoProbe::kAnswered};
    EXPECT_EQ(app.PingModul("127.0.0.1", 240), 1);
    EXPECT_EQ(console, "..");
    EXPECT_EQ(clock.slept(), 2000);
    EXPECT_EQ(probe.host, "127.0.0.1");

    console.clear();
    EXPECT_EQ(app.PingModul("127.0.0.1", 3), 0);
    EXPECT_EQ(console, "...\n");
    EXPECT_EQ(app.m_Message, "Timeout\n");
    probe.answers = {flash::IEchoProbe::kSendFailed};
    EXPECT_EQ(app.PingModul("127.0.0.1", 3), 0);
    EXPECT_EQ(app.m_Message, "Network Send\n");
    probe.answers = {flash::IEchoProbe::kReceiveFailed};
    EXPECT_EQ(app.PingModul("127.0.0.1", 3), 0);
    EXPECT_EQ(app.m_Message, "Network Receive\n");
}

TEST_F(StepsTest, ResetEndsAnOpenFtpSessionInstead) {
    auto ftp = std::make_unique<FakeFtp>();
    FakeFtp& session = *ftp;
    app.m_Ftp = std::move(ftp);
    EXPECT_EQ(app.ResetModul(2000), 1);
    EXPECT_EQ(session.quits, 1);
    EXPECT_EQ(g.reset, 0);
    EXPECT_EQ(clock.slept(), 5000);
    EXPECT_EQ(app.ResetModul(2000), 1);
    EXPECT_EQ(g.reset, 1);
    EXPECT_EQ(g.close, 1);
    EXPECT_EQ(clock.slept(), 7000);
}

TEST_F(StepsTest, HistoryHookCheckAndUpdateSeams) {
    flash::HistoryContent seen;
    app.m_ShowHistory = [&](const flash::HistoryContent& content) {
        seen = content;
        return true;
    };
    app.m_History = 1;
    app.Dispatch();
    EXPECT_EQ(seen.templateId, 102);
    EXPECT_EQ(seen.layoutTemplateId, 190);
    EXPECT_EQ(seen.caption, "History");
    EXPECT_EQ(seen.fontName, "Courier New");
    EXPECT_EQ(seen.lines, std::vector<std::string>{"1.00      September 2003        "});
    EXPECT_EQ(console, "");

    app.m_History = 0;
    app.m_Chk = 1;
    app.Dispatch();
    // Without a window the check runs on the console; without IPD it only ends.
    EXPECT_EQ(app.m_Message, "");
    EXPECT_EQ(console, "END\nEND\n");

    // The update run asks first; "no" ends it without a message, "y" reaches the update.
    app.m_Chk = 0;
    app.m_UpdateRun = 1;
    app.m_Ipc = "127.0.0.1";
    app.m_Message.clear();
    flash::CScriptedKeys answers("ny");
    app.m_Keys = &answers;
    app.Dispatch();
    EXPECT_EQ(app.m_Message, "");
    app.m_FirmwareZip = "fw.rom.bin";
    app.m_ComPort = 0;
    app.m_TcpPort = 1;
    app.Dispatch();
    EXPECT_EQ(app.m_Message.rfind("Open 0x", 0), 0u) << app.m_Message;
}

TEST_F(StepsTest, CommandLineKeywordsInTheirOrder) {
    struct Case {
        const char* option;
        int flash::CX740FlashApp::*flag;
    };
    const Case cases[] = {
        {"FTPBNZ", &flash::CX740FlashApp::m_FtpBnz},
        {"FTPX", &flash::CX740FlashApp::m_FtpOption},
        {"FUX", &flash::CX740FlashApp::m_Fu},
        {"CHKALL", &flash::CX740FlashApp::m_Chk},
        {"DEF", &flash::CX740FlashApp::m_Def},
        {"NBX", &flash::CX740FlashApp::m_Nb},
        {"NOVERX", nullptr},
    };
    for (const Case& c : cases) {
        flash::CX740FlashApp fresh;
        ASSERT_EQ(fresh.ParseCommandLine(c.option), 1) << c.option;
        if (c.flag) {
            EXPECT_EQ(fresh.*c.flag, 1) << c.option;
        }
        if (std::string(c.option) == "FTPBNZ") {
            EXPECT_EQ(fresh.m_FtpOption, 0);
        }
        if (!c.flag) {
            EXPECT_EQ(fresh.m_VersionCheck, 0);
        }
    }
    flash::CX740FlashApp values;
    for (const char* option : {"COM:12", "IPC:a:b", "F:C:\\fw.zip", "FL:list.txt", "SND:"}) {
        ASSERT_EQ(values.ParseCommandLine(option), 1);
    }
    EXPECT_EQ(values.m_ComPort, 12);
    EXPECT_EQ(values.m_Ipc, "a:b");
    EXPECT_EQ(values.m_FirmwareZip, "C:\\fw.zip");
    EXPECT_EQ(values.m_ListFile, "list.txt");
    EXPECT_EQ(values.m_UpdateRun, 1);
    EXPECT_EQ(values.ParseCommandLine("DEFX"), 0);
    EXPECT_EQ(values.m_Message, "Unkown Parameter DEFX\n");
    // Percent signs in an option are text, never a format.
    EXPECT_EQ(values.ParseCommandLine("%s%n%x"), 0);
    EXPECT_EQ(values.m_Message, "Unkown Parameter %s%n%x\n");
}

TEST_F(StepsTest, ConsoleCutsLongTextsAndKeepsTheColumn) {
    flash::ConsolePrintf("%s", std::string(2000, 'a').c_str());
    EXPECT_EQ(console, std::string(1023, 'a'));
    console.clear();
    flash::ConsoleOut().Print("\n");
    console.clear();
    flash::ConsolePrintf("%s", std::string(60, 'b').c_str());
    flash::ConsoleOut().PrintOk();
    EXPECT_EQ(console, std::string(60, 'b') + " -> OK\n");
}

} // namespace

namespace {

TEST(WorkFolderTest, PrivatePerRunAndRemovedWithoutFollowingLinks) {
    char outside[] = "/tmp/x740flash-outside-XXXXXX";
    ASSERT_NE(::mkdtemp(outside), nullptr);
    const std::string keep = std::string(outside) + "/keep.txt";
    {
        std::FILE* f = std::fopen(keep.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }

    flash::CX740FlashApp app;
    ASSERT_TRUE(app.m_WorkFolder.Make());
    const std::string work = app.m_WorkFolder.Path();
    EXPECT_EQ(work.find("/X740Flash."), work.rfind('/'));
    ASSERT_EQ(::mkdir((work + "/Firmware-Images").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(outside, (work + "/Firmware-Images/link").c_str()), 0);
    ASSERT_EQ(::symlink(keep.c_str(), (work + "/file-link").c_str()), 0);
    app.ClearTmpFolder();
    EXPECT_NE(::access(work.c_str(), F_OK), 0);
    EXPECT_EQ(::access(keep.c_str(), F_OK), 0);
    EXPECT_TRUE(flash::RemoveTree(outside));
    EXPECT_TRUE(app.m_WorkFolder.Path().empty());
}

} // namespace
