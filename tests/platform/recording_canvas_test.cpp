#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

namespace {

TEST(CanvasMapping, ScreenUnitsArePixels) {
    mv::CanvasMapping m;
    m.setViewportOrg(mv::POINT{5, 7});
    EXPECT_EQ(m.toDevice(mv::POINT{10, 20}), (mv::POINT{15, 27}));
    EXPECT_EQ(m.toLogical(mv::POINT{15, 27}), (mv::POINT{10, 20}));
}

TEST(CanvasMapping, PrintUnitsAreTenthMillimetresWithYUp) {
    mv::CanvasMapping m;
    m.setMapMode(mv::MM_LOMETRIC);
    m.setDeviceDpi(254, 254); // one pixel per 0.1 mm
    EXPECT_EQ(m.toDevice(mv::POINT{100, -200}), (mv::POINT{100, 200}));
    m.setDeviceDpi(600, 600);
    // 25.4 mm = one inch = 600 pixels, 1 cm further down the page is 236 pixels lower.
    EXPECT_EQ(m.toDevice(mv::POINT{254, -100}), (mv::POINT{600, 236}));
    // A rectangle written top-down in y-up units comes out normalised.
    EXPECT_EQ(m.toDevice(mv::RECT{0, 0, 254, -254}), (mv::RECT{0, 0, 600, 600}));
    EXPECT_EQ(m.lengthToDeviceY(-254), 600);
}

TEST(RecordingCanvas, KeepsCallsWithTheirState) {
    mv::RecordingCanvas c;
    c.setTextColor(0x0000FF);
    c.setBkMode(mv::TRANSPARENT);
    c.setTextAlign(mv::TA_CENTER | mv::TA_BASELINE);
    c.selectFont(mv::FontDesc{"Arial", -20, mv::FW_BOLD, 900});
    c.textOut(50, 60, "Label");
    c.moveTo(0, 0);
    c.lineTo(10, 0);
    c.fillRect(mv::RECT{1, 2, 3, 4}, 0xDEBF97);

    ASSERT_EQ(c.calls().size(), 3u);
    const mv::DrawCall& t = c.calls()[0];
    EXPECT_EQ(t.op, mv::DrawOp::TextOut);
    EXPECT_EQ(t.from, (mv::POINT{50, 60}));
    EXPECT_EQ(t.text, "Label");
    EXPECT_EQ(t.state.textColor, 0x0000FFu);
    EXPECT_EQ(t.state.font.escapement, 900);
    EXPECT_EQ(t.state.textAlign, mv::TA_CENTER | mv::TA_BASELINE);
    EXPECT_EQ(c.calls()[1].from, (mv::POINT{0, 0}));
    EXPECT_EQ(c.calls()[1].to, (mv::POINT{10, 0}));
    EXPECT_EQ(c.callsOf(mv::DrawOp::FillRect).at(0).color, 0xDEBF97u);
}

TEST(RecordingCanvas, SettersReturnThePreviousValueAndStatesNest) {
    mv::RecordingCanvas c;
    EXPECT_EQ(c.setBkMode(mv::TRANSPARENT), mv::OPAQUE);
    c.saveState();
    c.setTextColor(0x123456);
    c.selectPen(mv::PenDesc{mv::PS_DOT, 1, 0xFF});
    c.restoreState();
    EXPECT_EQ(c.state().textColor, 0u);
    EXPECT_EQ(c.state().pen.style, mv::PS_SOLID);
    EXPECT_EQ(c.state().bkMode, mv::TRANSPARENT);
    c.restoreState(); // more restores than saves change nothing
    EXPECT_EQ(c.state().bkMode, mv::TRANSPARENT);
}

TEST(RecordingCanvas, MeasuresTextByAFixedRule) {
    mv::RecordingCanvas c;
    c.selectFont(mv::FontDesc{"MS Sans Serif", -12});
    EXPECT_EQ(c.textExtent("abcd"), (mv::SIZE{24, 12}));
    EXPECT_EQ(c.textMetrics().ascent, 9);
    c.selectFont(mv::FontDesc{"MS Sans Serif", 0});
    EXPECT_EQ(c.textMetrics().height, 11);
    c.setMapMode(mv::MM_LOMETRIC);
    EXPECT_EQ(c.textMetrics().height, 28);
}

} // namespace
