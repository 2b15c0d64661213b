// The settings stores: typed values, names without regard to case, store locations, the
// recent-file list and the COM port map.
#include "ini_test_util.h"
#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

using mvtest::readBytes;
using mvtest::TempDir;
using mvtest::writeBytes;

// Points both stores into a temporary folder for one test.
class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv(mv::kMachineStoreEnv, dir_.file("machine.reg").c_str(), 1);
        ::setenv(mv::kUserStoreEnv, dir_.file("user/Kelvane/Morvelan.reg").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv(mv::kMachineStoreEnv);
        ::unsetenv(mv::kUserStoreEnv);
    }
    TempDir dir_;
};

TEST_F(SettingsStoreTest, TypedValuesRoundTrip) {
    auto key = mv::SettingsKey::open(mv::SettingsRoot::User, "SOFTWARE\\Kelvane\\Morvelan", true);
    ASSERT_TRUE(key);
    EXPECT_TRUE(std::filesystem::exists(dir_.file("user/Kelvane/Morvelan.reg")))
        << "creating the key makes the folder and the file";
    ASSERT_TRUE(key->writeDword("COM", 5));
    ASSERT_TRUE(key->writeDword("TcpIp", 0xC0A80164));
    ASSERT_TRUE(key->writeText("Sprache", " Deutsch \"x\" \\ end "));
    ASSERT_TRUE(key->writeText("Empty", ""));
    ASSERT_TRUE(key->writeText("Lines", "a\r\nb"));
    ASSERT_TRUE(key->writeBinary("Papersize", {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff}));
    ASSERT_TRUE(key->writeBinary("None", {}));

    mv::iniClearCache();
    auto again = mv::SettingsKey::open(mv::SettingsRoot::User, "software\\kelvane\\MORVELAN");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->readDword("com"), 5u);
    EXPECT_EQ(again->readDword("TCPIP"), 0xC0A80164u);
    EXPECT_EQ(again->readText("sprache"), " Deutsch \"x\" \\ end ");
    EXPECT_EQ(again->readText("Empty"), "");
    EXPECT_EQ(again->readText("Lines"), "a\r\nb");
    EXPECT_EQ(again->readBinary("Papersize"),
              (std::vector<std::uint8_t>{3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff}));
    EXPECT_EQ(again->readBinary("None"), std::vector<std::uint8_t>{});
    EXPECT_EQ(again->valueNames().size(), 7u);
}

TEST_F(SettingsStoreTest, TypesDoNotMixAndMissingValuesAreReported) {
    auto key = mv::SettingsKey::open(mv::SettingsRoot::User, "K", true);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->writeDword("n", 1));
    ASSERT_TRUE(key->writeText("t", "1"));
    EXPECT_FALSE(key->readText("n"));
    EXPECT_FALSE(key->readBinary("n"));
    EXPECT_FALSE(key->readDword("t"));
    EXPECT_FALSE(key->readDword("missing"));
    ASSERT_TRUE(key->deleteValue("N"));
    EXPECT_FALSE(key->readDword("n"));
    EXPECT_FALSE(key->writeDword("bad=name", 1));
    EXPECT_FALSE(key->writeDword("", 1));
}

TEST_F(SettingsStoreTest, DamagedValuesReadAsMissing) {
    writeBytes(dir_.file("machine.reg"), "[K]\r\na=dword:zz\r\nb=dword:123456789\r\n"
                                         "c=sz:\"open\r\nd=hex:0\r\ne=hex:01,\r\nf=sz:\"bad\\q\"\r\n"
                                         "g=dword:\r\n");
    auto key = mv::SettingsKey::open(mv::SettingsRoot::Machine, "K");
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->readDword("a"));
    EXPECT_FALSE(key->readDword("b"));
    EXPECT_FALSE(key->readText("c"));
    EXPECT_FALSE(key->readBinary("d"));
    EXPECT_FALSE(key->readBinary("e"));
    EXPECT_FALSE(key->readText("f"));
    EXPECT_FALSE(key->readDword("g"));
}

TEST_F(SettingsStoreTest, MissingKeysAreNotCreatedUnlessAsked) {
    EXPECT_FALSE(mv::SettingsKey::open(mv::SettingsRoot::Machine, "SOFTWARE\\Kelvane\\Morvelan"));
    EXPECT_FALSE(std::filesystem::exists(dir_.file("machine.reg")));
    writeBytes(dir_.file("machine.reg"),
               "[SOFTWARE\\Kelvane\\Morvelan]\r\nInstall=sz:\"/opt/morvelan\"\r\n");
    auto key = mv::SettingsKey::open(mv::SettingsRoot::Machine, "SOFTWARE\\KELVANE\\Morvelan");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readText("install"), "/opt/morvelan");
}

TEST_F(SettingsStoreTest, StoreLocations) {
    EXPECT_EQ(mv::settingsStorePath(mv::SettingsRoot::Machine), dir_.file("machine.reg"));
    ::unsetenv(mv::kMachineStoreEnv);
    ::unsetenv(mv::kUserStoreEnv);
    EXPECT_EQ(mv::settingsStorePath(mv::SettingsRoot::Machine),
              mv::programFolder() + "/machine.reg");
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(mv::settingsStorePath(mv::SettingsRoot::User),
              "/somewhere/config/Kelvane/Morvelan.reg");
    if (old)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_TRUE(std::filesystem::exists(mv::programFolder()));
}

TEST_F(SettingsStoreTest, RecentFilesKeepFourMostRecentFirst) {
    std::vector<std::string> files;
    for (const char* f : {"/p/a.mvl", "/p/b.mvl", "/p/c.mvl", "/p/a.mvl", "/p/d.mvl", "/p/e.mvl"})
        mv::addRecentFile(files, f);
    EXPECT_EQ(files, (std::vector<std::string>{"/p/e.mvl", "/p/d.mvl", "/p/a.mvl", "/p/c.mvl"}));
    ASSERT_TRUE(mv::saveRecentFiles(files));
    mv::iniClearCache();
    EXPECT_EQ(mv::loadRecentFiles(), files);
    ASSERT_TRUE(mv::saveRecentFiles({"/only.mvl"}));
    EXPECT_EQ(mv::loadRecentFiles(), std::vector<std::string>{"/only.mvl"});
}

TEST_F(SettingsStoreTest, ComPortMapNamesDevices) {
    EXPECT_EQ(mv::storedComPortDevice(2), "");
    auto key = mv::SettingsKey::open(mv::SettingsRoot::User, mv::kComPortMapKey, true);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->writeText("COM2", "/dev/ttyUSB0"));
    EXPECT_EQ(mv::storedComPortDevice(2), "/dev/ttyUSB0");
    EXPECT_EQ(mv::storedComPortDevice(1), "");
    EXPECT_EQ(mv::storedComPortDevice(0), "");
}

} // namespace
