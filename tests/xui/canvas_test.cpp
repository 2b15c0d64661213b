// The QPainter canvas in screen and printing units: exact pixels of fills, frames, lines and
// bitmaps; text by its position.
#include "xbase_test_support.h"

#include "xui/bitmaps.h"
#include "xui/font_map.h"
#include "xui/qt_canvas.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

using xbase_test::findColour;
using xbase_test::pixel;

QImage blank(int w = 120, int h = 80) {
    xbase_test::app();
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

TEST(QtCanvas, FillAndFrameExcludeRightAndBottomEdges) {
    QImage img = blank();
    {
        QPainter p(&img);
        xui::QtCanvas c(p);
        c.fillRect(mv::RECT{10, 10, 20, 15}, 0x0000FF);
        c.frameRect(mv::RECT{30, 10, 40, 20}, 0xFF0000);
    }
    EXPECT_EQ(findColour(img, 0x0000FF), QRect(10, 10, 10, 5));
    EXPECT_EQ(pixel(img, 20, 12), 0xFFFFFFu);
    EXPECT_EQ(findColour(img, 0xFF0000), QRect(30, 10, 10, 10));
    EXPECT_EQ(pixel(img, 35, 15), 0xFFFFFFu); // hollow inside
}

TEST(QtCanvas, ColorrefIsBgr) {
    EXPECT_EQ(xui::toQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(xui::toQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(xui::toColorref(QColor(96, 144, 207)), 0xCF9060u);
}

TEST(QtCanvas, RectangleUsesPenOutlineAndBrushInside) {
    QImage img = blank();
    {
        QPainter p(&img);
        xui::QtCanvas c(p);
        c.selectPen(mv::PenDesc{mv::PS_SOLID, 1, 0x000000});
        c.selectBrush(mv::BrushDesc::solid(0x00FF00));
        c.rectangle(mv::RECT{10, 10, 20, 20});
    }
    EXPECT_EQ(findColour(img, 0x000000), QRect(10, 10, 10, 10));
    EXPECT_EQ(findColour(img, 0x00FF00), QRect(11, 11, 8, 8));
}

TEST(QtCanvas, LinesLeaveOutTheirEndPoint) {
    QImage img = blank();
    {
        QPainter p(&img);
        xui::QtCanvas c(p);
        c.selectPen(mv::PenDesc{mv::PS_SOLID, 1, 0x0000FF});
        c.moveTo(5, 5);
        c.lineTo(15, 5);
        c.moveTo(40, 30);
        c.lineTo(40, 20); // upwards
    }
    EXPECT_EQ(findColour(img, 0x0000FF, QRect(0, 0, 30, 10)), QRect(5, 5, 10, 1));
    EXPECT_EQ(findColour(img, 0x0000FF, QRect(30, 10, 20, 30)), QRect(40, 21, 1, 10));
}

TEST(QtCanvas, TextAlignmentPlacesTheReferencePoint) {
    QImage img = blank(200, 80);
    mv::SIZE extent;
    {
        QPainter p(&img);
        xui::QtCanvas c(p);
        c.selectFont(mv::FontDesc{"MS Sans Serif", -11});
        c.setBkMode(mv::TRANSPARENT);
        c.setTextColor(0x000000);
        extent = c.textExtent("MMMM");
        c.setTextAlign(mv::TA_RIGHT | mv::TA_TOP);
        c.textOut(100, 10, "MMMM");
    }
    const QRect ink = xbase_test::findInk(img, 0xFFFFFF);
    ASSERT_FALSE(ink.isNull());
    EXPECT_LE(ink.right(), 100);
    EXPECT_GE(ink.left(), 100 - extent.cx - 1);
    EXPECT_GE(ink.top(), 10);
    EXPECT_LE(ink.bottom(), 10 + extent.cy);
}

TEST(QtCanvas, OpaqueTextFillsItsCellWithTheBackgroundColour) {
    QImage img = blank(200, 60);
    mv::SIZE extent;
    {
        QPainter p(&img);
        xui::QtCanvas c(p);
        c.setBkMode(mv::OPAQUE);
        c.setBkColor(0x5CDDFF);
        extent = c.textExtent("Abc");
        c.textOut(20, 20, "Abc");
    }
    const QRect cell = findColour(img, 0x5CDDFF);
    EXPECT_EQ(cell.topLeft(), QPoint(20, 20));
    EXPECT_EQ(cell.width(), extent.cx);
    EXPECT_EQ(cell.height(), extent.cy);
}

TEST(QtCanvas, PrintUnitsKeepTextUpright) {
    // 254 dpi: one device pixel per 0.1 mm; y grows upwards in the logical units.
    QImage img = blank(300, 300);
    {
        QPainter p(&img);
        xui::QtCanvas c(p, 254, 254);
        c.setMapMode(mv::MM_LOMETRIC);
        c.fillRect(mv::RECT{10, -10, 60, -40}, 0x0000FF);
        c.selectFont(mv::FontDesc{"Arial", -40});
        c.setBkMode(mv::TRANSPARENT);
        c.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
        c.textOut(100, -100, "T");
        EXPECT_EQ(c.textMetrics().height > 40, true);
    }
    EXPECT_EQ(findColour(img, 0x0000FF), QRect(10, 10, 50, 30));
    const QRect ink = xbase_test::findInk(img, 0xFFFFFF, QRect(90, 90, 100, 100));
    ASSERT_FALSE(ink.isNull());
    // Upright "T": its bar is at the top of the glyph, and the glyph hangs below the point.
    EXPECT_GE(ink.top(), 100);
    int topRow = 0;
    int bottomRow = 0;
    for (int x = ink.left(); x <= ink.right(); ++x) {
        topRow += pixel(img, x, ink.top() + 1) != 0xFFFFFFu ? 1 : 0;
        bottomRow += pixel(img, x, ink.bottom() - 1) != 0xFFFFFFu ? 1 : 0;
    }
    EXPECT_GT(topRow, bottomRow * 2);
}

TEST(QtCanvas, EscapementTurnsTextCounterClockwise) {
    QImage img = blank(200, 200);
    {
        QPainter p(&img);
        xui::QtCanvas c(p);
        c.selectFont(mv::FontDesc{"Arial", -20, mv::FW_NORMAL, 900});
        c.setBkMode(mv::TRANSPARENT);
        c.setTextAlign(mv::TA_LEFT | mv::TA_BASELINE);
        c.textOut(100, 150, "MMMMM");
    }
    const QRect ink = xbase_test::findInk(img, 0xFFFFFF);
    ASSERT_FALSE(ink.isNull());
    EXPECT_GT(ink.height(), ink.width()); // runs upwards
    EXPECT_LE(ink.bottom(), 150);
    EXPECT_LE(ink.right(), 101);
}

TEST(QtCanvas, BitmapWithOneColourReplaced) {
    QImage img = blank(64, 64);
    {
        QPainter p(&img);
        xui::QtCanvas c(p);
        c.drawBitmap(4, 4, mv::BitmapRef{xui::kBitmapError, {}, true, 0xFF00FF, 0xDEBF97});
    }
    EXPECT_EQ(pixel(img, 4, 4), 0xDEBF97u);   // corner was magenta
    EXPECT_EQ(pixel(img, 35, 35), 0xDEBF97u);
    EXPECT_EQ(pixel(img, 36, 36), 0xFFFFFFu); // outside the 32 x 32 bitmap
    EXPECT_EQ(findColour(img, 0xFF00FF), QRect());
}

TEST(SymbolBitmaps, AllAre32By32OnMagenta) {
    xbase_test::app();
    for (int id : {150, 159, 188, 15037, 15018}) {
        const QImage b = xui::bitmapResource(id);
        ASSERT_EQ(b.size(), QSize(32, 32)) << id;
        EXPECT_EQ(pixel(b, 0, 0), 0xFF00FFu) << id;
        EXPECT_EQ(pixel(b, 31, 31), 0xFF00FFu) << id;
        EXPECT_NE(pixel(b, 16, 16), 0xFF00FFu) << id;
    }
    EXPECT_TRUE(xui::bitmapResource(4711).isNull());
    EXPECT_TRUE(xui::loadBitmap(mv::BitmapRef{0, "/nonexistent/x.bmp"}).isNull());
}

TEST(FontMap, FacesMapToTheInstalledFamilies) {
    EXPECT_EQ(xui::mapFontFace("MS Sans Serif"), "Liberation Sans");
    EXPECT_EQ(xui::mapFontFace("MS Shell Dlg"), "Liberation Sans");
    EXPECT_EQ(xui::mapFontFace("Arial"), "Liberation Sans");
    EXPECT_EQ(xui::mapFontFace("Courier New"), "Liberation Mono");
    EXPECT_EQ(xui::fontFromPoints("MS Sans Serif", 8).height, -11);
}

} // namespace
