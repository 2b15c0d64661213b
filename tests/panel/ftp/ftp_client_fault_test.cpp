// The client and session against a scripted server that answers badly.
#include "panel/ftp/ftp_client.h"
#include "panel/ftp/ftp_path.h"
#include "panel/ftp/ftp_session.h"
#include "tests/ftp/fault_server.h"
#include "tests/ftp/ftp_peer.h"
#include "tests/panel/ftp/ftp_test_util.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

using namespace ftp;
using namespace ftptest;
using Data = FaultStep::Data;

namespace {

constexpr int kShortTimeoutMs = 150;
// For replies the scripted server does send: a loaded machine can keep its thread from running
// for longer than the short deadline.
constexpr int kReplyTimeoutMs = 10000;
const char* const kGreeting = "220 ready\r\n";

std::vector<FaultStep> LoginThen(std::vector<FaultStep> more) {
    std::vector<FaultStep> steps = {{"331 user ok\r\n"}, {"230 in\r\n"}, {"200 type I\r\n"}};
    steps.insert(steps.end(), more.begin(), more.end());
    return steps;
}

// A client wired to recording fakes, on an injected clock, with short deadlines.
struct Rig {
    Rig() {
        client.SetLogSink(&log);
        client.SetStatus(&status);
        client.SetObserver(&observer);
        client.SetClock(&clock);
        client.SetTimeout(kShortTimeoutMs);
    }
    RecordingLog log;
    RecordingStatus status;
    RecordingObserver observer;
    mv::FakeClock clock;
    CFtpClient client;
};

} // namespace

TEST(FtpClientFault, RepliesWorkingDirectoryAndChangeDirectory) {
    const std::string longLine = "200 " + std::string(3000, 'x') + "\r\n";
    FaultServer server("220-a\r\n220-b\r\n220 c\r\n",
                       LoginThen({{"257 /no/quotes\r\n"},
                                  {"200 \"/x\"\r\n"},
                                  {"257-first\r\nno code here\r\n257 \"/multi\" is current\r\n"},
                                  {"550 no such\r\n"},
                                  {"501 odd\r\n"},
                                  {longLine},
                                  {std::string("250 ab\0cd\r\n", 11)}}));
    Rig rig;
    ASSERT_TRUE(rig.client.Connect("127.0.0.1", "u", "p", server.Port()));
    EXPECT_EQ(std::vector<std::string>(rig.log.lines.begin(), rig.log.lines.begin() + 4),
              (std::vector<std::string>{"F\tConnected to 127.0.0.1", "F\t220-a", "F\t220-b",
                                        "F\t220 c"}));
    std::string dir = "unchanged";
    EXPECT_FALSE(rig.client.PrintWorkingDir(dir));
    EXPECT_FALSE(rig.client.PrintWorkingDir(dir));
    EXPECT_EQ(dir, "unchanged");
    ASSERT_TRUE(rig.client.PrintWorkingDir(dir));
    EXPECT_EQ(dir, "/multi");
    EXPECT_TRUE(rig.log.Has("F\tno code here"));
    EXPECT_FALSE(rig.client.ChangeDir(" /gone "));
    EXPECT_TRUE(rig.client.ChangeDir("/odd"));
    EXPECT_TRUE(rig.client.ChangeDir("/long"));
    EXPECT_EQ(rig.client.ReplyText().size(), kReplyBufferSize - 1);
    EXPECT_EQ(rig.log.lines.back().size(), 2 + kReplyBufferSize - 1);
    EXPECT_TRUE(rig.client.ChangeDir("/nul"));
    EXPECT_EQ(rig.log.lines.back(), "F\t250 ab");
    // A name holding a line break never reaches a command.
    EXPECT_FALSE(rig.client.DeleteFile("a\r\nDELE b"));
    EXPECT_FALSE(rig.client.ChangeDir("x\ny"));
    rig.client.Quit();
    const auto sent = server.Commands();
    EXPECT_EQ(sent, (std::vector<std::string>{"USER u", "PASS p", "TYPE I", "PWD", "PWD", "PWD",
                                              "CWD /gone", "CWD /odd", "CWD /long",
                                              "CWD /nul", "quit"}));
}

TEST(FtpClientFault, LoginRefusalsAndReconnects) {
    {
        // PASS refused: the connect fails, the client is closed and really reconnects.
        FaultServer server(kGreeting, {{"331 ok\r\n"}, {"530 no\r\n"}, {"331 ok\r\n"},
                                       {"230 in\r\n"}, {"200 I\r\n"}});
        Rig rig;
        EXPECT_FALSE(rig.client.Connect("127.0.0.1", "u", "bad", server.Port()));
        EXPECT_FALSE(rig.client.IsConnected());
        EXPECT_EQ(rig.client.ControlSocket(), -1);
        EXPECT_TRUE(rig.client.Connect("127.0.0.1", "u", "good", server.Port()));
        EXPECT_FALSE(rig.log.Has("F\tAlready connected.  Close connection first."));
        EXPECT_EQ(server.Connections(), 2);
    }
    {
        // USER answered 230 wants no PASS.
        FaultServer server(kGreeting, {{"230 welcome\r\n"}, {"200 I\r\n"}});
        Rig rig;
        EXPECT_TRUE(rig.client.Connect("127.0.0.1", "anon", "x", server.Port()));
        rig.client.Quit();
        EXPECT_EQ(server.Commands(), (std::vector<std::string>{"USER anon", "TYPE I", "quit"}));
    }
    {
        // A PASS answer other than 230 or 202 is no login.
        FaultServer server(kGreeting, {{"331 ok\r\n"}, {"332 account?\r\n"}});
        Rig rig;
        EXPECT_FALSE(rig.client.Connect("127.0.0.1", "u", "p", server.Port()));
    }
    {
        // Silence after a command: the time-out fails the connect and closes it.
        FaultServer server(kGreeting, {{"331 ok\r\n"}, {"230 in\r\n", Data::None, "", "", "", true}});
        Rig rig;
        EXPECT_FALSE(rig.client.Connect("127.0.0.1", "u", "p", server.Port()));
        EXPECT_EQ(rig.client.ControlSocket(), -1);
        EXPECT_TRUE(rig.log.Has("F\tTimeout"));
    }
    // Nobody listening: the errno value of the refused connect.
    Rig rig;
    int port = 0;
    {
        FaultServer gone(kGreeting, {});
        port = gone.Port();
    }
    EXPECT_FALSE(rig.client.Connect("127.0.0.1", "u", "p", port));
    EXPECT_TRUE(rig.log.Has("F\tconnect: error code: 111"));
}

TEST(FtpClientFault, FailedTransfersCloseEverythingAndKeepLocalFiles) {
    TempFolder folder;
    const std::string local = folder.Path() + "/local.txt";
    WriteWholeFile(local, "original");
    const int descriptors = OpenDescriptorCount();
    Rig rig;
    {
        FaultServer server(
            kGreeting,
            LoginThen({
                {"425 no port\r\n"},                                 // PORT of a LIST
                {"200 port\r\n"}, {"550 no store\r\n"},              // STOR refused
                {"200 port\r\n"}, {"550 no file\r\n"},               // RETR refused
                {"200 port\r\n"}, {"150 here\r\n", Data::Drop, "half of it"}, // drop mid-transfer
            }));
        ASSERT_TRUE(rig.client.Connect("127.0.0.1", "u", "p", server.Port()));
        EXPECT_FALSE(rig.client.List());
        EXPECT_TRUE(rig.log.Has("F\tCannot obtain a listen socket."));

        EXPECT_FALSE(rig.client.PutFile(local, "up.txt"));
        // Five countdown steps, on the injected clock, after a refused upload.
        EXPECT_EQ(rig.status.Count("2:  0 "), 5);
        EXPECT_EQ(rig.status.Count("2:  0  1  2  3  4 "), 1);
        EXPECT_EQ(rig.clock.slept(), 1 + 5000);
        EXPECT_EQ(rig.status.events.front(), "create");
        EXPECT_EQ(rig.status.events.back(), "destroy");
        EXPECT_EQ(rig.observer.stores.size(), 1u);

        EXPECT_FALSE(rig.client.GetFile("remote.txt", local));
        EXPECT_FALSE(rig.client.GetFile("remote.txt", local));
        EXPECT_EQ(ReadWholeFile(local), "original");
        EXPECT_FALSE(rig.client.IsConnected());
        const auto sent = server.Commands();
        EXPECT_EQ(std::count(sent.begin(), sent.end(), "LIST"), 0);
        EXPECT_EQ(sent.back(), "RETR remote.txt");
    }
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator{}),
              1);
    // A missing local file.
    EXPECT_FALSE(rig.client.PutFile(folder.Path() + "/none", "x"));
    EXPECT_TRUE(rig.log.Has("F\tfile open"));
    ASSERT_FALSE(rig.observer.failures.empty());
    EXPECT_EQ(rig.observer.failures.back(), std::make_pair(Step::FileOpen, ENOENT));
}

TEST(FtpClientFault, DataConnectionFaultsAndListings) {
    const int descriptors = OpenDescriptorCount();
    Rig rig;
    rig.client.SetTimeout(kReplyTimeoutMs);
    {
        const std::string listing =
            "drwxr-xr-x 2 root root 0 Jan 1 12:00 my dir\r\n"
            "-rw-r--r-- 1 root root 12 Jan 1 12:00 ../escape.txt\r\n"
            "-rw-r--r-- 1 root root 5 Jan 1 2020 " + std::string(600, 'n') + "\r\n";
        FaultServer server(
            kGreeting,
            LoginThen({
                {"200 port\r\n"}, {"150 list\r\n", Data::Send, listing, "", "226 done\r\n"},
                {"200 port\r\n"}, {"150 list\r\n", Data::Send, "-rw 1 u g 1 Jan 1 2020 x\r\n", "",
                                   "451 aborted\r\n"},
                {"200 port\r\n"}, {"150 list\r\n", Data::Send, "x", "127.0.0.2", "226 done\r\n"},
            }));
        ASSERT_TRUE(rig.client.Connect("127.0.0.1", "u", "p", server.Port()));
        ASSERT_TRUE(rig.client.List());
        ASSERT_EQ(rig.client.GetEntryCount(), 3);
        FtpDirEntry e;
        rig.client.GetEntry(0, e);
        EXPECT_EQ(e.name, "my dir");
        EXPECT_TRUE(e.IsDirectory());
        rig.client.GetEntry(1, e);
        EXPECT_FALSE(IsPlainFileName(e.name));
        rig.client.GetEntry(2, e);
        EXPECT_LT(e.name.size(), kListLineSize);

        // A final reply other than 2xx fails the listing and leaves no stale rows.
        EXPECT_FALSE(rig.client.List());
        EXPECT_EQ(rig.client.GetEntryCount(), 0);

        // A data connection from another address is refused; the wait times out.
        rig.client.SetTimeout(kShortTimeoutMs);
        EXPECT_FALSE(rig.client.List());
        EXPECT_TRUE(rig.log.Has("F\tCannot accept connection."));
        EXPECT_FALSE(rig.client.IsConnected());
    }
    {
        // Silence on the data connection.
        FaultServer server(kGreeting,
                           LoginThen({{"200 port\r\n"}, {"150 list\r\n", Data::Silent}}));
        rig.client.SetTimeout(kReplyTimeoutMs);
        ASSERT_TRUE(rig.client.Connect("127.0.0.1", "u", "p", server.Port()));
        rig.client.SetTimeout(kShortTimeoutMs);
        EXPECT_FALSE(rig.client.List());
        EXPECT_FALSE(rig.client.IsConnected());
    }
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
}

TEST(FtpClientFault, ShortWriteFailsTheDownloadAndKeepsTheOldFile) {
    TempFolder folder;
    const std::string local = folder.Path() + "/target.bin";
    WriteWholeFile(local, "old");
    FaultServer server(kGreeting,
                       LoginThen({{"200 port\r\n"},
                                  {"150 data\r\n", Data::Send, std::string(5000, 'z'), "",
                                   "226 done\r\n"}}));
    Rig rig;
    ASSERT_TRUE(rig.client.Connect("127.0.0.1", "u", "p", server.Port()));
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool ok = rig.client.GetFile("big", local);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(rig.log.Has("F\tWrite Error"));
    EXPECT_EQ(ReadWholeFile(local), "old");
    EXPECT_TRUE(rig.client.IsConnected());
}

TEST(FtpClientFault, SessionAttemptsBaseDirectoryAndRows) {
    {
        // A server that never answers: two attempts, 5 s apart on the injected clock.
        FaultServer server("", {});
        RecordingLog log;
        mv::FakeClock clock;
        CFtpSession session;
        session.Client().SetClock(&clock);
        session.Client().SetTimeout(kShortTimeoutMs);
        session.Connect("127.0.0.1", "u", "p", nullptr, &log, server.Port(), 2, 5);
        EXPECT_FALSE(session.IsConnected());
        std::vector<std::string> session_lines;
        for (const auto& l : log.lines) {
            if (l[0] != 'F')
                session_lines.push_back(l);
        }
        EXPECT_EQ(session_lines,
                  (std::vector<std::string>{"I\tConnecting to 127.0.0.1 (Attempt 1 of 2)",
                                            "E\tFailed to connect to 127.0.0.1 (Attempt 1 of 2)",
                                            "E\tRetrying after 5 seconds...",
                                            "I\tConnecting to 127.0.0.1 (Attempt 2 of 2)",
                                            "E\tCannot login to the server 127.0.0.1"}));
        EXPECT_EQ(clock.slept(), 1 + 5000 + 1);
    }
    {
        FaultServer server(kGreeting, LoginThen({{"257 \"\\data\"\r\n"}, {"250 ok\r\n"},
                                                 {"257 \"/data/sub\"\r\n"}, {"200 port\r\n"},
                                                 {"150 list\r\n", Data::Send,
                                                  "drwx 1 u g 0 Jan 1 2020 .\r\n"
                                                  "drwx 1 u g 0 Jan 1 2020 ..\r\n"
                                                  "-rw 1 own g 42 Feb 3 10:11 f.txt\r\n",
                                                  "", "226 ok\r\n"}}));
        RecordingLog log;
        mv::FakeClock clock;
        CFtpSession session;
        session.Client().SetClock(&clock);
        session.Client().SetTimeout(kShortTimeoutMs);
        session.Connect("127.0.0.1", "u", "p", nullptr, &log, server.Port(), 2, 5);
        ASSERT_TRUE(session.IsConnected());
        EXPECT_EQ(session.BaseDirectory(), "/data/");
        std::vector<DirectoryRow> rows;
        ASSERT_TRUE(session.ListDirectory("/sub", false, rows, false));
        EXPECT_EQ(RowTexts(rows), (std::vector<std::string>{"|/data/sub/|0",
                                                  "f.txt|/data/sub/|own|42|Feb|3|10:11"}));
        EXPECT_EQ(server.Commands()[4], "CWD /data/sub");
    }
    {
        // A PWD that cannot be read leaves the session connected.
        FaultServer server(kGreeting, LoginThen({{"500 what\r\n"}}));
        RecordingLog log;
        CFtpSession session;
        session.Connect("127.0.0.1", "u", "p", nullptr, &log, server.Port(), 1, 5);
        EXPECT_TRUE(session.IsConnected());
        EXPECT_EQ(log.lines.back(), "E\tCan't get Directory");
    }
    {
        // A doubled backslash is one separator.
        FaultServer server(kGreeting, LoginThen({{"257 \"\\\\data\\\"\r\n"}}));
        RecordingLog log;
        CFtpSession session;
        session.Connect("127.0.0.1", "u", "p", nullptr, &log, server.Port(), 1, 5);
        ASSERT_TRUE(session.IsConnected());
        EXPECT_EQ(session.BaseDirectory(), "/data/");
    }
}
