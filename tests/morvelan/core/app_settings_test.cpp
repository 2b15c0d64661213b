// Settings of the application object: the machine and per-user stores, morvelan.ini, the
// operating-system name and the documentation search.
#include "morvelan/core/app_state.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// A program folder with Sprache.txt and morvelan.ini, and both stores in a temporary folder.
class AppSettings : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/mv-app-XXXXXX";
        root_ = ::mkdtemp(name);
        prog_ = root_ + "/prog";
        fs::create_directories(prog_ + "/Modul/pdf");
        write(prog_ + "/Sprache.txt", "ID;English;Deutsch\r\n1;Yes;Ja\r\n2;No;Nein\r\n");
        machine_ = root_ + "/machine.reg";
        user_ = root_ + "/cfg/Kelvane/Morvelan.reg";
        ::setenv(mv::kMachineStoreEnv, machine_.c_str(), 1);
        ::setenv(mv::kUserStoreEnv, user_.c_str(), 1);
        mv::iniClearCache();
    }
    void TearDown() override {
        ::unsetenv(mv::kMachineStoreEnv);
        ::unsetenv(mv::kUserStoreEnv);
        fs::remove_all(root_);
        mv::iniClearCache();
    }
    static void write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    void installMachine() {
        write(machine_, "[SOFTWARE\\Kelvane\\Morvelan]\r\nInstall=sz:\"" + prog_ + "\"\r\n");
    }
    mv::SettingsKey userKey() { return mv::SettingsKey(user_, kRegistryKey); }

    std::string root_, prog_, machine_, user_;
};

TEST_F(AppSettings, MissingInstallStopsTheStart) {
    CMorvelanAppBase app;
    EXPECT_EQ(app.ReadRegistrySettings(), 0);
    write(machine_, "[SOFTWARE\\Kelvane\\Morvelan]\r\nOther=sz:\"x\"\r\n");
    EXPECT_EQ(app.ReadRegistrySettings(), 0);
}

TEST_F(AppSettings, FreshUserStoreTakesDefaultsAndWritesThemBack) {
    installMachine();
    CMorvelanAppBase app;
    ASSERT_EQ(app.ReadRegistrySettings(), 1);
    EXPECT_EQ(app.m_ProgramDir, prog_);
    EXPECT_EQ(app.m_Com, 1);
    EXPECT_EQ(app.m_TcpPort, 32000);
    EXPECT_EQ(app.m_IpAddress, 0u);
    EXPECT_EQ(app.m_PaperSize, (std::array<std::int32_t, 3>{3, 0, 0}));
    EXPECT_EQ(app.m_PrintMode, 1);
    EXPECT_EQ(app.m_Language.LanguageName(), "English");
    EXPECT_EQ(app.m_Language.GetText(1), "Yes");

    ASSERT_TRUE(app.WriteRegistrySettings());
    mv::iniClearCache();
    const auto key = userKey();
    EXPECT_EQ(key.readDword("COM"), 1u);
    EXPECT_EQ(key.readDword("Port"), 32000u);
    EXPECT_EQ(key.readDword("TcpIp"), 0u);
    EXPECT_EQ(key.readDword("Printmode"), 1u);
    EXPECT_EQ(key.readText("Sprache"), "English");
    EXPECT_EQ(key.readBinary("Papersize"),
              (std::vector<std::uint8_t>{3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(AppSettings, StoredUserValuesAreTakenAndWrittenBack) {
    installMachine();
    fs::create_directories(fs::path(user_).parent_path());
    const auto key = userKey();
    ASSERT_TRUE(key.writeDword("COM", 5));
    ASSERT_TRUE(key.writeText("Sprache", "Deutsch"));
    ASSERT_TRUE(key.writeBinary("Papersize", {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0}));
    ASSERT_TRUE(key.writeDword("TcpIp", 0x7F000001));
    ASSERT_TRUE(key.writeDword("Port", 502));
    ASSERT_TRUE(key.writeDword("Printmode", 2));
    CMorvelanAppBase app;
    ASSERT_EQ(app.ReadRegistrySettings(), 1);
    EXPECT_EQ(app.m_Com, 5);
    EXPECT_EQ(app.m_Language.GetText(2), "Nein");
    EXPECT_EQ(app.m_PaperSize, (std::array<std::int32_t, 3>{1, -1, 7}));
    EXPECT_EQ(app.m_IpAddress, 0x7F000001u);
    EXPECT_EQ(app.m_TcpPort, 502);
    EXPECT_EQ(app.m_PrintMode, 2);
    app.m_IpAddress = 0x0A000001; // as a command line "IP=10.0.0.1" would set it
    ASSERT_TRUE(app.WriteRegistrySettings());
    mv::iniClearCache();
    EXPECT_EQ(userKey().readDword("TcpIp"), 0x0A000001u);
    EXPECT_EQ(userKey().readText("Sprache"), "Deutsch");
}

TEST_F(AppSettings, MissingUserValuesUseTheNewKeyDefaults) {
    installMachine();
    fs::create_directories(fs::path(user_).parent_path());
    write(user_, "[SOFTWARE\\Kelvane\\Morvelan]\r\nSprache=sz:\"Klingon\"\r\n");
    CMorvelanAppBase app;
    app.m_Com = 77;
    app.m_TcpPort = 77;
    app.m_IpAddress = 77;
    ASSERT_EQ(app.ReadRegistrySettings(), 1);
    EXPECT_EQ(app.m_Com, 1);
    EXPECT_EQ(app.m_IpAddress, 0u);
    EXPECT_EQ(app.m_TcpPort, 32000);
    EXPECT_EQ(app.m_PaperSize, (std::array<std::int32_t, 3>{0, 0, 0})) << "construction values";
    EXPECT_EQ(app.m_PrintMode, 0);
    EXPECT_EQ(app.m_Language.LanguageName(), "English") << "a language the file lacks";
}

TEST_F(AppSettings, UserInstallReplacesTheProgramFolder) {
    installMachine();
    fs::create_directories(prog_ + "2");
    fs::copy_file(prog_ + "/Sprache.txt", prog_ + "2/Sprache.txt");
    fs::create_directories(fs::path(user_).parent_path());
    ASSERT_TRUE(userKey().writeText("Install", prog_ + "2"));
    // The table is loaded from the machine-wide folder, before the per-user one replaces it.
    write(prog_ + "2/Sprache.txt", "ID;English\r\n1;Per-user table\r\n");
    CMorvelanAppBase app;
    ASSERT_EQ(app.ReadRegistrySettings(), 1);
    EXPECT_EQ(app.m_ProgramDir, prog_ + "2");
    EXPECT_EQ(app.m_Language.GetText(1), "Yes");
    // A per-user folder without a table does not stop the start.
    fs::remove(prog_ + "2/Sprache.txt");
    CMorvelanAppBase again;
    EXPECT_EQ(again.ReadRegistrySettings(), 1);
    // Later loads (the language dialog) read the folder now in force.
    write(prog_ + "2/Sprache.txt", "ID;English\r\n1;Per-user table\r\n");
    EXPECT_EQ(again.m_Language.Load("English"), 1);
    EXPECT_EQ(again.m_Language.GetText(1), "Per-user table");
}

TEST_F(AppSettings, NoLanguageTableStopsTheStart) {
    installMachine();
    fs::remove(prog_ + "/Sprache.txt");
    CMorvelanAppBase app;
    EXPECT_EQ(app.ReadRegistrySettings(), 0);
}

TEST_F(AppSettings, IniSettingsAndTheirDefaults) {
    CMorvelanAppBase app;
    app.m_ProgramDir = prog_;
    app.ReadIniSettings();
    EXPECT_EQ(app.m_Ini.stepTimer, 500);
    EXPECT_EQ(app.m_Ini.onlineTimer, 10);
    EXPECT_EQ(app.m_Ini.logo, 1);
    EXPECT_EQ(app.m_Ini.clearArp, 0);
    EXPECT_EQ(app.m_Ini.doku, "PDF");
    EXPECT_EQ(app.m_Ini.writeTimeout, 5000);
    write(prog_ + "/MORVELAN.INI", "[SETUP]\r\nT=1\r\nMEM=1\r\nTIMER=250\r\nDoku=jpg\r\nLOGO=2\r\n"
                                   "CLEAR_ARP=3\r\nSERINFO=0\r\nDoku=JPG\r\n");
    app.ReadIniSettings();
    EXPECT_EQ(app.m_Ini.toolbarOption, 1);
    EXPECT_EQ(app.m_Ini.memory, 1);
    EXPECT_EQ(app.m_Ini.stepTimer, 250);
    EXPECT_EQ(app.m_Ini.doku, "jpg");
    EXPECT_FALSE(app.m_Ini.pictureDocumentation()) << "exact compare";
    EXPECT_EQ(app.m_Ini.logo, 2);
    EXPECT_EQ(app.m_ClearArp, 3);
    EXPECT_EQ(app.m_SerInfo, 0);
}

TEST_F(AppSettings, OsNameIsTheKernelWithItsVersion) {
    CMorvelanAppBase app;
    const std::string name = app.GetOSName();
    EXPECT_EQ(name.rfind("Linux ", 0), 0u) << name;
    EXPECT_EQ(name.find('-'), std::string::npos) << name;
    EXPECT_EQ(app.m_OsName, name);
}

TEST_F(AppSettings, DocumentationSearchTakesTheHighestNumber) {
    write(prog_ + "/Modul/D2110.kvn", "[FILEINFO]\r\nDevice=Morvelan\r\n[MORVELAN]\r\n"
                                      "Description=D2110\r\nDoku=D2110\r\n");
    write(prog_ + "/Modul/pdf/D21100003.pdf", "%PDF");
    write(prog_ + "/Modul/pdf/D21100007.pdf", "%PDF");
    write(prog_ + "/Modul/pdf/D21100021.pdf", "%PDF"); // above the search range
    CMorvelanAppBase app;
    app.m_ProgramDir = prog_;
    mv::FakeClock clock;
    mv::setProcessClock(&clock);
    app.ScanCatalogue(nullptr);
    mv::setProcessClock(nullptr);
    EXPECT_EQ(app.FindModuleDocumentation("d2110"), prog_ + "/Modul/pdf/D21100007.pdf");
    fs::remove(prog_ + "/Modul/pdf/D21100007.pdf");
    fs::remove(prog_ + "/Modul/pdf/D21100003.pdf");
    EXPECT_EQ(app.FindModuleDocumentation("D2110"), "");
    EXPECT_EQ(app.FindModuleDocumentation(""), "");
    EXPECT_EQ(app.FindModuleDocumentation("Unknown"), "");
}

TEST_F(AppSettings, IdleCounterStopsAtZero) {
    CMorvelanAppBase app;
    app.m_IdleCounter = 2;
    app.CountIdle();
    app.CountIdle();
    app.CountIdle();
    EXPECT_EQ(app.m_IdleCounter, 0);
}

} // namespace
