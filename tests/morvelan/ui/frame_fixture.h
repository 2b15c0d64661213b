// The running program for workspace tests: a copy of the sample installation in a temporary
// folder, both settings stores there, the catalogue's closing pause on a fake clock, messages
// and shell calls answered and recorded. start() runs the real start-up, frame included.
#pragma once

#include "tests/test_paths.h"

#include "morvelan/ui/frame_seams.h"
#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/module_tile_wnd.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/morvelan_view.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/settings_store.h"
#include "xui/message_dlg.h"

#include <QApplication>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace frametest {

namespace fs = std::filesystem;

inline QApplication& qapp() {
    static int argc = 1;
    static char name[] = "frame_test";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// The window that shows a tile.
inline CModuleTileWnd* windowOf(CModuleTile& tile) {
    for (QWidget* w : QApplication::allWidgets()) {
        auto* window = qobject_cast<CModuleTileWnd*>(w);
        if (window && &window->Tile() == &tile)
            return window;
    }
    return nullptr;
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        qapp();
        char name[] = "/tmp/mv-frame-XXXXXX";
        root_ = ::mkdtemp(name);
        prog_ = root_ + "/prog";
        fs::copy(mvtest::SampleDataDir(), prog_, fs::copy_options::recursive);
        fs::remove(prog_ + "/CMakeLists.txt");
        machine_ = root_ + "/machine.reg";
        user_ = root_ + "/user.reg";
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
        seams_ = dialogSeams();
        app_ = std::make_unique<CMorvelanApp>();
        app_->m_SystemMessage = [this](const std::string& c, const std::string& t) {
            systemMessages_.push_back(c + "|" + t);
        };
        app_->m_SystemInformation = app_->m_SystemMessage;
        app_->m_CurrentDirectory = [this] { return root_; };
        app_->m_OpenDocumentFile = [this](const std::string& path) {
            opened_.push_back(path);
            return true;
        };
    }
    void TearDown() override {
        if (app_ && app_->m_pFrame)
            app_->ExitInstance();
        app_.reset();
        dialogSeams() = seams_;
        xui::setMessagePresenter(nullptr);
        mv::setProcessClock(nullptr);
        ::unsetenv(mv::kMachineStoreEnv);
        ::unsetenv(mv::kUserStoreEnv);
        fs::remove_all(root_);
        mv::iniClearCache();
    }
    // Sets a key of the copied morvelan.ini before start-up.
    void setIni(const std::string& key, const std::string& value) {
        mv::iniWriteString(prog_ + "/morvelan.ini", "Setup", key, value);
        mv::iniClearCache();
    }
    int start(std::vector<std::string> args = {}) {
        std::vector<const char*> argv{"morvelan"};
        for (const std::string& a : args)
            argv.push_back(a.c_str());
        const int ok = app_->InitInstance(static_cast<int>(argv.size()), argv.data());
        QApplication::processEvents();
        return ok;
    }
    int startWithDemo() { return start({prog_ + "/samples/demo.mvl"}); }

    CMainFrame& frame() { return *app_->m_pFrame; }
    CLeftView& tree() { return *frame().Tree(); }
    CMorvelanDoc& doc() { return frame().Doc(); }
    CStation& station(int i) { return *doc().Station(i); }
    CModuleTile& tile(int s, int j) { return *doc().Station(s)->Tile(j); }
    void select(CModuleTile* tile) {
        tree().SelectModul(tile);
        QApplication::processEvents();
    }
    // The texts of the tree: each item indented by two blanks per level.
    std::vector<std::string> treeLines() {
        std::vector<std::string> out;
        std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth) {
            out.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') +
                          item->text(0).toStdString());
            for (int i = 0; i < item->childCount(); ++i)
                walk(item->child(i), depth + 1);
        };
        for (int i = 0; i < tree().topLevelItemCount(); ++i)
            walk(tree().topLevelItem(i), 0);
        return out;
    }

    std::string root_, prog_, machine_, user_;
    mv::FakeClock clock_;
    std::unique_ptr<CMorvelanApp> app_;
    DialogSeams seams_;
    std::vector<xui::MessageRequest> messages_;
    std::vector<std::string> systemMessages_;
    std::vector<std::string> opened_;
};

} // namespace frametest
