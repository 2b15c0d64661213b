// Read scopes: files checked once are trusted while a scope lives, writes stay visible at once,
// and normal checking comes back when the outermost scope ends.
#include "ini_test_util.h"
#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

using mvtest::readBytes;
using mvtest::TempDir;
using mvtest::writeBytes;

class IniReadScopeTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = dir_.file("desc.kvn");
        writeBytes(file_, "[MORVELAN]\r\nID=12\r\nName=first\r\n");
    }
    int id() { return mv::iniReadInt(file_, "MORVELAN", "ID", -1); }
    // A change made by another program; its length differs, so the cache notices it whenever
    // it asks the disk.
    void changeOutside(const std::string& id) {
        writeBytes(file_, "[MORVELAN]\r\nID=" + id + "\r\nName=changed outside\r\n");
    }
    TempDir dir_;
    std::string file_;
};

TEST_F(IniReadScopeTest, OutsideChangeIsSeenAgainAfterTheScopeEnds) {
    {
        mv::IniReadScope scope;
        EXPECT_EQ(id(), 12);
        changeOutside("3456");
        EXPECT_EQ(id(), 12); // trusted for the rest of the scope
        EXPECT_EQ(mv::iniReadString(file_, "MORVELAN", "Name"), "first");
    }
    EXPECT_EQ(id(), 3456);
    EXPECT_EQ(mv::iniReadString(file_, "MORVELAN", "Name"), "changed outside");
}

TEST_F(IniReadScopeTest, FirstReadInAScopeStillAsksTheDisk) {
    EXPECT_EQ(id(), 12); // cached before the scope
    changeOutside("77");
    mv::IniReadScope scope;
    EXPECT_EQ(id(), 77);
}

TEST_F(IniReadScopeTest, EachNewScopeChecksAgain) {
    {
        mv::IniReadScope scope;
        EXPECT_EQ(id(), 12);
    }
    changeOutside("88");
    mv::IniReadScope scope;
    EXPECT_EQ(id(), 88);
}

TEST_F(IniReadScopeTest, WritesInsideAreVisibleAtOnceAndReachTheDisk) {
    mv::IniReadScope scope;
    EXPECT_EQ(id(), 12);
    EXPECT_TRUE(mv::iniWriteString(file_, "MORVELAN", "ID", "99"));
    EXPECT_EQ(id(), 99);
    EXPECT_EQ(readBytes(file_), "[MORVELAN]\r\nID=99\r\nName=first\r\n");
    EXPECT_TRUE(mv::iniDeleteKey(file_, "MORVELAN", "Name"));
    EXPECT_EQ(mv::iniReadString(file_, "MORVELAN", "Name", "gone"), "gone");
    EXPECT_TRUE(mv::iniCreateSection(file_, "Extra"));
    EXPECT_TRUE(mv::iniHasSection(file_, "extra"));

    // A file written first inside the scope is read back from the cache as written.
    const std::string fresh = dir_.file("new.ini");
    EXPECT_TRUE(mv::iniWriteString(fresh, "S", "k", "v"));
    EXPECT_EQ(mv::iniReadString(fresh, "s", "K"), "v");
    EXPECT_EQ(readBytes(fresh), "[S]\r\nk=v\r\n");
}

TEST_F(IniReadScopeTest, WritesInsideABatchAreSeenAndSavedAtTheCommit) {
    mv::IniReadScope scope;
    EXPECT_EQ(id(), 12);
    {
        mv::IniBatch batch;
        EXPECT_TRUE(mv::iniWriteString(file_, "MORVELAN", "ID", "5"));
        EXPECT_EQ(id(), 5);
        EXPECT_EQ(readBytes(file_), "[MORVELAN]\r\nID=12\r\nName=first\r\n");
        EXPECT_TRUE(batch.commit());
    }
    EXPECT_EQ(readBytes(file_), "[MORVELAN]\r\nID=5\r\nName=first\r\n");
    EXPECT_EQ(id(), 5);
}

TEST_F(IniReadScopeTest, ScopesNestAndOnlyTheOutermostEndRestoresChecking) {
    std::optional<mv::IniReadScope> outer;
    outer.emplace();
    EXPECT_EQ(id(), 12);
    {
        mv::IniReadScope inner;
        changeOutside("4321");
        EXPECT_EQ(id(), 12);
    }
    EXPECT_EQ(id(), 12); // the outer scope still trusts the file
    outer.reset();
    EXPECT_EQ(id(), 4321);
}

TEST_F(IniReadScopeTest, MissingFileAndCaseBlindNamesInsideAScope) {
    std::filesystem::create_directories(dir_.file("Modul"));
    writeBytes(dir_.file("Modul/X740.kvn"), "[MORVELAN]\r\nID=740\r\n");
    const std::string asked = dir_.path() + "\\modul\\x740.KVN";
    const std::string missing = dir_.file("nowhere.ini");
    {
        mv::IniReadScope scope;
        EXPECT_EQ(mv::iniReadInt(asked, "morvelan", "id", 0), 740);
        EXPECT_EQ(mv::iniReadInt(asked, "morvelan", "id", 0), 740);
        EXPECT_EQ(mv::iniReadInt(missing, "S", "k", -2), -2);
        writeBytes(missing, "[S]\r\nk=8\r\n");
        EXPECT_EQ(mv::iniReadInt(missing, "S", "k", -2), -2);
    }
    EXPECT_EQ(mv::iniReadInt(missing, "S", "k", -2), 8);
}

TEST_F(IniReadScopeTest, ClearingTheCacheInsideAScopeReadsTheDiskAgain) {
    mv::IniReadScope scope;
    EXPECT_EQ(id(), 12);
    changeOutside("64");
    mv::iniClearCache();
    EXPECT_EQ(id(), 64);
}

// The string helper gives the same text as the call with a buffer of that size.
TEST(IniReadStringTest, MatchesTheBufferCall) {
    TempDir dir;
    const std::string file = dir.file("t.ini");
    writeBytes(file, "[A]\r\nq=\"quoted text\"\r\nlong=0123456789\r\nempty=\r\n");
    struct Case {
        const char* key;
        const char* def;
        std::uint32_t size;
    };
    const Case cases[] = {{"q", "", 200},        {"Q", "", 4},     {"long", "", 11},
                          {"long", "", 10},      {"long", "", 1},  {"empty", "x", 200},
                          {"missing", "d  ", 200}, {"missing", "default", 4}};
    for (const Case& c : cases) {
        char buf[256];
        const auto n = mv::GetPrivateProfileStringA("A", c.key, c.def, buf, c.size, file.c_str());
        EXPECT_EQ(mv::iniReadString(file, "A", c.key, c.def, c.size), std::string(buf, n))
            << c.key << " size " << c.size;
    }
    EXPECT_EQ(mv::iniReadString(file, "A", "long", "", 0), "");
    // Names end at a zero byte, as they would in the call.
    EXPECT_EQ(mv::iniReadString(file, std::string("A\0B", 3), std::string("long\0x", 6)),
              "0123456789");
}

} // namespace
