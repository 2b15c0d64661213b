// The client and session against a real server (pyftpdlib on a loopback port).
#include "panel/ftp/ftp_client.h"
#include "panel/ftp/ftp_session.h"
#include "tests/ftp/ftp_peer.h"
#include "tests/panel/ftp/ftp_test_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <utime.h>

using namespace ftp;
using namespace ftptest;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

struct Peer {
    Peer() {
        options.root = folder.Path() + "/root";
        options.transcript = folder.Path() + "/transcript";
        std::filesystem::create_directories(options.root);
        options.users = {{"user", "secret"}, {"other", "pw"}};
    }
    TempFolder folder;
    PyFtpdOptions options;
};

} // namespace

TEST(FtpClientPyftpd, TranscriptFilesAndListingOfARealServer) {
    Peer peer;
    std::filesystem::create_directories(peer.options.root + "/sub dir");
    PyFtpd server(peer.options);
    ASSERT_TRUE(server.Running()) << server.Error();

    std::string content;
    for (int i = 0; i < 200000; ++i)
        content.push_back(static_cast<char>((i * 7919) >> 3));
    content += std::string("\r\n\0\n\r", 5);
    const std::string local = peer.folder.Path() + "/upload.bin";
    WriteWholeFile(local, content);

    RecordingLog log;
    RecordingStatus status;
    RecordingObserver observer;
    mv::FakeClock clock;
    {
        CFtpClient client;
        client.SetLogSink(&log);
        client.SetStatus(&status);
        client.SetObserver(&observer);
        client.SetClock(&clock);
        ASSERT_TRUE(client.Connect("127.0.0.1", "user", "secret", server.Port()));
        EXPECT_EQ(client.Mode(), CFtpClient::kModeImage);
        EXPECT_TRUE(log.Has("F\tConnected to 127.0.0.1"));
        EXPECT_TRUE(log.Has("F\t220 pyftpdlib ready."));
        EXPECT_TRUE(log.Has("F\tFile transfer modes set to binary."));
        EXPECT_FALSE(client.Connect("127.0.0.1", "user", "secret", server.Port()));
        EXPECT_TRUE(log.Has("F\tAlready connected.  Close connection first."));

        ASSERT_TRUE(client.List());
        ASSERT_EQ(client.GetEntryCount(), 1);
        FtpDirEntry entry;
        ASSERT_TRUE(client.GetEntry(0, entry));
        EXPECT_TRUE(entry.IsDirectory());
        EXPECT_EQ(entry.name, "sub dir");

        ASSERT_TRUE(client.PutFile(local, "a file.bin"));
        EXPECT_EQ(ReadWholeFile(peer.options.root + "/a file.bin"), content);
        EXPECT_EQ(observer.stores, std::vector<std::string>{local + " -> a file.bin"});
        EXPECT_EQ(status.Count("2:  0  1  2  3  4 "), 1);
        EXPECT_EQ(clock.slept(), 1 + 5 * 1000);
        EXPECT_EQ(status.events.back(), "destroy");
        EXPECT_EQ(status.Count("2:a file.bin : " + std::to_string(content.size()) + " sent"), 1);

        ASSERT_TRUE(client.List());
        ASSERT_EQ(client.GetEntryCount(), 2);
        EXPECT_TRUE(client.FindEntry("a file.bin"));
        EXPECT_FALSE(client.FindEntry("a"));
        for (int i = 0; client.GetEntry(i, entry); ++i) {
            if (entry.name == "a file.bin") {
                EXPECT_EQ(entry.size, content.size());
                EXPECT_EQ(entry.attributes, kAttrFile);
                EXPECT_FALSE(entry.owner.empty());
                EXPECT_FALSE(entry.month.empty());
            }
        }
        EXPECT_FALSE(client.GetEntry(2, entry));

        // The partial file a killed download left is removed by the next download of that
        // name once it has not been written for a minute; one being written now is kept.
        const std::string back = peer.folder.Path() + "/back.bin";
        const std::string stale = peer.folder.Path() + "/.back.bin.Q1w2E3";
        const std::string fresh = peer.folder.Path() + "/.back.bin.R4t5Y6";
        WriteWholeFile(stale, "left by a killed download");
        WriteWholeFile(fresh, "still arriving");
        const utimbuf old{std::time(nullptr) - 61, std::time(nullptr) - 61};
        ASSERT_EQ(::utime(stale.c_str(), &old), 0);
        ASSERT_TRUE(client.GetFile("a file.bin", back));
        EXPECT_EQ(ReadWholeFile(back), content);
        EXPECT_FALSE(std::filesystem::exists(stale));
        EXPECT_EQ(ReadWholeFile(fresh), "still arriving");
        std::filesystem::remove(fresh);
        EXPECT_EQ(status.Count("1:Receiveing file " + back + " "), 1);

        // A refused download leaves the local file as it was, and no temporary file beside it.
        WriteWholeFile(back, "keep me");
        EXPECT_FALSE(client.GetFile("missing.bin", back));
        EXPECT_EQ(ReadWholeFile(back), "keep me");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(peer.folder.Path()),
                                std::filesystem::directory_iterator{}),
                  4); // root, transcript, upload.bin, back.bin

        EXPECT_TRUE(client.DeleteFile("a file.bin"));
        EXPECT_FALSE(std::filesystem::exists(peer.options.root + "/a file.bin"));
        EXPECT_TRUE(client.DeleteFile("not there")); // the reply is not examined
        EXPECT_TRUE(client.Quit());
        EXPECT_FALSE(client.IsConnected());
        EXPECT_FALSE(client.DeleteFile("x"));
        EXPECT_TRUE(log.Has("F\tNot Connected."));
    }

    const std::regex port("PORT 127,0,0,1,[0-9]+,[0-9]+");
    std::vector<std::string> sent = Lines(ReadWholeFile(peer.options.transcript));
    for (auto& line : sent) {
        if (std::regex_match(line, port))
            line = "PORT";
    }
    EXPECT_EQ(sent, (std::vector<std::string>{
                        "USER user", "PASS secret", "TYPE I", "PORT", "LIST", "PORT",
                        "STOR a file.bin", "PORT", "LIST", "PORT", "RETR a file.bin", "PORT",
                        "RETR missing.bin", "DELE a file.bin", "DELE not there", "quit"}));
}

TEST(FtpClientPyftpd, SessionListsRowsAndAsksBeforeOverwriting) {
    Peer peer;
    std::filesystem::create_directories(peer.options.root + "/a/b");
    WriteWholeFile(peer.options.root + "/a/b/deep.txt", "deep");
    WriteWholeFile(peer.options.root + "/a/top.txt", "12345");
    PyFtpd server(peer.options);
    ASSERT_TRUE(server.Running()) << server.Error();

    struct Prompt : OverwritePrompt {
        bool ConfirmOverwrite(std::string_view name) override {
            asked.emplace_back(name);
            return answer;
        }
        bool answer = false;
        std::vector<std::string> asked;
    } prompt;
    RecordingLog log;
    mv::FakeClock clock;
    CFtpSession session;
    session.Client().SetClock(&clock);
    session.SetPrompt(&prompt);
    session.Connect("127.0.0.1", "other", "pw", nullptr, &log, server.Port(), 2, 5);
    ASSERT_TRUE(session.IsConnected());
    EXPECT_EQ(log.lines.front(), "I\tConnecting to 127.0.0.1 (Attempt 1 of 2)");
    EXPECT_EQ(session.BaseDirectory(), "/");

    std::vector<DirectoryRow> rows;
    ASSERT_TRUE(session.ListDirectory("a", false, rows, false));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Text(), "|/a/|0");
    EXPECT_EQ(rows[1].Text(), "|b|0");
    EXPECT_TRUE(std::regex_match(rows[2].Text(), std::regex("top\\.txt\\|/a/\\|[^|]+\\|5\\|[A-Z][a-z]{2}\\|[0-9]+\\|[0-9:]+")))
        << rows[2].Text();

    rows.clear();
    ASSERT_TRUE(session.ListDirectory("/", true, rows, true));
    EXPECT_EQ(rows.size(), 5u); // /, /a/, top.txt, /a/b/, deep.txt
    EXPECT_EQ(rows.back().Text().substr(0, 15), "deep.txt|/a/b/|");

    rows.clear();
    EXPECT_FALSE(session.ListDirectory("/nowhere", true, rows, false));

    // Overwrite question: only for a name of the last listing, compared by its bare name.
    rows.clear();
    ASSERT_TRUE(session.ListDirectory("/a/", true, rows, false));
    const std::string local = peer.folder.Path() + "/new.txt";
    WriteWholeFile(local, "new");
    EXPECT_FALSE(session.PutFileConfirm(local, "/a/top.txt"));
    EXPECT_EQ(prompt.asked, std::vector<std::string>{"top.txt"});
    EXPECT_EQ(ReadWholeFile(peer.options.root + "/a/top.txt"), "12345");
    prompt.answer = true;
    EXPECT_TRUE(session.PutFileConfirm(local, "/a/top.txt"));
    EXPECT_EQ(ReadWholeFile(peer.options.root + "/a/top.txt"), "new");
    EXPECT_TRUE(session.PutFileConfirm(local, "/a/fresh.txt"));
    EXPECT_EQ(prompt.asked.size(), 2u);

    // Delete and download keep the remote directory.
    EXPECT_TRUE(session.GetFile("/a/b/deep.txt", peer.folder.Path() + "/deep.txt"));
    EXPECT_EQ(ReadWholeFile(peer.folder.Path() + "/deep.txt"), "deep");
    EXPECT_TRUE(session.DeleteFile("/a/b/deep.txt"));
    EXPECT_FALSE(std::filesystem::exists(peer.options.root + "/a/b/deep.txt"));
    EXPECT_TRUE(std::filesystem::exists(peer.options.root + "/a/top.txt"));

    // A refused login fails and leaves the client closed.
    CFtpClient refused;
    refused.SetClock(&clock);
    EXPECT_FALSE(refused.Connect("127.0.0.1", "user", "wrong", server.Port()));
    EXPECT_FALSE(refused.IsConnected());
    EXPECT_EQ(refused.ControlSocket(), -1);
}
