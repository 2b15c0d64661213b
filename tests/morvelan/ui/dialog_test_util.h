// Shared helpers of the dialog tests: the sample installation's language table and catalogue,
// application and document hooks that record what the dialogs asked for, answered messages and
// file dialogs, and clicks on real controls.
#pragma once

#include "tests/test_paths.h"
#include "tests/xui/xbase_test_support.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/language.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/core/param_record.h"
#include "morvelan/ui/module_dialog_seams.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "xui/command.h"
#include "xui/message_dlg.h"
#include "xui/xdialog.h"
#include "xui/xgrid_ctrl.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace dlgtest {

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Application hooks: texts of the sample language table; the value editors are recorded and
// answered by `onEdit` (kind: "ip", "choice", "radio", "range").
class Hooks : public mv::IAppHooks {
public:
    Hooks() {
        language.SetProgramDirectory(mvtest::SampleDataDir());
        language.Load("English");
        mv::setAppHooks(this);
    }
    ~Hooks() override { mv::setAppHooks(nullptr); }
    std::string LanguageText(int number) override { return language.GetText(number); }
    int EditAddressParam(CModulParam& p) override { return Edit("ip", p); }
    int EditChoiceParam(CModulParam& p) override { return Edit("choice", p); }
    int EditRadioParam(CModulParam& p) override { return Edit("radio", p); }
    int EditRangeParam(CModulParam& p) override { return Edit("range", p); }
    int Edit(const std::string& kind, CModulParam& p) {
        edits.push_back(kind + ":" + p.name);
        if (onEdit)
            onEdit(p);
        return mv::IDOK;
    }
    mv::CLanguage language;
    std::vector<std::string> edits;
    std::function<void(CModulParam&)> onEdit;
};

// Document hooks over the sample installation, with the tree's selection.
class DocHooks : public mv::IDocHooks {
public:
    DocHooks() { mv::setDocHooks(this); }
    ~DocHooks() override { mv::setDocHooks(nullptr); }
    std::string ProgramDir() override { return mvtest::SampleDataDir(); }
    const CModuleDescriptionList* Catalogue() override { return catalogue; }
    CModuleTile* SelectedTile() override { return selected; }
    int HorizontalScroll() override { return hScroll; }
    int VerticalScroll() override { return vScroll; }
    const CModuleDescriptionList* catalogue = nullptr;
    CModuleTile* selected = nullptr;
    int hScroll = 0;
    int vScroll = 0;
};

// The workspace the insertion dialogs see, recording what they asked of it.
class Workspace : public morvelan::IModuleWorkspace {
public:
    explicit Workspace(CMorvelanDoc* doc) : doc(doc) {}
    CMorvelanDoc* Document() override { return doc; }
    void FillTree() override { calls.push_back("FillTree"); }
    void RepaintView() override { calls.push_back("RepaintView"); }
    void SelectModul(CModuleTile* tile) override {
        calls.push_back("SelectModul");
        selectedInTree = tile;
    }
    CMorvelanDoc* doc;
    std::vector<std::string> calls;
    CModuleTile* selectedInTree = nullptr;
};

// The fixture of every dialog test: Qt, hooks, the sample catalogue, answered messages, file
// dialogs and documentation.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        xbase_test::app();
        xbase_test::registerStandInButton();
        ModuleDescriptionContext context;
        context.programDir = mvtest::SampleDataDir();
        setModuleDescriptionContext(context);
        mv::FakeClock clock;
        catalogue.Scan(mvtest::SampleDataDir(), "English", {}, clock);
        docHooks.catalogue = &catalogue;
        xui::setMessagePresenter([this](const xui::MessageRequest& r) {
            messages.push_back(r);
            return mv::IDOK;
        });
        morvelan::setFileChooser([this](const morvelan::FileDialogSpec& wanted, QWidget*) {
            specs.push_back(wanted);
            return chosenPath;
        });
        morvelan::setDocumentationOpener(
            [this](const std::string& name) { documentation.push_back(name); });
        morvelan::setModuleInfoViewer(
            [this](const std::string& name, QWidget*) { information.push_back(name); });
        char pattern[] = "/tmp/mv_dlgtest_XXXXXX";
        tmp = ::mkdtemp(pattern);
    }
    void TearDown() override {
        xui::setMessagePresenter({});
        morvelan::setFileChooser({});
        morvelan::setDocumentationOpener({});
        morvelan::setModuleInfoViewer({});
        setModuleDescriptionContext(ModuleDescriptionContext{});
        mv::iniClearCache();
        std::error_code ec;
        std::filesystem::remove_all(tmp, ec);
    }

    // A command from a control of the dialog, delivered at once.
    static void Command(xui::CXDialog& d, int id) {
        xui::postCommandTo(&d, id);
        QCoreApplication::sendPostedEvents(&d);
    }
    // Clicks a grid row (first column) with the mouse and delivers what it posted.
    static void ClickRow(xui::XGridCtrl& grid, int row, bool twice = false) {
        const int screen = row - grid.firstVisibleRow();
        const QPoint at(grid.columnOffset(0) + 5, screen * grid.rowHeight() + grid.rowHeight() / 2);
        QTest::mouseClick(&grid, Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(&grid, Qt::LeftButton, {}, at);
        QCoreApplication::sendPostedEvents();
    }
    static std::string Cell(const xui::XGridCtrl& grid, int row, int column) {
        std::string text;
        grid.GetCellText(row, column, text);
        return text;
    }
    // The texts of one column from row 1 down to the first empty row.
    static std::vector<std::string> Column(const xui::XGridCtrl& grid, int column) {
        std::vector<std::string> out;
        for (int r = 1; r < grid.rowCount() && !Cell(grid, r, column).empty(); ++r)
            out.push_back(Cell(grid, r, column));
        return out;
    }

    Hooks hooks;
    DocHooks docHooks;
    CModuleDescriptionList catalogue;
    std::vector<xui::MessageRequest> messages;
    std::vector<morvelan::FileDialogSpec> specs;
    std::string chosenPath;
    std::vector<std::string> documentation;
    std::vector<std::string> information;
    std::string tmp;
};

} // namespace dlgtest
