// Pipes and folders where the loader expects the operator's files: each gives its read error
// at once, none holds the run up.
#include "tests/flash/loader/loader_fixture.h"

#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using flashtest::LoaderTest;

// A run that blocks on one of these files ends the test program instead of hanging it.
struct Watchdog {
    Watchdog() { ::alarm(60); }
    ~Watchdog() { ::alarm(0); }
};

TEST_F(LoaderTest, PipesAndFoldersGiveTheirReadErrorAtOnce) {
    Watchdog watchdog;
    // The log itself is a pipe nobody reads: it is skipped, the run goes on.
    ASSERT_EQ(::mkfifo(folder.file("X740Flash_Log.txt").c_str(), 0600), 0);
    for (const bool pipe : {true, false}) {
        SCOPED_TRACE(pipe ? "named pipe" : "folder");
        for (const char* name : {"ipc.cfg", "ipd.cfg", "list.lst", "fw.zip", "send.bin"}) {
            const std::string path = folder.file(name);
            std::filesystem::remove_all(path);
            ASSERT_EQ(pipe ? ::mkfifo(path.c_str(), 0600) : ::mkdir(path.c_str(), 0700), 0);
        }
        app.m_Message.clear();
        RunWith({"-FC", "-NOKEY"});
        EXPECT_EQ(app.m_Message, "Error reading file ipc.cfg");
        RunWith({"-FD", "-NOKEY"});
        EXPECT_EQ(app.m_Message, "Error reading file ipd.cfg");

        app.m_ListFile = "list.lst";
        EXPECT_EQ(app.SendFileList(0), 0);
        EXPECT_EQ(app.m_Message, "Open file list.lst\n");
        app.m_ListFile.clear();
        app.m_FileList = {"send.bin"};
        EXPECT_EQ(app.SendFileList(0), 0);
        EXPECT_EQ(app.m_Message, "Error sending file send.bin");

        app.m_FirmwareZip = "fw.zip";
        EXPECT_EQ(app.ExtractZip(), 0);
        EXPECT_EQ(app.m_Message.rfind("Open of file failed", 0), 0u) << app.m_Message;
    }
    struct stat st {};
    ASSERT_EQ(::stat(folder.file("X740Flash_Log.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

} // namespace
