#include "platform/win_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class PathFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/mv_path_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        root_ = tmpl;
        fs::create_directories(root_ / "Modul" / "Sub");
        std::ofstream(root_ / "Modul" / "X740.kvn") << "x";
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
};

TEST(PathText, BackslashesBecomeSlashes) {
    EXPECT_EQ(mv::toSlashPath("C:\\Prog\\Modul\\a.kvn"), "C:/Prog/Modul/a.kvn");
    EXPECT_EQ(mv::toSlashPath("plain/path"), "plain/path");
}

TEST(PathText, JoinPutsExactlyOneSeparator) {
    EXPECT_EQ(mv::joinPath("/opt/mv", "Sprache.txt"), "/opt/mv/Sprache.txt");
    EXPECT_EQ(mv::joinPath("/opt/mv/", "\\Sprache.txt"), "/opt/mv/Sprache.txt");
    EXPECT_EQ(mv::joinPath("/opt/mv\\\\", "//Modul\\a.kvn"), "/opt/mv/Modul/a.kvn");
    EXPECT_EQ(mv::joinPath("", "a.txt"), "a.txt");
    EXPECT_EQ(mv::joinPath("/opt", ""), "/opt");
    EXPECT_EQ(mv::joinPath("/", "etc"), "/etc");
}

TEST_F(PathFolder, ExactNameIsKept) {
    const std::string p = (root_ / "Modul" / "X740.kvn").string();
    EXPECT_EQ(mv::resolvePath(p), p);
}

TEST_F(PathFolder, ComponentsAreFoundWithoutRegardToCase) {
    const std::string wanted = root_.string() + "\\modul\\x740.KVN";
    EXPECT_EQ(mv::resolvePath(wanted), (root_ / "Modul" / "X740.kvn").string());
    EXPECT_EQ(mv::resolvePath(root_.string() + "/MODUL/sub"), (root_ / "Modul" / "Sub").string());
}

TEST_F(PathFolder, MissingComponentsStayAsWritten) {
    EXPECT_EQ(mv::resolvePath(root_.string() + "/modul/New/File.txt"),
              (root_ / "Modul").string() + "/New/File.txt");
    EXPECT_EQ(mv::resolvePath(root_.string() + "/nothing\\here"),
              root_.string() + "/nothing/here");
}

} // namespace
