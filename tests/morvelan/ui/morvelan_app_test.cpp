// Start-up and exit of morvelan with the sample installation, the start dialogs, and the
// module documentation command.
#include "morvelan/ui/morvelan_app.h"
#include "tests/test_paths.h"
#include "morvelan/ui/start_dlg.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/settings_store.h"
#include "xui/message_dlg.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

QApplication& qapp() {
    static int argc = 1;
    static char name[] = "morvelan_app_test";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// A copy of the sample installation and both stores in a temporary folder; messages are
// answered instead of shown, and the scan's closing pause runs on a fake clock.
class MorvelanStart : public ::testing::Test {
protected:
    void SetUp() override {
        qapp();
        char name[] = "/tmp/mv-start-XXXXXX";
        root_ = ::mkdtemp(name);
        prog_ = root_ + "/Morvelan Program";
        fs::copy(mvtest::SampleDataDir(), prog_, fs::copy_options::recursive);
        fs::remove(prog_ + "/CMakeLists.txt");
        machine_ = root_ + "/machine.reg";
        user_ = root_ + "/config/Kelvane/Morvelan.reg";
        std::ofstream(machine_, std::ios::binary)
            << "[SOFTWARE\\Kelvane\\Morvelan]\r\nInstall=sz:\"" << prog_ << "\"\r\n";
        ::setenv(mv::kMachineStoreEnv, machine_.c_str(), 1);
        ::setenv(mv::kUserStoreEnv, user_.c_str(), 1);
        mv::iniClearCache();
        mv::setProcessClock(&clock_);
        xui::setMessagePresenter([this](const xui::MessageRequest& r) {
            messages_.push_back(r);
            return 1;
        });
        app_ = std::make_unique<CMorvelanApp>();
        app_->m_SystemMessage = [this](const std::string& caption, const std::string& text) {
            systemMessages_.push_back(caption + "|" + text);
        };
        app_->m_CurrentDirectory = [this] { return root_; };
        app_->m_OpenDocumentFile = [this](const std::string& path) {
            opened_.push_back(path);
            return true;
        };
    }
    void TearDown() override {
        app_.reset();
        xui::setMessagePresenter(nullptr);
        mv::setProcessClock(nullptr);
        ::unsetenv(mv::kMachineStoreEnv);
        ::unsetenv(mv::kUserStoreEnv);
        fs::remove_all(root_);
        mv::iniClearCache();
    }
    int start(std::vector<const char*> args = {}) {
        args.insert(args.begin(), "morvelan");
        return app_->InitInstance(static_cast<int>(args.size()), args.data());
    }

    std::string root_, prog_, machine_, user_;
    mv::FakeClock clock_;
    std::unique_ptr<CMorvelanApp> app_;
    std::vector<xui::MessageRequest> messages_;
    std::vector<std::string> systemMessages_;
    std::vector<std::string> opened_;
};

TEST_F(MorvelanStart, StartsWithTheSampleInstallationAndWritesTheUserStoreAtExit) {
    ASSERT_EQ(start({"-IP=192.168.0.10", "MSK=plant.msk"}), 1);
    EXPECT_TRUE(systemMessages_.empty());
    EXPECT_EQ(app_->m_ProgramDir, prog_);
    ASSERT_NE(app_->m_pMainWnd, nullptr);
    EXPECT_EQ(app_->m_pMainWnd->windowTitle(), "- - morvelan") << "a new project's title";
    // The start dialog has read the whole sample catalogue.
    EXPECT_GT(app_->m_Catalogue.GetSize(), 10);
    EXPECT_GE(app_->m_Catalogue.FindByName("X740"), 0);
    EXPECT_EQ(clock_.slept(), CModuleDescriptionList::kScanEndPauseMs);
    EXPECT_EQ(app_->m_MaskFile, "plant.msk");
    EXPECT_EQ(app_->m_IpAddress, 0xC0A8000Au);
    EXPECT_EQ(app_->m_Ini.history, 1) << "the sample morvelan.ini is read";

    app_->ExitInstance();
    EXPECT_EQ(app_->m_Catalogue.GetSize(), 0);
    mv::iniClearCache();
    const mv::SettingsKey key(user_, kRegistryKey);
    EXPECT_EQ(key.readDword("COM"), 1u);
    EXPECT_EQ(key.readDword("Port"), 32000u);
    EXPECT_EQ(key.readDword("TcpIp"), 0xC0A8000Au) << "the command line's address is kept";
    EXPECT_EQ(key.readText("Sprache"), "English");
    EXPECT_EQ(key.readDword("Printmode"), 1u);
}

TEST_F(MorvelanStart, SettingsAreWrittenWhenTheStartFailsLateAndAFailedWriteIsShown) {
    // A project that cannot be opened (a folder) ends the start after the main window was shown.
    std::vector<const char*> argv{"morvelan", "IP=10.0.0.7", root_.c_str()};
    EXPECT_EQ(app_->Run(static_cast<int>(argv.size()), argv.data()), 1);
    mv::iniClearCache();
    EXPECT_EQ(mv::SettingsKey(user_, kRegistryKey).readDword("TcpIp"), 0x0A000007u);

    // A store below a regular file cannot be written: the exit says where and why.
    systemMessages_.clear();
    const std::string blocked = root_ + "/file/user.reg";
    std::ofstream(root_ + "/file") << "x";
    ::setenv(mv::kUserStoreEnv, blocked.c_str(), 1);
    app_ = std::make_unique<CMorvelanApp>();
    app_->m_SystemMessage = [this](const std::string& caption, const std::string& text) {
        systemMessages_.push_back(caption + "|" + text);
    };
    app_->m_CurrentDirectory = [this] { return root_; };
    ASSERT_EQ(start(), 1);
    app_->ExitInstance();
    ASSERT_EQ(systemMessages_.size(), 1u);
    EXPECT_EQ(systemMessages_[0], "ERROR|SAVE " + blocked + " FAILURE: Not a directory\n");
}

TEST_F(MorvelanStart, AnAddressThatCannotBeReadKeepsTheStoredOneAndSaysSo) {
    fs::create_directories(fs::path(user_).parent_path());
    ASSERT_TRUE(mv::SettingsKey(user_, kRegistryKey).writeDword("TcpIp", 0x0A000005u));
    ASSERT_EQ(start({"IP=10.0.0.300"}), 1);
    EXPECT_EQ(app_->m_IpAddress, 0x0A000005u);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].line1, "Command line");
    EXPECT_EQ(messages_[0].line2, "IP=10.0.0.300: not an IPv4 address, the stored one is kept");
    EXPECT_EQ(messages_[0].bitmapId, 150);
    app_->ExitInstance();
}

TEST_F(MorvelanStart, ASettingsFileThatIsNoFileKeepsTheDefaultsAndSaysSo) {
    fs::remove(prog_ + "/morvelan.ini");
    ASSERT_EQ(::mkfifo((prog_ + "/morvelan.ini").c_str(), 0600), 0);
    ASSERT_EQ(start(), 1);
    EXPECT_EQ(app_->m_Ini.logo, 1);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].line1, prog_ + "/morvelan.ini");
    EXPECT_EQ(messages_[0].line2, "not a regular file");
    app_->ExitInstance();
}

TEST_F(MorvelanStart, MissingInstallShowsTheStartFailure) {
    fs::remove(machine_);
    EXPECT_EQ(start(), 0);
    ASSERT_EQ(systemMessages_.size(), 1u);
    EXPECT_EQ(systemMessages_[0], "Error Reading Registry|Programm can not be started");
    EXPECT_EQ(app_->m_pMainWnd, nullptr);
    EXPECT_FALSE(fs::exists(user_)) << "nothing is written";
}

TEST_F(MorvelanStart, ALanguageTableThatIsNoFileSaysWhyTheStartFails) {
    fs::remove(prog_ + "/Sprache.txt");
    ASSERT_EQ(::mkfifo((prog_ + "/Sprache.txt").c_str(), 0600), 0);
    EXPECT_EQ(start(), 0);
    EXPECT_EQ(systemMessages_,
              (std::vector<std::string>{prog_ + "/Sprache.txt|not a regular file",
                                        "Error Reading Registry|Programm can not be started"}));
}

TEST_F(MorvelanStart, SmallStartDialogAndGermanTexts) {
    std::ofstream(prog_ + "/morvelan.ini", std::ios::binary) << "[Setup]\r\nLOGO=0\r\n";
    fs::create_directories(fs::path(user_).parent_path());
    ASSERT_TRUE(mv::SettingsKey(user_, kRegistryKey).writeText("Sprache", "Deutsch"));
    ASSERT_EQ(start(), 1);
    const int d = app_->m_Catalogue.FindByName("D2110");
    ASSERT_GE(d, 0);
    EXPECT_EQ(app_->m_Catalogue[d]->m_DisplayName, "16 digitale Eing\xE4nge 24 V DC");
    app_->ExitInstance();
}

TEST_F(MorvelanStart, LastProjectIsOpenedFromTheProgramFolder) {
    std::ofstream(prog_ + "/morvelan.ini", std::ios::binary) << "[Setup]\r\nLOADLAST=1\r\n";
    std::ofstream(prog_ + "/Config.mvl", std::ios::binary) << "[Project]\r\n";
    std::vector<std::string> projects;
    app_->m_OpenProject = [&](const std::string& path) {
        projects.push_back(path);
        return true;
    };
    ASSERT_EQ(start(), 1);
    EXPECT_EQ(projects, std::vector<std::string>{prog_ + "/Config.mvl"});
    app_->ExitInstance();
}

TEST_F(MorvelanStart, DocumentationOpensTheNewestFileOrSaysThereIsNone) {
    ASSERT_EQ(start(), 1);
    const std::string pdf = prog_ + "/Modul/pdf/";
    std::ofstream(pdf + "D21100003.pdf") << "%PDF";
    std::ofstream(pdf + "D21100007.pdf") << "%PDF";
    app_->ShowModuleDocumentation("D2110");
    EXPECT_EQ(opened_, std::vector<std::string>{pdf + "D21100007.pdf"});

    app_->ShowModuleDocumentation("D2210");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].line1, "D2210");
    EXPECT_EQ(messages_[0].line2, "No documentation found");
    EXPECT_EQ(messages_[0].caption, "ERROR");
    EXPECT_EQ(messages_[0].bitmapId, 150);
    EXPECT_EQ(messages_[0].captionColor, 255u);

    app_->ShowModuleDocumentation("");
    EXPECT_EQ(messages_.size(), 1u) << "an empty type name does nothing";
    EXPECT_EQ(opened_.size(), 1u);

    // A shell that cannot open the file: the system's reason, caption "Error", information.
    std::vector<std::string> information;
    app_->m_SystemInformation = [&](const std::string& caption, const std::string& text) {
        information.push_back(caption + "|" + text);
    };
    app_->m_OpenDocumentFile = [](const std::string&) { return false; };
    ::chmod((pdf + "D21100007.pdf").c_str(), 0);
    const bool privileged = ::access((pdf + "D21100007.pdf").c_str(), R_OK) == 0;
    app_->ShowModuleDocumentation("D2110");
    ASSERT_EQ(information.size(), 1u);
    EXPECT_EQ(information[0], privileged ? "Error|No application is associated with the "
                                           "specified file for this operation."
                                         : std::string("Error|") + std::strerror(EACCES));
    EXPECT_TRUE(systemMessages_.empty());
    app_->ExitInstance();
}

TEST_F(MorvelanStart, FileOpenUsesTheProjectFilterAndRemembersTheFile) {
    ASSERT_EQ(start(), 1);
    std::string filterSeen;
    app_->m_ChooseOpenFile = [&](const std::string& filter) {
        filterSeen = filter;
        return std::string("/p/line.mvl");
    };
    EXPECT_TRUE(app_->OnCommand(ID_FILE_OPEN));
    EXPECT_EQ(filterSeen, "Morvelan Files (*.mvl)|*.mvl|All Files (*.*)|*.*|");
    EXPECT_EQ(app_->m_RecentFiles.front(), "/p/line.mvl");
    // "All Files" lists names without a dot too.
    EXPECT_EQ(QtFilterFromPipes(filterSeen), "Morvelan Files (*.mvl);;All Files (*)");
    EXPECT_EQ(QtFilterFromPipes("Pictures|*.bmp;*.jpg|"), "Pictures (*.bmp *.jpg)");
    // Save dialogs add the extension of their filter's first pattern.
    EXPECT_EQ(DefaultExtensionFromPipes(kSaveProjectFilter), "mvl");
    EXPECT_EQ(DefaultExtensionFromPipes(kPictureFilter), "emf");
    EXPECT_EQ(DefaultExtensionFromPipes("All Files (*.*)|*.*|"), "");
    EXPECT_FALSE(app_->OnCommand(12345));
    app_->ExitInstance();
    mv::iniClearCache();
    EXPECT_EQ(mv::loadRecentFiles(), std::vector<std::string>{"/p/line.mvl"});
}

TEST(StartDialog, ShowsEachFileThenTheVersionAndCloses) {
    qapp();
    std::vector<std::string> files;
    CStartDlg dlg("2.4.1", [&](const ModuleScanProgress& progress) {
        for (const char* f : {"A.kvn", "B.kvn"}) {
            progress(f);
            files.push_back(f);
        }
        return 2;
    });
    EXPECT_EQ(dlg.DoModal(), mv::IDOK);
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(dlg.statusText(), "Reading File : B.kvn");
    EXPECT_TRUE(dlg.versionShown());
    EXPECT_EQ(dlg.versionText(), "Version 2.4.1");
    EXPECT_EQ(dlg.width(), xui::dluToPixelsX(338));
    EXPECT_EQ(dlg.height(), xui::dluToPixelsY(258));

    CStart2Dlg small([](const ModuleScanProgress& progress) {
        progress("only.kvn");
        return 1;
    });
    EXPECT_EQ(small.DoModal(), mv::IDOK);
    EXPECT_EQ(small.statusText(), "Reading File : only.kvn");
    EXPECT_EQ(small.height(), xui::dluToPixelsY(60));
}

} // namespace
