#include "panel/ftpdlg/file_columns.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace ftpdlg;

TEST(FileColumns, LocalFormatsRemoteRowsAndPaths) {
    setenv("TZ", "UTC", 1);
    tzset();
    const std::time_t now = 1780000000;            // 2026-05-28
    const std::time_t today = now - 3600 * 2 - 60 * 5;
    LocalColumns c = MakeLocalColumns(1500, today, now);
    EXPECT_EQ(c.size, "1500");
    EXPECT_EQ(c.month, "May");
    EXPECT_EQ(c.day, "28");
    EXPECT_EQ(c.timeOrYear, "18:21");
    c = MakeLocalColumns(5000000000ULL, now - 400L * 24 * 3600, now);
    EXPECT_EQ(c.size, "5000000000");
    EXPECT_EQ(c.month, "Apr");
    EXPECT_EQ(c.day, "23");
    EXPECT_EQ(c.timeOrYear, "2025");

    RemoteRow file;
    file.name = "f.txt";
    file.directoryField = "/a/b/";
    file.size = 42;
    EXPECT_EQ(RemotePath(file), "/a/b/f.txt");
    EXPECT_TRUE(InFirstPass(file));
    RemoteRow rootFile = file;
    rootFile.directoryField = "/";
    EXPECT_FALSE(InFirstPass(rootFile));
    EXPECT_EQ(RemotePath(rootFile), "/f.txt");

    RemoteRow dir;
    dir.directory = true;
    for (const char* path : {"/a/b/", "/"}) {
        dir.name = path;
        EXPECT_EQ(DisplayName(dir), "..");
    }
    dir.name = "sub dir";
    EXPECT_EQ(DisplayName(dir), "sub dir");
    EXPECT_TRUE(InFirstPass(dir));

    EXPECT_EQ(RemoteParent("/"), "/");
    EXPECT_EQ(RemoteParent("/a/"), "/");
    EXPECT_EQ(LocalParent("/"), "/");
    EXPECT_EQ(LocalParent("/a/b"), "/a");
    EXPECT_EQ(LocalChild("/", "x"), "/x");
    EXPECT_EQ(LocalChild("/a", "x"), "/a/x");
}
