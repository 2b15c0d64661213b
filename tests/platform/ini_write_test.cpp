// Writing INI files: exact bytes, in-place replacement, deletes, the cache against outside
// changes, atomic saves and write batches.
#include "ini_test_util.h"
#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using mvtest::readBytes;
using mvtest::TempDir;
using mvtest::writeBytes;

// Lets no file grow beyond a few bytes while it lives, as a full disk would (also for root).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit lim = old_;
        lim.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }

private:
    rlimit old_{};
};

TEST(IniWrite, CreatesTheFileWithCrLfLines) {
    TempDir dir;
    const std::string f = dir.file("new.ini");
    ASSERT_EQ(mv::WritePrivateProfileStringA("Setup", "TIMER", "500", f.c_str()), 1);
    ASSERT_EQ(mv::WritePrivateProfileStringA("Setup", "MAX", "1", f.c_str()), 1);
    ASSERT_EQ(mv::WritePrivateProfileStringA("Other", "Name", " ", f.c_str()), 1);
    EXPECT_EQ(readBytes(f), "[Setup]\r\nTIMER=500\r\nMAX=1\r\n[Other]\r\nName= \r\n");
}

TEST(IniWrite, NeverCreatesTheFolder) {
    TempDir dir;
    const std::string f = dir.file("missing/new.ini");
    errno = 0;
    EXPECT_EQ(mv::WritePrivateProfileStringA("S", "k", "v", f.c_str()), 0);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

TEST(IniWrite, ReplacesInPlaceAndKeepsEverythingElse) {
    TempDir dir;
    const std::string f = dir.file("p.ini");
    writeBytes(f, "; head\n[A]\nKey = old  \n;note\nOther=1\n\n[B]\nx=1\n");
    ASSERT_TRUE(mv::iniWriteString(f, "a", "KEY", "new"));
    EXPECT_EQ(readBytes(f), "; head\n[A]\nKey=new\n;note\nOther=1\n\n[B]\nx=1\n");
    // New key: after the last line of its section that is not blank.
    ASSERT_TRUE(mv::iniWriteString(f, "A", "Added", "2"));
    EXPECT_EQ(readBytes(f), "; head\n[A]\nKey=new\n;note\nOther=1\nAdded=2\r\n\n[B]\nx=1\n");
}

TEST(IniWrite, AppendsAfterALastLineWithoutEnd) {
    TempDir dir;
    const std::string f = dir.file("p.ini");
    writeBytes(f, "[A]\r\nx=1");
    ASSERT_TRUE(mv::iniWriteString(f, "A", "y", "2"));
    ASSERT_TRUE(mv::iniWriteString(f, "B", "z", "3"));
    EXPECT_EQ(readBytes(f), "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
}

TEST(IniWrite, ByteOrderMarkAndLoneCarriageReturnsAreKept) {
    TempDir dir;
    const std::string f = dir.file("m.ini");
    writeBytes(f, "\xEF\xBB\xBF[A]\rx=1\r[B]\ry=2");
    EXPECT_EQ(mv::iniReadString(f, "A", "x"), "1");
    EXPECT_EQ(mv::iniReadString(f, "B", "y"), "2");
    ASSERT_TRUE(mv::iniWriteString(f, "A", "x", "3"));
    EXPECT_EQ(readBytes(f), "\xEF\xBB\xBF[A]\rx=3\r[B]\ry=2");
}

TEST(IniWrite, OnlyRegularFilesAreReadOrReplaced) {
    TempDir dir;
    const std::string pipe = dir.file("pipe.ini");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Neither blocks nor reads: the default, and the reason for whoever asks.
    EXPECT_EQ(mv::iniReadString(pipe, "A", "x", "def"), "def");
    EXPECT_EQ(mv::iniUnreadableReason(pipe), "not a regular file");
    EXPECT_EQ(mv::iniReadInt("/dev/zero", "A", "x", 7), 7);
    EXPECT_EQ(mv::iniUnreadableReason(dir.path()), "not a regular file");
    EXPECT_EQ(mv::iniUnreadableReason(dir.file("missing.ini")), "");
    EXPECT_FALSE(mv::iniWriteString(pipe, "A", "x", "1"));
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    // Beyond the size limit a file reads as unreadable.
    const std::string big = dir.file("big.ini");
    writeBytes(big, "[A]\r\nx=1\r\n");
    std::filesystem::resize_file(big, mv::kIniMaxFileBytes + 1);
    EXPECT_EQ(mv::iniReadString(big, "A", "x", "def"), "def");
    EXPECT_EQ(mv::iniUnreadableReason(big), "larger than 64 MiB");
}

TEST(IniWrite, DeletesKeysAndSections) {
    TempDir dir;
    const std::string f = dir.file("p.ini");
    writeBytes(f, "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
    ASSERT_EQ(mv::WritePrivateProfileStringA("a", "X", nullptr, f.c_str()), 1);
    EXPECT_EQ(readBytes(f), "[A]\r\ny=2\r\n[B]\r\nz=3\r\n");
    ASSERT_EQ(mv::WritePrivateProfileStringA("A", nullptr, nullptr, f.c_str()), 1);
    EXPECT_EQ(readBytes(f), "[B]\r\nz=3\r\n");
    EXPECT_EQ(mv::iniReadString(f, "A", "y", "gone"), "gone");
    // Deleting what is not there changes nothing and creates nothing.
    const std::string none = dir.file("none.ini");
    EXPECT_TRUE(mv::iniDeleteKey(none, "A", "x"));
    EXPECT_FALSE(std::filesystem::exists(none));
}

TEST(IniWrite, RefusesTextsThatWouldBreakTheLines) {
    TempDir dir;
    const std::string f = dir.file("p.ini");
    EXPECT_FALSE(mv::iniWriteString(f, "A", "k", "two\r\nlines"));
    EXPECT_FALSE(mv::iniWriteString(f, "A\n", "k", "v"));
    EXPECT_FALSE(mv::iniWriteString(f, "A", "k=x", "v"));
    EXPECT_EQ(mv::WritePrivateProfileStringA("A", "k", "v", nullptr), 0);
    EXPECT_FALSE(std::filesystem::exists(f));
}

TEST(IniCacheTest, WritesAreSeenAtOnceAndOutsideChangesAreReadAgain) {
    TempDir dir;
    const std::string f = dir.file("c.ini");
    writeBytes(f, "[A]\r\nk=1\r\n");
    EXPECT_EQ(mv::iniReadInt(f, "A", "k", 0), 1);
    ASSERT_TRUE(mv::iniWriteString(f, "A", "k", "2"));
    EXPECT_EQ(mv::iniReadInt(f, "A", "k", 0), 2);
    // Another program rewrites the file (a new size).
    writeBytes(f, "[A]\r\nk=333\r\n");
    EXPECT_EQ(mv::iniReadInt(f, "A", "k", 0), 333);
    // Same size, other modification time.
    writeBytes(f, "[A]\r\nk=444\r\n");
    struct timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, f.c_str(), times, 0), 0);
    EXPECT_EQ(mv::iniReadInt(f, "A", "k", 0), 444);
    // Removed outside: defaults again.
    std::filesystem::remove(f);
    EXPECT_EQ(mv::iniReadInt(f, "A", "k", -5), -5);
}

TEST(IniCacheTest, RemoveFileForgetsTheCachedText) {
    TempDir dir;
    const std::string f = dir.file("c.ini");
    ASSERT_TRUE(mv::iniWriteString(f, "A", "k", "1"));
    EXPECT_TRUE(mv::iniRemoveFile(f));
    EXPECT_FALSE(std::filesystem::exists(f));
    EXPECT_EQ(mv::iniReadString(f, "A", "k", "none"), "none");
    ASSERT_TRUE(mv::iniWriteString(f, "B", "j", "2"));
    EXPECT_EQ(readBytes(f), "[B]\r\nj=2\r\n");
}

TEST(IniAtomic, AFailedSaveLeavesTheOldFileAndTheCacheFollowsTheDisk) {
    TempDir dir;
    const std::string f = dir.file("a.ini");
    writeBytes(f, "[A]\r\nk=old\r\n");
    EXPECT_EQ(mv::iniReadString(f, "A", "k"), "old");
    {
        FileSizeLimit full(8);
        errno = 0;
        EXPECT_FALSE(mv::iniWriteString(f, "A", "k", "a much longer value than fits"));
        EXPECT_EQ(errno, EFBIG);
    }
    EXPECT_EQ(readBytes(f), "[A]\r\nk=old\r\n");
    EXPECT_EQ(mv::iniReadString(f, "A", "k"), "old") << "the cache does not keep the lost write";
    EXPECT_TRUE(mv::iniWriteString(f, "A", "k", "new"));
    EXPECT_EQ(readBytes(f), "[A]\r\nk=new\r\n");
    // No temporary files are left beside it.
    int count = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        count += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(count, 1);
}

TEST(IniAtomic, SaveKeepsTheFileMode) {
    TempDir dir;
    const std::string f = dir.file("m.ini");
    writeBytes(f, "[A]\r\n");
    ASSERT_EQ(::chmod(f.c_str(), 0640), 0);
    ASSERT_TRUE(mv::iniWriteString(f, "A", "k", "1"));
    struct stat st {};
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(IniBatchTest, ManyWritesOneSave) {
    TempDir dir;
    const std::string f = dir.file("project.mvl");
    writeBytes(f, "[Old]\r\nx=1\r\n");
    struct stat before {};
    ASSERT_EQ(::stat(f.c_str(), &before), 0);
    {
        mv::IniBatch batch;
        for (int i = 0; i < 50; ++i)
            ASSERT_TRUE(mv::iniWriteString(f, "S" + std::to_string(i), "k", std::to_string(i)));
        {
            mv::IniBatch inner; // nested batches save with the outermost
            ASSERT_TRUE(mv::iniWriteString(f, "Old", "x", "2"));
        }
        EXPECT_EQ(readBytes(f), "[Old]\r\nx=1\r\n") << "nothing on disk before the commit";
        EXPECT_EQ(mv::iniReadInt(f, "S49", "k", -1), 49) << "reads see the batch";
        EXPECT_EQ(mv::iniReadInt(f, "old", "x", -1), 2);
        EXPECT_TRUE(batch.commit());
    }
    EXPECT_EQ(mv::iniReadInt(f, "S49", "k", -1), 49);
    mv::iniClearCache();
    EXPECT_EQ(mv::iniReadInt(f, "S0", "k", -1), 0);
    EXPECT_EQ(mv::iniReadInt(f, "S49", "k", -1), 49);
    EXPECT_EQ(mv::iniReadInt(f, "Old", "x", -1), 2);
}

TEST(IniBatchTest, FailedCommitReportsAndKeepsTheOldFile) {
    TempDir dir;
    const std::string f = dir.file("b.ini");
    writeBytes(f, "[A]\r\nk=1\r\n");
    mv::IniBatch batch;
    ASSERT_TRUE(mv::iniWriteString(f, "A", "k", "2"));
    ASSERT_TRUE(mv::iniWriteString(f, "Big", "k", "more text than the disk takes"));
    {
        FileSizeLimit full(12);
        EXPECT_FALSE(batch.commit());
    }
    EXPECT_EQ(readBytes(f), "[A]\r\nk=1\r\n");
    EXPECT_EQ(mv::iniReadInt(f, "A", "k", 0), 1);
}

} // namespace
