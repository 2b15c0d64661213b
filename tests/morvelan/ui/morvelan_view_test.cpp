// The main view in the running frame: the rack of the sample project's stations (pixels of the
// view and its tiles, texts on a recorded canvas), the list with its header band, rows and
// buttons, the project page, and the display buttons.
#include "tests/morvelan/ui/frame_fixture.h"

#include "morvelan/core/module_description.h"
#include "morvelan/core/app_hooks.h"
#include "platform/bmp_reader.h"
#include "platform/recording_canvas.h"
#include "xui/colorref.h"
#include "xui/xbutton.h"

#include <QScrollBar>

namespace frametest {
namespace {

mv::COLORREF pixelAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return mv::RGB(qRed(p), qGreen(p), qBlue(p));
}

std::vector<mv::DrawCall> textsAt(const mv::RecordingCanvas& dc, int y) {
    std::vector<mv::DrawCall> out;
    for (const mv::DrawCall& c : dc.callsOf(mv::DrawOp::TextOut))
        if (c.from.y == y)
            out.push_back(c);
    return out;
}

bool shown(CMorvelanView& view, int id) {
    return !view.Button(id)->isHidden();
}

class ViewTest : public FrameTest {
protected:
    CMorvelanView& view() { return *frame().View(); }
    mv::RecordingCanvas record() {
        view().Invalidate();
        mv::RecordingCanvas dc;
        view().OnDraw(dc);
        return dc;
    }
};

TEST_F(ViewTest, RackShowsHeadBoardsNamesAndLvdsLine) {
    ASSERT_EQ(startWithDemo(), 1);
    frame().resize(1400, 800);
    frame().show();
    select(&tile(0, 1));
    CMorvelanView& v = view();
    // Buttons: layout buttons only, 100 x 30 in a row.
    EXPECT_TRUE(shown(v, IDC_VIEW_RACK));
    EXPECT_TRUE(shown(v, IDC_VIEW_LIST));
    for (int id : {IDC_VIEW_HEX, IDC_VIEW_SCALED, IDC_VIEW_STEP, IDC_VIEW_AUTOSTEP})
        EXPECT_FALSE(shown(v, id)) << id;
    EXPECT_EQ(v.Button(IDC_VIEW_LIST)->geometry(), QRect(100, 0, 100, 30));
    EXPECT_EQ(v.Button(IDC_VIEW_HEX)->text(), "HEX");
    EXPECT_EQ(v.Button(IDC_VIEW_LIST)->text(), "List");

    const int n = station(0).TileCount();
    const int w = tile(0, 0).Module().width;
    EXPECT_EQ(v.ScrollSize(), QSize(n * 41 + w + 20 + 200, 600));
    // Tiles: the first board right of the head, then at 41 px.
    EXPECT_EQ(tile(0, 1).x, 20 + w);
    EXPECT_EQ(tile(0, 2).x, 20 + w + 41);
    EXPECT_EQ(tile(0, 1).y, 150);

    mv::RecordingCanvas dc = record();
    const auto images = dc.callsOf(mv::DrawOp::Image);
    ASSERT_GE(images.size(), 1u);
    EXPECT_EQ(images[0].from, (mv::POINT{20, 150}));
    EXPECT_EQ(images[0].imageSize.cx, w);
    // function.bmp once per pair of boards, 82 px apart.
    for (std::size_t k = 1; k < images.size(); ++k) {
        EXPECT_EQ(images[k].from, (mv::POINT{w + 20 + 82 * static_cast<int>(k - 1), 150}));
        EXPECT_EQ(images[k].imageSize.cx, 82);
    }
    EXPECT_EQ(images.size(), 1u + static_cast<std::size_t>(n) / 2);

    // Names rotated at (x - 117, 500).
    std::vector<std::string> names;
    for (const mv::DrawCall& c : textsAt(dc, 500)) {
        names.push_back(c.text);
        EXPECT_EQ(c.state.font.escapement, 900);
        EXPECT_EQ(c.state.textAlign & mv::TA_HORZMASK, mv::TA_RIGHT);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"X740", "  0: D2110", "  1: D2210", "  2: A3104",
                                               "  3: @K2271", "  4: C643", "  5: @K2270",
                                               "  5.1: F8020", "  6: K614", "  7: @D615"}));
    const auto boardNames = textsAt(dc, 500);
    EXPECT_EQ(boardNames[0].from.x, 40);
    // "  0: D2110" belongs to board 1: x = w + 20 + 131.
    EXPECT_EQ(boardNames[1].from.x, w + 20 + 131 - 117);
    // F8020 is board 9.
    const int x9 = w + 20 + 131 + 41 * 8;
    EXPECT_EQ(boardNames[7].from.x, x9 - 117);
    const auto lvds = textsAt(dc, 100);
    ASSERT_EQ(lvds.size(), 1u);
    EXPECT_EQ(lvds[0].text, "| LVDS 1");
    EXPECT_EQ(lvds[0].from.x, x9 - 117);
    EXPECT_EQ(lvds[0].state.textColor, 0xFF0000u);
    const auto lines = dc.callsOf(mv::DrawOp::Line);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0].from, (mv::POINT{x9 - 117, 120}));
    EXPECT_EQ(lines[0].to, (mv::POINT{x9 + 6, 120}));
    EXPECT_EQ(lines[0].state.pen, (mv::PenDesc{mv::PS_SOLID, 2, 0xFF0000}));
    // Station title.
    const auto title = textsAt(dc, 60);
    ASSERT_EQ(title.size(), 2u);
    EXPECT_EQ(title[0].text, "Name :");
    EXPECT_EQ(title[0].state.font.height, -24);
    EXPECT_EQ(title[1].from.x, 120);

    // Pixels: the head picture on the view at (20, 150), the background elsewhere.
    QImage shot = v.viewport()->grab().toImage();
    mv::PixelImage head;
    ASSERT_TRUE(mv::ReadBmpFile(prog_ + "/bmp/" + tile(0, 0).Description()->m_Bitmap, head));
    EXPECT_EQ(pixelAt(shot, 20 + 10, 150 + 30), head.at(10, 30));
    EXPECT_EQ(pixelAt(shot, 700, 80), kViewBackground);

    // Station 1: the picture head.
    select(&tile(1, 1));
    dc = record();
    const auto images1 = dc.callsOf(mv::DrawOp::Image);
    ASSERT_GE(images1.size(), 1u);
    EXPECT_EQ(images1[0].imageSize.cx, 120); // H100.bmp
    EXPECT_EQ(textsAt(dc, 500)[0].text, tile(1, 0).Description()->m_Description);
    EXPECT_TRUE(tile(1, 0).visible);
    EXPECT_FALSE(tile(0, 1).visible);
}

TEST_F(ViewTest, ListRowsLabelsHeaderAndButtons) {
    ASSERT_EQ(startWithDemo(), 1);
    frame().resize(1400, 800);
    frame().show();
    select(&tile(0, 1));
    CMorvelanView& v = view();
    v.OnCommand(IDC_VIEW_LIST);
    EXPECT_EQ(app_->m_LayoutMode, 2);
    QApplication::processEvents();
    // Rows: from 150, 20 px per row and extra row; kind 7 gets none.
    int y = 150;
    int row = 0;
    int module = -1;
    int lvds = 0;
    for (int j = 0; j < station(0).TileCount(); ++j) {
        CModuleTile& t = tile(0, j);
        if (t.m_Kind == 7) {
            EXPECT_FALSE(t.visible) << j;
            continue;
        }
        EXPECT_TRUE(t.visible) << j;
        EXPECT_EQ(t.m_DisplayMode, 2);
        EXPECT_EQ(t.x, 20);
        EXPECT_EQ(t.y, y) << j;
        EXPECT_EQ(t.cx, 580);
        y += 20 * t.Module().GetExtraListRows() + 20;
        EXPECT_EQ(t.m_ListRow, ++row);
        if (t.m_Kind == 8) {
            ++lvds;
            EXPECT_EQ(t.m_ListLabel, std::to_string(module - 1) + ".1");
        } else {
            EXPECT_EQ(t.m_ListLabel, std::to_string(module)) << j;
            ++module;
        }
        EXPECT_EQ(t.m_ListNumber, lvds);
    }
    EXPECT_EQ(tile(0, 1).m_ListLabel, "0");
    EXPECT_GE(v.ScrollSize().height(), y + 150);
    EXPECT_EQ(v.ScrollSize().width(), 800);
    // Offline: only the layout buttons.
    EXPECT_TRUE(shown(v, IDC_VIEW_RACK));
    EXPECT_FALSE(shown(v, IDC_VIEW_HEX));

    mv::RecordingCanvas dc = record();
    EXPECT_EQ(dc.callsOf(mv::DrawOp::FrameRect)[0].rect, (mv::RECT{20, 130, 600, 150}));
    const auto header = textsAt(dc, 133);
    ASSERT_EQ(header.size(), 3u);
    EXPECT_EQ(header[0].text, "Module");
    EXPECT_EQ(header[1].from.x, 175);
    EXPECT_EQ(header[2].from.x, 375);
    EXPECT_EQ(header[0].state.font.weight, 800);
    QImage shot = v.viewport()->grab().toImage();
    EXPECT_EQ(pixelAt(shot, 20, 140), 0u);
    EXPECT_EQ(pixelAt(shot, 100, 131), 0xFFFFFFu);
    const mv::COLORREF low = pixelAt(shot, 100, 148);
    EXPECT_LT(low & 0xFF, 0xFFu);
    EXPECT_GE(low & 0xFF, 255u - 63u);
    EXPECT_EQ(pixelAt(shot, 170, 140), 0u);

    // Online with T = 1: HEX, Skaliert, Step and AutoStep as well.
    app_->m_Online = 1;
    v.Invalidate();
    EXPECT_TRUE(shown(v, IDC_VIEW_HEX));
    EXPECT_TRUE(shown(v, IDC_VIEW_SCALED));
    EXPECT_FALSE(shown(v, IDC_VIEW_STEP));
    app_->m_Ini.toolbarOption = 1;
    v.Invalidate();
    EXPECT_TRUE(shown(v, IDC_VIEW_STEP));
    EXPECT_TRUE(shown(v, IDC_VIEW_AUTOSTEP));
    app_->m_Online = 0;

    // HEX twice: neither hex nor scaled; Skaliert latched: scaled.
    EXPECT_EQ(v.DisplayScaled(), 1);
    v.OnCommand(IDC_VIEW_HEX);
    EXPECT_EQ(v.DisplayHex(), 1);
    EXPECT_EQ(v.DisplayScaled(), 0);
    EXPECT_TRUE(mv::appHooks().DisplayHex());
    v.OnCommand(IDC_VIEW_HEX);
    EXPECT_EQ(v.DisplayHex(), 0);
    EXPECT_EQ(v.DisplayScaled(), 0);
    v.Button(IDC_VIEW_SCALED)->Click();
    v.OnCommand(IDC_VIEW_SCALED);
    EXPECT_EQ(v.DisplayScaled(), 1);
    v.ResetDisplayFlags();
    EXPECT_EQ(v.Button(IDC_VIEW_SCALED)->GetCheck(), 0);

    // Back to the rack clears the list and every highlight.
    v.OnCommand(IDC_VIEW_RACK);
    EXPECT_EQ(app_->m_LayoutMode, 1);
    EXPECT_EQ(tile(0, 1).m_Highlight, 0);
}

TEST_F(ViewTest, ProjectPageTextsCommentAndLogo) {
    ASSERT_EQ(startWithDemo(), 1);
    frame().resize(1400, 800);
    frame().show();
    doc().m_Name = "Press 4";
    doc().m_Author = "A. Writer";
    doc().m_Company = "Works";
    doc().m_Comment = "line one\r\nline two\r\nline three\r\nline four";
    tree().setCurrentItem(tree().topLevelItem(0));
    QApplication::processEvents();
    CMorvelanView& v = view();
    for (int id = IDC_VIEW_RACK; id <= IDC_VIEW_AUTOSTEP; ++id)
        EXPECT_FALSE(shown(v, id)) << id;
    EXPECT_EQ(v.ScrollSize(), QSize(800, 600));
    mv::RecordingCanvas dc = record();
    const auto bitmaps = dc.callsOf(mv::DrawOp::Bitmap);
    ASSERT_EQ(bitmaps.size(), 2u);
    EXPECT_EQ(bitmaps[0].bitmap.resourceId, IDB_PROJECT_PAGE);
    EXPECT_EQ(bitmaps[0].from.y, 0);
    EXPECT_EQ(bitmaps[1].bitmap.resourceId, IDB_PROJECT_LOGO);
    EXPECT_EQ(bitmaps[1].from.y, 220 + 50);
    const int centre = v.viewport()->width() / 2;
    EXPECT_EQ(bitmaps[0].from.x, centre - 300);
    const int x = centre - 300 + 80;
    const auto first = textsAt(dc, 50);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].text, "Project :");
    EXPECT_EQ(first[0].from.x, x);
    EXPECT_EQ(first[1].text, "Press 4");
    EXPECT_EQ(first[1].from.x, x + 220);
    EXPECT_EQ(textsAt(dc, 80)[0].text, "A. Writer");
    EXPECT_EQ(textsAt(dc, 110)[0].text, "Works");
    std::vector<std::string> comment;
    for (const mv::DrawCall& c : dc.callsOf(mv::DrawOp::DrawText)) {
        comment.push_back(c.text);
        EXPECT_EQ(c.rect.right, centre + 300);
        EXPECT_EQ(c.rect.bottom, 220);
    }
    EXPECT_EQ(comment, (std::vector<std::string>{"line one", "line two", "line three"}));

    app_->m_Ini.logo = 0;
    dc = record();
    EXPECT_TRUE(dc.callsOf(mv::DrawOp::Bitmap).empty());
}

} // namespace
} // namespace frametest
