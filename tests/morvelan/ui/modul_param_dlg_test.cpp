// The module parameter dialog on the boards of the sample project: the grid's groups and merged
// cells, Change from button and double click, Info, and parameter data files saved, loaded back,
// refused when written for another module, short, or not writable.
#include "dialog_test_util.h"

#include "morvelan/core/module_tile.h"
#include "morvelan/core/param_groups.h"
#include "morvelan/core/station.h"
#include "morvelan/ui/dialog_hooks.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/modul_param_dlg.h"
#include "morvelan/ui/value_dlgs.h"
#include "xui/color_combo_box.h"
#include "xui/window_class.h"

#include <QTimer>

namespace {

using namespace morvelan;
using Strings = std::vector<std::string>;

class ParamDialog : public dlgtest::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_EQ(doc.OnOpenDocument(mvtest::SampleDataDir() + "/samples/demo.mvl"), 1);
        board = doc.Station(0)->Tile(3);
        ASSERT_EQ(board->Description()->m_Description, "A3104");
    }
    std::vector<std::int32_t> Values() {
        std::vector<std::int32_t> v;
        for (const ParamGroup& g : ParamGroupsOf(&board->Module()))
            for (const CModulParam* p : g.params)
                v.push_back(p->value);
        return v;
    }
    // Runs Save or Load with the chooser answering `path`.
    void File(CModulParamDlg& d, int id, const std::string& path) {
        chosenPath = path;
        Command(d, id);
    }
    CMorvelanDoc doc;
    CModuleTile* board = nullptr;
};

TEST_F(ParamDialog, ShowsTheGroupsAndChangesValues) {
    EXPECT_EQ(board->m_OnlineParam, 2); // the project's running number of the board
    board->m_OnlineParam = -1;
    CModulParamDlg d(board, ParamGroupsOf(&board->Module()));
    d.ShowModeless();
    xui::XGridCtrl& g = *d.grid();
    EXPECT_EQ(d.windowTitle(), "Module parameters");
    EXPECT_EQ(d.totalParams(), 8);
    EXPECT_EQ(g.rowCount(), 9);
    EXPECT_EQ(g.fixedColumnCount(), 0);
    EXPECT_EQ(g.columnWidth(0), g.width() / 4);
    EXPECT_EQ(g.columnWidth(2), g.width() / 2 - g.GetClientWidth());
    EXPECT_EQ(Cell(g, 0, 0), "Group");
    EXPECT_EQ(Cell(g, 0, 2), "Value");
    EXPECT_EQ((Strings{Cell(g, 1, 0), Cell(g, 1, 1), Cell(g, 1, 2)}),
              (Strings{"Channel 1", "Signal range", "0 - 10 V"}));
    EXPECT_EQ((Strings{Cell(g, 2, 0), Cell(g, 2, 1), Cell(g, 2, 2)}),
              (Strings{"", "Upper limit", "2"}));
    EXPECT_EQ(Cell(g, 3, 0), "Channel 2");
    for (int row = 1; row < 9; ++row) {
        EXPECT_EQ(g.cellFlag(row, 0), row % 2 == 1 ? 1 : 0) << row;
        EXPECT_NE(g.GetCellData(row, 2), nullptr);
    }
    // Without a number: "----" and the type name.
    EXPECT_EQ(xui::windowText(d.item(IDC_LABEL_1012)), "----");
    EXPECT_EQ(xui::windowText(d.item(IDC_LABEL_1009)), "A3104");
    EXPECT_TRUE(d.item(IDC_CHANGE)->isEnabled());

    // Change on the heading does nothing; on a row it opens the value editor of its record.
    hooks.onEdit = [](CModulParam& p) { p.value = p.choiceCount ? 2 : 1234; };
    ClickRow(g, 0);
    Command(d, IDC_CHANGE);
    EXPECT_TRUE(hooks.edits.empty());
    ClickRow(g, 3);
    Command(d, IDC_CHANGE);
    ClickRow(g, 4, true); // double click
    EXPECT_EQ(hooks.edits, (Strings{"choice:Signal range", "range:Upper limit"}));
    EXPECT_EQ(Cell(g, 3, 2), "+/- 10 V");
    EXPECT_EQ(Cell(g, 4, 2), "1234");
    EXPECT_EQ(Values(), (std::vector<std::int32_t>{0, 2, 2, 1234, 0, 0, 0, 0}));

    Command(d, IDC_INFO);
    EXPECT_EQ(documentation, (Strings{"A3104"}));

    // The real choice dialog, run through the model's hook, stands over the grid.
    hooks.onEdit = [&d](CModulParam& p) {
        QTimer::singleShot(0, [&d] {
            auto* choice = qobject_cast<CChoiceDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(choice, nullptr);
            EXPECT_EQ(choice->parentWidget(), &d);
            choice->combo()->setCurrentIndex(1);
            xui::postCommandTo(choice, mv::IDOK);
        });
        RunEditChoiceParam(p, nullptr);
    };
    d.hide();
    d.setModal(true);
    d.show();
    ClickRow(g, 5);
    Command(d, IDC_CHANGE);
    EXPECT_EQ(Cell(g, 5, 2), "4 - 20 mA");

    // A number shows the prefix and the display name.
    board->m_OnlineParam = 3;
    CModulParamDlg online(board, ParamGroupsOf(&board->Module()));
    online.ShowModeless();
    EXPECT_EQ(xui::windowText(online.item(IDC_LABEL_1012)), "Controller 3");
    EXPECT_EQ(xui::windowText(online.item(IDC_LABEL_1009)),
              "4 analogue inputs, 0 - 10 V / 4 - 20 mA, 16 bit");
}

TEST_F(ParamDialog, BoardsWithoutParametersShowTheHeadingOnly) {
    CModuleTile* flag = doc.Station(0)->Tile(4);
    ASSERT_EQ(flag->Description()->m_Description, "@K2271");
    CModulParamDlg d(flag, ParamGroupsOf(&flag->Module()));
    d.ShowModeless();
    EXPECT_EQ(d.grid()->rowCount(), 1);
    EXPECT_FALSE(d.item(IDC_CHANGE)->isEnabled());
    d.grid()->SetCellData(2, 0, nullptr);
    Command(d, IDC_CHANGE);
    EXPECT_TRUE(hooks.edits.empty());
}

TEST_F(ParamDialog, SavesAndLoadsParameterDataFiles) {
    CModulParamDlg d(board, ParamGroupsOf(&board->Module()));
    d.ShowModeless();
    const std::string path = tmp + "/a.pdt";
    File(d, IDC_SAVE_FILE, path);
    ASSERT_EQ(specs.size(), 1u);
    EXPECT_TRUE(specs[0].save);
    EXPECT_EQ(specs[0].defaultExtension, "pdt");
    EXPECT_TRUE(specs[0].overwritePrompt);
    EXPECT_EQ(dlgtest::ReadAll(path), "A3104.kvn\r\n0\r\n2\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    EXPECT_TRUE(messages.empty());

    // Loading it back changes nothing; the open dialog has no default extension.
    File(d, IDC_LOAD_FILE, path);
    EXPECT_FALSE(specs[1].save);
    EXPECT_EQ(specs[1].defaultExtension, "");
    EXPECT_EQ(Values(), (std::vector<std::int32_t>{0, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(messages.empty());

    // A full file with LF line ends and values beyond 32 bits: stored saturated, grid refilled.
    std::ofstream(tmp + "/b.pdt", std::ios::binary)
        << "A3104.kvn\n1\n99999999999\n2\n-99999999999\n0\n7\n1\n3\n";
    File(d, IDC_LOAD_FILE, tmp + "/b.pdt");
    EXPECT_EQ(Values(), (std::vector<std::int32_t>{1, 2147483647, 2, -2147483647 - 1, 0, 7, 1, 3}));
    EXPECT_EQ(Cell(*d.grid(), 1, 2), "4 - 20 mA");
    EXPECT_EQ(Cell(*d.grid(), 2, 2), "2147483647");

    // Another module's file: " <-> " and nothing changes.
    std::ofstream(tmp + "/c.pdt", std::ios::binary) << "D2110.kvn\r\n5\r\n5\r\n";
    File(d, IDC_LOAD_FILE, tmp + "/c.pdt");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].line1, "Error reading file");
    EXPECT_EQ(messages[0].line2, "A3104.kvn <-> D2110.kvn");
    EXPECT_EQ(messages[0].caption, "Error");
    EXPECT_EQ(messages[0].bitmapId, 150);
    EXPECT_EQ(messages[0].captionColor, 255u);
    EXPECT_EQ(Values()[0], 1);

    // A short file keeps the values read so far and the grid shows them.
    std::ofstream(tmp + "/d.pdt", std::ios::binary) << "A3104.kvn\r\n0\r\n5\r\n";
    File(d, IDC_LOAD_FILE, tmp + "/d.pdt");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].line2, "");
    EXPECT_EQ(Values(), (std::vector<std::int32_t>{0, 5, 2, -2147483647 - 1, 0, 7, 1, 3}));
    EXPECT_EQ(Cell(*d.grid(), 1, 2), "0 - 10 V");
    EXPECT_EQ(Cell(*d.grid(), 2, 2), "5");

    // Missing files and things that are no regular file cannot be read.
    for (const std::string& bad : {tmp + "/missing.pdt", tmp, std::string("/dev/zero")}) {
        File(d, IDC_LOAD_FILE, bad);
        EXPECT_EQ(messages.back().line1, "Error reading file");
        EXPECT_EQ(messages.back().line2, bad);
    }
    EXPECT_EQ(messages.size(), 5u);

    // A path below a regular file: the message names it and nothing is written.
    const std::string below = path + "/x.pdt";
    File(d, IDC_SAVE_FILE, below);
    EXPECT_EQ(messages.back().line1, "Error createing file");
    EXPECT_EQ(messages.back().line2, below);
    EXPECT_EQ(dlgtest::ReadAll(path), "A3104.kvn\r\n0\r\n2\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    // Saving over the file replaces it whole and leaves no temporary file behind.
    File(d, IDC_SAVE_FILE, path);
    EXPECT_EQ(dlgtest::ReadAll(path).substr(0, 16), "A3104.kvn\r\n0\r\n5\r");
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(tmp))
        files += e.path().filename().string().rfind(".", 0) == 0 ? 1 : 0;
    EXPECT_EQ(files, 0);
    // Cancel in the file dialog does nothing.
    File(d, IDC_SAVE_FILE, "");
    EXPECT_EQ(messages.size(), 6u);
}

} // namespace
