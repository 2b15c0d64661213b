// The main frame's commands and seams that run the module dialogs, in the real program started
// over a copy of the sample installation: a station inserted and boards added through commands
// 32771 and 32772 (tree, windows, selection), the module list, the port choice, and the tree's
// and tiles' dialogs.
#include "morvelan/core/command_ids.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/station.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/frame_seams.h"
#include "morvelan/ui/label_dlgs.h"
#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/modul_list_dlg.h"
#include "morvelan/ui/module_insert_dlgs.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/port_select_dlg.h"
#include "morvelan/ui/project_dlg.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/settings_store.h"
#include "tests/test_paths.h"
#include "xui/command.h"
#include "xui/message_dlg.h"
#include "xui/xgrid_ctrl.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

namespace fs = std::filesystem;
using namespace morvelan;

QApplication& qapp() {
    static int argc = 1;
    static char name[] = "module_dialog_commands_test";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// Runs `drive` on the modal dialog of type T once it is up.
template <class T> void WhenModal(std::function<void(T&)> drive) {
    QTimer::singleShot(0, [drive] {
        auto* d = qobject_cast<T*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        drive(*d);
    });
}

void ClickRow(xui::XGridCtrl& grid, int row) {
    QTest::mouseClick(&grid, Qt::LeftButton, {},
                      QPoint(5, (row - grid.firstVisibleRow()) * grid.rowHeight() + 10));
}

class FrameDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        qapp();
        char name[] = "/tmp/mv-framedlg-XXXXXX";
        root_ = ::mkdtemp(name);
        const std::string prog = root_ + "/prog";
        fs::copy(mvtest::SampleDataDir(), prog, fs::copy_options::recursive);
        machine_ = root_ + "/machine.reg";
        std::ofstream(machine_, std::ios::binary)
            << "[SOFTWARE\\Kelvane\\Morvelan]\r\nInstall=sz:\"" << prog << "\"\r\n";
        ::setenv(mv::kMachineStoreEnv, machine_.c_str(), 1);
        ::setenv(mv::kUserStoreEnv, (root_ + "/user.reg").c_str(), 1);
        mv::iniClearCache();
        mv::setProcessClock(&clock_);
        xui::setMessagePresenter([](const xui::MessageRequest&) { return mv::IDOK; });
        app_ = std::make_unique<CMorvelanApp>();
        app_->m_CurrentDirectory = [this] { return root_; };
        app_->m_SystemMessage = [](const std::string&, const std::string&) {};
        const char* args[] = {"morvelan"};
        ASSERT_EQ(app_->InitInstance(1, args), 1);
        frame_ = app_->m_pFrame;
        ASSERT_NE(frame_, nullptr);
    }
    void TearDown() override {
        app_->ExitInstance();
        app_.reset();
        xui::setMessagePresenter({});
        mv::setProcessClock(nullptr);
        ::unsetenv(mv::kMachineStoreEnv);
        ::unsetenv(mv::kUserStoreEnv);
        fs::remove_all(root_);
        mv::iniClearCache();
    }

    std::string root_, machine_;
    mv::FakeClock clock_;
    std::unique_ptr<CMorvelanApp> app_;
    CMainFrame* frame_ = nullptr;
};

TEST_F(FrameDialogs, InsertStationAndBoardsThroughTheCommands) {
    ASSERT_TRUE(frame_->IsCommandEnabled(ID_INSERT_CONTROLLER));
    WhenModal<CInsertControlModuleDlg>([](CInsertControlModuleDlg& d) {
        ClickRow(*d.grid(), 3); // X740
        d.itemAs<QLineEdit>(IDC_NAME_EDIT)->setText("Press line");
        xui::postCommandTo(&d, mv::IDOK);
    });
    ASSERT_TRUE(frame_->OnCommand(ID_INSERT_CONTROLLER));
    ASSERT_EQ(frame_->Doc().StationCount(), 1);
    CStation& station = *frame_->Doc().Station(0);
    EXPECT_EQ(station.m_Name, "Press line");
    CModuleTile* head = station.Tile(0);
    EXPECT_EQ(frame_->SelectedTile(), head);
    EXPECT_NE(head->Window(), nullptr);
    EXPECT_EQ(app_->m_LayoutMode, 1);

    ASSERT_TRUE(frame_->IsCommandEnabled(ID_ADD_MODULES));
    WhenModal<CAddModulesDlg>([](CAddModulesDlg& d) {
        for (int row : {6, 7}) { // D2110, D2210
            ClickRow(*d.source(), row);
            xui::postCommandTo(&d, IDC_ADD);
        }
        xui::postCommandTo(&d, mv::IDOK);
    });
    ASSERT_TRUE(frame_->OnCommand(ID_ADD_MODULES));
    ASSERT_EQ(station.TileCount(), 3);
    EXPECT_EQ(station.Tile(2)->Description()->m_Description, "D2210");
    EXPECT_EQ(station.Tile(2)->m_Slot, 1);
    EXPECT_NE(station.Tile(2)->Window(), nullptr);
    EXPECT_EQ(frame_->SelectedTile(), station.Tile(2));

    // The tree's properties of the controller: the station dialog.
    frame_->Tree()->SelectModul(head);
    WhenModal<CChangeModuleDlg>([](CChangeModuleDlg& d) {
        d.itemAs<QLineEdit>(IDC_COMMENT_EDIT)->setText("Hall 2");
        xui::postCommandTo(&d, mv::IDOK);
    });
    ASSERT_TRUE(dialogSeams().changeModuleDialog);
    dialogSeams().changeModuleDialog(0);
    EXPECT_EQ(station.m_Comment, "Hall 2");

    // A tile's label and slider labels.
    WhenModal<CLabelDlg>([](CLabelDlg& d) {
        d.itemAs<QLineEdit>(IDC_LINE1_EDIT)->setText("Inputs");
        xui::postCommandTo(&d, mv::IDOK);
    });
    EXPECT_EQ(dialogSeams().labelDialog(*station.Tile(1)), mv::IDOK);
    EXPECT_EQ(station.Tile(1)->m_Lines[0], "Inputs");
    WhenModal<CControllerSliderLabelDlg>([](CControllerSliderLabelDlg& d) {
        d.itemAs<QLineEdit>(IDC_LINE5_EDIT)->setText("Run");
        xui::postCommandTo(&d, mv::IDOK);
    });
    dialogSeams().controllerSliderLabelDialog(*head);
    EXPECT_EQ(head->m_Sliders[4], "Run");
}

TEST_F(FrameDialogs, ModuleListPortAndProject) {
    ASSERT_TRUE(frame_->IsCommandEnabled(ID_SHOW_MODULES));
    WhenModal<CModulListDlg>([](CModulListDlg& d) { xui::postCommandTo(&d, mv::IDOK); });
    EXPECT_TRUE(frame_->OnCommand(ID_SHOW_MODULES));
    EXPECT_EQ(frame_->IsPollingEnabled(), 1);

    ASSERT_TRUE(frame_->IsCommandEnabled(ID_PORT));
    app_->m_Com = 1;
    WhenModal<CPortSelectDlg>([](CPortSelectDlg& d) {
        EXPECT_TRUE(d.radio(1)->isChecked());
        d.radio(5)->click();
        xui::postCommandTo(&d, mv::IDOK);
    });
    EXPECT_TRUE(frame_->OnCommand(ID_PORT));
    EXPECT_EQ(app_->m_Com, 5);

    WhenModal<CProjectDlg>([](CProjectDlg& d) {
        d.itemAs<QLineEdit>(IDC_PROJECT_NAME_EDIT)->setText("Plant");
        xui::postCommandTo(&d, mv::IDOK);
    });
    dialogSeams().projectDialog();
    EXPECT_EQ(frame_->Doc().m_Name, "Plant");
}

} // namespace
