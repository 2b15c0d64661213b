// The project tree and the tile windows in the running frame: selection across stations,
// context menu 132, connector pictures, the highlight and list colours in pixels, the texts a
// list row draws, and the double-click zones.
#include "tests/morvelan/ui/frame_fixture.h"

#include "morvelan/core/flag_module.h"
#include "morvelan/core/module_description.h"
#include "morvelan/ui/module_tile_wnd.h"
#include "platform/recording_canvas.h"
#include "xui/colorref.h"
#include "xui/qt_text.h"

#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QTimer>

namespace frametest {
namespace {

QImage paintTile(CModuleTileWnd& window) {
    window.Invalidate(1);
    return window.grab().toImage();
}

TEST_F(FrameTest, TreeSelectionDrivesWhatTheRackShows) {
    ASSERT_EQ(startWithDemo(), 1);
    CModuleTile& board = tile(0, 3);
    select(&board);
    EXPECT_EQ(board.m_Highlight, 1);
    for (int j = 0; j < station(0).TileCount(); ++j)
        EXPECT_TRUE(tile(0, j).visible) << j;
    for (int j = 0; j < station(1).TileCount(); ++j)
        EXPECT_FALSE(tile(1, j).visible) << j;
    CModuleTileWnd* window = windowOf(board);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible() || !frame().isVisible());
    EXPECT_EQ(window->geometry(), QRect(board.x, board.y, board.cx, board.cy));

    // Another board of the same station only moves the highlight.
    select(&tile(0, 5));
    EXPECT_EQ(board.m_Highlight, 0);
    EXPECT_EQ(tile(0, 5).m_Highlight, 1);
    // A board of the other station shows that station.
    select(&tile(1, 2));
    EXPECT_EQ(tile(0, 5).m_Highlight, 0);
    EXPECT_EQ(tile(1, 2).m_Highlight, 1);
    EXPECT_TRUE(tile(1, 0).visible);
    EXPECT_FALSE(tile(0, 0).visible);
    // The root shows the project page: nothing selected, no tiles.
    tree().setCurrentItem(tree().topLevelItem(0));
    EXPECT_EQ(tree().SelectedTile(), nullptr);
    EXPECT_FALSE(tile(1, 0).visible);

    // A new project shows "-" and takes no tile with it.
    select(&tile(0, 2));
    ASSERT_TRUE(frame().OnCommand(ID_FILE_NEW));
    EXPECT_EQ(treeLines(), std::vector<std::string>{"-"});
    EXPECT_EQ(tree().SelectedTile(), nullptr);
    EXPECT_EQ(frame().windowTitle(), "- - morvelan");
}

TEST_F(FrameTest, ContextMenuHasItsOwnStates) {
    ASSERT_EQ(startWithDemo(), 1);
    auto states = [&] {
        std::string out;
        for (QAction* a : tree().BuildContextMenu()->actions()) {
            if (a->isSeparator())
                continue;
            out += xui::toCp1252(a->text()) + (a->isEnabled() ? "+" : "-") + "|";
        }
        return out;
    };
    EXPECT_EQ(states(), "Insert control module+|Funktions-Modul einf\xFCgen-|@K2270 einf\xFCgen-|"
                        "Leer-Modul einf\xFCgen-|Modul l\xF6schen-|Properties+|Cancel+|");
    select(&tile(0, 0));
    EXPECT_EQ(states(), "Insert control module-|Funktions-Modul einf\xFCgen+|@K2270 einf\xFCgen+|"
                        "Leer-Modul einf\xFCgen+|Modul l\xF6schen+|Properties+|Cancel+|");
    select(&tile(0, 1));
    EXPECT_EQ(states(), "Insert control module-|Funktions-Modul einf\xFCgen-|@K2270 einf\xFCgen+|"
                        "Leer-Modul einf\xFCgen+|Modul l\xF6schen+|Properties+|Cancel+|");
    // Properties: the project dialog without a selection, the station dialog for a controller,
    // nothing for a board.
    std::vector<std::string> calls;
    dialogSeams().projectDialog = [&] {
        calls.push_back("project");
        return 1;
    };
    dialogSeams().changeModuleDialog = [&](int s) {
        calls.push_back("station " + std::to_string(s));
        return 1;
    };
    tree().OnMenuCommand(ID_PROPERTIES);
    select(&tile(1, 0));
    tree().OnMenuCommand(ID_PROPERTIES);
    tree().setCurrentItem(tree().topLevelItem(0));
    tree().OnMenuCommand(ID_PROPERTIES);
    EXPECT_EQ(calls, (std::vector<std::string>{"station 1", "project"}));
    // The menu's delete runs the frame's.
    select(&tile(0, 1));
    tree().OnMenuCommand(ID_DELETE_MODULE);
    EXPECT_EQ(station(0).TileCount(), 11);
}

TEST_F(FrameTest, TilesPaintConnectorsHighlightAndListRows) {
    ASSERT_EQ(startWithDemo(), 1);
    // Connector by kind and ID; even slots at x 9, odd ones at x 2.
    const std::vector<std::pair<int, std::string>> pictures = {
        {1, "bmp/stecker.bmp"},  {4, "bmp/leer.bmp"},    {5, "bmp/leer.bmp"},
        {6, "bmp/stecker4.bmp"}, {7, "bmp/unknown.bmp"}, {8, "bmp/leer.bmp"},
        {9, "bmp/stecker3.bmp"}};
    for (const auto& [index, file] : pictures)
        EXPECT_EQ(ConnectorFile(tile(0, index)), file) << index;
    dynamic_cast<CFlagModule&>(tile(0, 4).Module()).m_Option = 0;
    EXPECT_EQ(ConnectorFile(tile(0, 4)), "bmp/stecker2.bmp");

    for (int index : {1, 2}) {
        CModuleTileWnd* window = windowOf(tile(0, index));
        ASSERT_NE(window, nullptr);
        mv::RecordingCanvas dc;
        window->Paint(dc);
        ASSERT_EQ(dc.calls().size(), 1u);
        EXPECT_EQ(dc.calls()[0].op, mv::DrawOp::Image);
        EXPECT_EQ(dc.calls()[0].from.x, index == 1 ? 9 : 2) << "slot " << index - 1;
        EXPECT_EQ(dc.calls()[0].from.y, 85);
    }
    // A controller paints nothing of its own.
    mv::RecordingCanvas head;
    windowOf(tile(0, 0))->Paint(head);
    EXPECT_TRUE(head.calls().empty());

    // The highlight: red outlines, then 0xC80A64 merged into the picture.
    CModuleTile& board = tile(0, 1);
    select(&board);
    CModuleTileWnd& window = *windowOf(board);
    const QImage lit = paintTile(window);
    EXPECT_EQ(xui::colorrefFromRgb(lit.pixel(10, 120)), 0x0000FFu) << "first red outline";
    const QRgb merged = lit.pixel(14, 120);
    EXPECT_EQ(qRed(merged) | 0x64, qRed(merged));
    EXPECT_EQ(qBlue(merged) | 0xC8, qBlue(merged)) << "or-ed into the picture";
    mv::RecordingCanvas frames;
    window.Paint(frames);
    ASSERT_EQ(frames.calls().size(), 1u + 2 + 19);
    EXPECT_EQ(frames.calls()[1].rect, (mv::RECT{10, 86, 38, 234}));
    EXPECT_EQ(frames.calls()[2].rect.left, 11);
    EXPECT_EQ(frames.calls()[3].state.rop2, mv::R2_MERGEPEN);
    EXPECT_EQ(frames.calls()[3].state.pen.color, 0xC80A64u);
    select(&tile(0, 2));
    const QImage plain = paintTile(window);
    EXPECT_NE(xui::colorrefFromRgb(plain.pixel(10, 120)), 0x0000FFu) << "the frame is gone";
    EXPECT_EQ(qAlpha(plain.pixel(3, 20)), 0) << "unpainted parts show the view";

    // List rows: colours by highlight, head and parity; the texts of a row.
    auto listRow = [&](CModuleTile& t, int row) {
        t.m_DisplayMode = kTileList;
        t.m_ListRow = row;
        t.MoveTo(20, 150, 600, 20, true);
        return paintTile(*windowOf(t));
    };
    CModuleTile& second = tile(0, 3);
    second.m_Highlight = 0;
    EXPECT_EQ(xui::colorrefFromRgb(listRow(second, 2).pixel(100, 10)), 0xFFFFFFu);
    EXPECT_EQ(xui::colorrefFromRgb(listRow(second, 3).pixel(100, 10)), 0xC0FFC0u);
    second.m_Highlight = 1;
    EXPECT_EQ(xui::colorrefFromRgb(listRow(second, 3).pixel(100, 10)), 0xC8C8FFu);
    EXPECT_EQ(xui::colorrefFromRgb(listRow(tile(0, 0), 0).pixel(100, 10)), 0xC0FFC0u);
    EXPECT_EQ(xui::colorrefFromRgb(listRow(second, 3).pixel(150, 10)), 0u) << "the divider";
    second.m_ListLabel = "2";
    second.m_ListNumber = 1;
    mv::RecordingCanvas texts;
    windowOf(second)->Paint(texts);
    std::vector<std::string> drawn;
    for (const mv::DrawCall& c : texts.calls())
        if (c.op == mv::DrawOp::TextOut)
            drawn.push_back(std::to_string(c.from.x) + ":" + c.text);
    ASSERT_GE(drawn.size(), 3u);
    EXPECT_EQ(drawn[0], "5:( 1)");
    EXPECT_EQ(drawn[1], "58:2:");
    EXPECT_EQ(drawn[2], "60:A3104");

    // Online, a repaint draws the live values over the row the window keeps; an erase leaves
    // only what the next paint draws, with the view showing through the rest.
    const QImage offline = listRow(second, 2);
    second.m_Online = 1;
    const QImage first = paintTile(*windowOf(second));
    EXPECT_EQ(second.m_OnlinePaintMark, 10);
    second.Refresh(0);
    const QImage kept = windowOf(second)->grab().toImage();
    for (const QPoint p : {QPoint(0, 0), QPoint(100, 10), QPoint(150, 19), QPoint(599, 19)}) {
        EXPECT_EQ(kept.pixel(p), first.pixel(p)) << p.x() << "," << p.y();
        EXPECT_EQ(qAlpha(kept.pixel(p)), 255) << p.x() << "," << p.y();
    }
    EXPECT_EQ(kept.pixel(100, 10), offline.pixel(100, 10));
    EXPECT_EQ(qAlpha(paintTile(*windowOf(second)).pixel(100, 10)), 0);
    second.m_Online = 0;
}

TEST_F(FrameTest, DoubleClickZonesOpenTheirDialogs) {
    ASSERT_EQ(startWithDemo(), 1);
    std::vector<std::string> calls;
    auto name = [](CModuleTile& t) { return t.Description()->m_Description; };
    dialogSeams().sliderLabelDialog = [&](CModuleTile& t) {
        calls.push_back("slider " + name(t));
        return 1;
    };
    dialogSeams().controllerSliderLabelDialog = [&](CModuleTile& t) {
        calls.push_back("head slider " + name(t));
        return 1;
    };
    dialogSeams().labelDialog = [&](CModuleTile& t) {
        calls.push_back("label " + name(t));
        return 1;
    };
    CModuleTileWnd& slot2 = *windowOf(tile(0, 3));
    CModuleTileWnd& slot3 = *windowOf(tile(0, 4));
    auto dclick = [](CModuleTileWnd& w, int y) {
        QTest::mouseDClick(&w, Qt::LeftButton, {}, QPoint(5, y));
    };
    // The press of a double click selects the tile too.
    dclick(slot2, 24);
    EXPECT_EQ(tree().SelectedTile(), &tile(0, 3));
    dclick(slot3, 263);
    dclick(slot2, 263);
    dclick(*windowOf(tile(0, 0)), 0);
    // The middle zone configures the module: its parameter dialog opens (and is closed here).
    int dialogs = 0;
    auto closeDialog = [&] {
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++dialogs;
                modal->close();
            }
        });
    };
    closeDialog();
    dclick(slot2, 25);
    closeDialog();
    dclick(slot2, 262);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(calls, (std::vector<std::string>{"slider A3104", "label A3104", "label A3104",
                                                "head slider X740"}));
}

} // namespace
} // namespace frametest
