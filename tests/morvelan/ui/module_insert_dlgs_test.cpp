// The module insertion dialogs over the sample catalogue: what each lists and in which order,
// a new station with its name, comment and tile place, boards added and deleted up to the 99
// limit and the first empty row, Cancel, the station dialog, and the module list's button.
#include "dialog_test_util.h"

#include "morvelan/core/module_tile.h"
#include "morvelan/core/station.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/modul_list_dlg.h"
#include "morvelan/ui/module_insert_dlgs.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QLineEdit>

namespace {

using namespace morvelan;
using Strings = std::vector<std::string>;

class InsertDialogs : public dlgtest::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        doc.OnNewDocument();
    }
    void SetEdit(xui::CXDialog& d, int id, const char* text) {
        auto* e = d.itemAs<QLineEdit>(id);
        ASSERT_NE(e, nullptr);
        e->setText(QString::fromLatin1(text));
    }
    // Adds a station through the insertion dialog and returns its head tile.
    CModuleTile* AddStation(const std::string& type) {
        Workspace ws(&doc);
        CInsertControlModuleDlg d(catalogue, ws);
        d.ShowModeless();
        const Strings heads = Column(*d.grid(), 0);
        const auto at = std::find(heads.begin(), heads.end(), type);
        ClickRow(*d.grid(), static_cast<int>(at - heads.begin()) + 1);
        Command(d, mv::IDOK);
        return d.newTile();
    }
    using Workspace = dlgtest::Workspace;
    CMorvelanDoc doc;
};

TEST_F(InsertDialogs, ControlModuleMakesANewStation) {
    Workspace ws(&doc);
    docHooks.hScroll = 5;
    docHooks.vScroll = 7;
    CInsertControlModuleDlg d(catalogue, ws);
    d.ShowModeless();
    xui::XGridCtrl& g = *d.grid();
    EXPECT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.columnCount(), 2);
    EXPECT_EQ(g.columnWidth(0), 150);
    EXPECT_EQ(g.columnWidth(1), 284);
    EXPECT_EQ(g.fixedColumnCount(), 0);
    EXPECT_EQ(g.selectionMode(), 1);
    EXPECT_EQ(g.rowTextColor(1), 0xFF0000u);
    EXPECT_EQ(Column(g, 0), (Strings{"H100", "X720", "X740"}));
    EXPECT_EQ(Cell(g, 3, 1), "Network controller X740, Ethernet and RS232");
    EXPECT_EQ(Cell(g, 0, 0), "Module");
    EXPECT_EQ(d.windowTitle(), "Insert control module");
    EXPECT_EQ(xui::windowText(d.item(mv::IDCANCEL)), "Cancel");

    // OK without a selection leaves the dialog open and changes nothing.
    Command(d, mv::IDOK);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(doc.StationCount(), 0);

    ClickRow(g, 3);
    SetEdit(d, IDC_NAME_EDIT, "Press line");
    SetEdit(d, IDC_COMMENT_EDIT, "Hall 2");
    Command(d, mv::IDOK);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), mv::IDOK);
    ASSERT_EQ(doc.StationCount(), 1);
    CStation* station = doc.Station(0);
    EXPECT_EQ(station->m_Name, "Press line");
    EXPECT_EQ(station->m_Comment, "Hall 2");
    ASSERT_EQ(station->TileCount(), 1);
    CModuleTile* tile = station->Tile(0);
    EXPECT_EQ(tile, d.newTile());
    EXPECT_EQ(tile->Description()->m_Description, "X740");
    EXPECT_EQ(tile->m_Slot, 0);
    EXPECT_EQ(tile->x, 15);
    EXPECT_EQ(tile->y, 143);
    EXPECT_EQ(tile->cx, 82);
    EXPECT_EQ(tile->cy, 300);
    EXPECT_TRUE(tile->visible);
    EXPECT_EQ(ws.calls, (Strings{"FillTree", "RepaintView", "SelectModul"}));
    EXPECT_EQ(ws.selectedInTree, tile);

    // A second head makes a second station; the picture head is listed and placed too.
    CModuleTile* picture = AddStation("H100");
    ASSERT_EQ(doc.StationCount(), 2);
    EXPECT_EQ(doc.Station(1)->Tile(0), picture);
    EXPECT_EQ(picture->m_Station, 1);
}

TEST_F(InsertDialogs, AddModulesChoosesDeletesAndPlacesBoards) {
    CModuleTile* head = AddStation("X740");
    ASSERT_NE(head, nullptr);
    docHooks.selected = head;
    docHooks.hScroll = 10;
    Workspace ws(&doc);
    CAddModulesDlg d(catalogue, ws);
    d.ShowModeless();
    xui::XGridCtrl& src = *d.source();
    xui::XGridCtrl& dst = *d.chosen();
    EXPECT_EQ(Column(src, 0), (Strings{"@D615", "@D619", "A3104", "A3204", "C643", "D2110", "D2210",
                                       "K614", "K618"}));
    EXPECT_EQ(src.rowCount(), 10);
    EXPECT_EQ(src.columnWidth(0), 100);
    EXPECT_EQ(src.columnWidth(1), 250);
    EXPECT_EQ(dst.rowCount(), 100);
    EXPECT_EQ(dst.columnCount(), 1);
    EXPECT_EQ(dst.columnWidth(0), 130);
    EXPECT_EQ(Cell(dst, 0, 0), "Module");
    EXPECT_EQ(xui::windowText(d.item(IDC_ADD)), "Add");

    // Add without a source row, Delete without a chosen row: nothing.
    Command(d, IDC_ADD);
    Command(d, IDC_DELETE);
    EXPECT_EQ(d.chosenCount(), 0);

    for (int row : {6, 3, 7}) { // D2110, A3104, D2210
        ClickRow(src, row);
        Command(d, IDC_ADD);
    }
    EXPECT_EQ(Column(dst, 0), (Strings{"D2110", "A3104", "D2210"}));
    EXPECT_EQ(dst.rowTextColor(2), 0xFF0000u);
    ClickRow(dst, 2);
    Command(d, IDC_DELETE);
    EXPECT_EQ(Column(dst, 0), (Strings{"D2110", "D2210"}));
    EXPECT_EQ(d.chosenCount(), 2);
    // An empty row and the heading are never deleted; the next Add lands below the last board.
    ClickRow(dst, 5);
    Command(d, IDC_DELETE);
    ClickRow(dst, 0);
    Command(d, IDC_DELETE);
    EXPECT_EQ(d.chosenCount(), 2);
    ClickRow(src, 9);
    Command(d, IDC_ADD);
    EXPECT_EQ(Column(dst, 0), (Strings{"D2110", "D2210", "K618"}));

    Command(d, mv::IDOK);
    EXPECT_EQ(d.result(), mv::IDOK);
    CStation* station = doc.Station(0);
    ASSERT_EQ(station->TileCount(), 4);
    const Strings types{"X740", "D2110", "D2210", "K618"};
    for (int i = 1; i < 4; ++i) {
        CModuleTile* t = station->Tile(i);
        EXPECT_EQ(t->Description()->m_Description, types[static_cast<std::size_t>(i)]);
        EXPECT_EQ(t->m_Slot, i - 1);
        EXPECT_EQ(t->m_Station, 0);
        EXPECT_EQ(t->x, 82 + 20 + i * 41 - 41 - 10);
        EXPECT_EQ(t->y, 150);
        EXPECT_EQ(t->cx, 41);
        EXPECT_FALSE(t->visible);
    }
    EXPECT_EQ(ws.selectedInTree, station->Tile(3));
}

TEST_F(InsertDialogs, AddModulesLimitsEmptyRowsAndCancel) {
    CModuleTile* head = AddStation("X720");
    docHooks.selected = head;
    {
        Workspace ws(&doc);
        CAddModulesDlg d(catalogue, ws);
        d.ShowModeless();
        ClickRow(*d.source(), 1);
        for (int i = 0; i < 101; ++i)
            Command(d, IDC_ADD);
        EXPECT_EQ(d.chosenCount(), 99);
        EXPECT_EQ(Cell(*d.chosen(), 99, 0), "@D615");
        // Cancel adds nothing but refreshes tree and view.
        Command(d, mv::IDCANCEL);
        EXPECT_EQ(d.result(), mv::IDCANCEL);
        EXPECT_EQ(ws.calls, (Strings{"FillTree", "RepaintView"}));
        EXPECT_EQ(doc.Station(0)->TileCount(), 1);
    }
    {
        // Boards below the first empty row are not added.
        Workspace ws(&doc);
        CAddModulesDlg d(catalogue, ws);
        d.ShowModeless();
        ClickRow(*d.source(), 8);
        Command(d, IDC_ADD);
        Command(d, IDC_ADD);
        d.chosen()->SetCellText(0, 4, "D2110");
        Command(d, mv::IDOK);
        EXPECT_EQ(doc.Station(0)->TileCount(), 3);
        EXPECT_EQ(doc.Station(0)->Tile(2)->Description()->m_Description, "K614");
    }
    {
        // Without a current station OK adds nothing and ends with Cancel.
        docHooks.selected = nullptr;
        Workspace ws(&doc);
        CAddModulesDlg d(catalogue, ws);
        d.ShowModeless();
        ClickRow(*d.source(), 1);
        Command(d, IDC_ADD);
        Command(d, mv::IDOK);
        EXPECT_EQ(d.result(), mv::IDCANCEL);
        EXPECT_EQ(doc.Station(0)->TileCount(), 3);
    }
}

TEST_F(InsertDialogs, ChangeModuleEditsTheStation) {
    CModuleTile* head = AddStation("X740");
    CStation& station = *doc.Station(head->m_Station);
    station.m_Name = "Old";
    station.m_Comment = "Note";
    {
        CChangeModuleDlg d(station);
        d.ShowModeless();
        EXPECT_EQ(d.grid()->rowCount(), 2);
        EXPECT_EQ(Cell(*d.grid(), 1, 0), "X740");
        EXPECT_EQ(Cell(*d.grid(), 1, 1), "Network controller X740, Ethernet and RS232");
        EXPECT_EQ(Cell(*d.grid(), 0, 1), "Description");
        EXPECT_EQ(d.itemAs<QLineEdit>(IDC_NAME_EDIT)->text(), "Old");
        SetEdit(d, IDC_NAME_EDIT, "New");
        Command(d, mv::IDCANCEL);
        EXPECT_EQ(station.m_Name, "Old");
    }
    CChangeModuleDlg d(station);
    d.ShowModeless();
    EXPECT_EQ(d.windowTitle(), "Change module");
    SetEdit(d, IDC_NAME_EDIT, "New \xE4");
    SetEdit(d, IDC_COMMENT_EDIT, "");
    Command(d, mv::IDOK);
    EXPECT_EQ(station.m_Name, "New \xE4");
    EXPECT_EQ(station.m_Comment, "");
}

TEST_F(InsertDialogs, ModuleListShowsTheCatalogueAndStaysOpen) {
    for (bool pictures : {false, true}) {
        CModulListDlg d(catalogue, pictures);
        d.ShowModeless();
        xui::XGridCtrl& g = *d.grid();
        EXPECT_EQ(g.rowCount(), catalogue.GetSize() + 1);
        EXPECT_EQ(Column(g, 0), (Strings{"@D615", "@D619", "A3104", "A3204", "C643", "D2110",
                                         "D2210", "H100", "K614", "K618", "X720", "X740"}));
        EXPECT_EQ(Cell(g, 12, 2), "X740.kvn");
        EXPECT_EQ(Cell(g, 13, 0), "");
        EXPECT_EQ(g.rowTextColor(12), 0xFF0000u);
        EXPECT_EQ(g.rowTextColor(13), 0u);
        EXPECT_EQ(g.columnWidth(2), 133);
        EXPECT_EQ(xui::windowText(d.item(IDC_COUNT_LABEL)).toStdString(),
                  std::to_string(catalogue.GetSize()));
        EXPECT_EQ(xui::windowText(d.item(mv::IDCANCEL)), "Info");
        // Button 2 without a selection or on an empty row does nothing.
        Command(d, mv::IDCANCEL);
        ClickRow(g, 13);
        Command(d, mv::IDCANCEL);
        ClickRow(g, 6);
        Command(d, mv::IDCANCEL);
        EXPECT_TRUE(d.isVisible());
        Command(d, mv::IDOK);
        EXPECT_EQ(d.result(), mv::IDOK);
    }
    EXPECT_EQ(documentation, (Strings{"D2110"}));
    EXPECT_EQ(information, (Strings{"D2110"}));
}

} // namespace
