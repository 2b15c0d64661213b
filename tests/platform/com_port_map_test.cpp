#include "platform/com_ports.h"
#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// COM n is found from the environment first, then from the per-user port map, then the default
// device.
class ComPortMap : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("mv_com_map_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        setenv(mv::kUserStoreEnv, (dir_ / "user.reg").c_str(), 1);
        unsetenv("PORTWIRE_COM3");
    }
    void TearDown() override {
        unsetenv(mv::kUserStoreEnv);
        unsetenv("PORTWIRE_COM3");
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_;
};

TEST_F(ComPortMap, DefaultEnvironmentAndUserMapInThatOrder) {
    EXPECT_EQ(mv::comPortDevice(3), "/dev/ttyS2");

    auto key = mv::SettingsKey::open(mv::SettingsRoot::User, mv::kComPortMapKey, true);
    ASSERT_TRUE(key.has_value());
    ASSERT_TRUE(key->writeText("COM3", "/dev/ttyUSB0"));
    EXPECT_EQ(mv::comPortDevice(3), "/dev/ttyUSB0");
    EXPECT_EQ(mv::comPortDevice(4), "/dev/ttyS3");

    setenv("PORTWIRE_COM3", "/dev/pts/7", 1);
    EXPECT_EQ(mv::comPortDevice(3), "/dev/pts/7");
}

} // namespace
