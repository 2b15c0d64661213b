// The Check window offscreen: its run without an address, its lines and status, and where the
// list box draws a line's label and value.
#include "flash/check_dlg.h"
#include "flash/loader/console_out.h"
#include "flash/loader/flash_app.h"
#include "platform/clock.h"
#include "platform/recording_canvas.h"
#include "platform/sys_colors.h"

#include <QApplication>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

TEST(FlashCheckWindow, RunsWithoutAddressAndDrawsLabelAndValue) {
    static int argc = 1;
    static char name[] = "flash_gui_test";
    static char* argv[] = {name, nullptr};
    QApplication qapp(argc, argv);
    mv::FakeClock clock;
    mv::setProcessClock(&clock);
    std::string console;
    flash::ConsoleOut().CaptureTo(&console, false);
    flash::CX740FlashApp app;
    flash::CCheckDlg dlg(app);
    EXPECT_EQ(dlg.windowTitle(), "Check");
    flash::RunCheck(app, "", dlg);
    ASSERT_EQ(dlg.List()->count(), 1);
    EXPECT_EQ(dlg.List()->item(0)->text(), "END");
    EXPECT_EQ(dlg.Status()->text(), "END");
    dlg.AddLine("Serialnumber:\tSN1");
    EXPECT_EQ(dlg.List()->currentRow(), 1);

    mv::RecordingCanvas canvas;
    flash::CCheckListBox::DrawItem(canvas, mv::RECT{10, 20, 210, 34}, "Version\t2.1", true, true);
    const auto fills = canvas.callsOf(mv::DrawOp::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].color, mv::GetSysColor(mv::COLOR_HIGHLIGHT));
    EXPECT_EQ(canvas.callsOf(mv::DrawOp::FocusRect).size(), 1u);
    const auto texts = canvas.callsOf(mv::DrawOp::TextOut);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Version");
    EXPECT_EQ(texts[0].from.x, 15);
    EXPECT_EQ(texts[0].from.y, 21);
    EXPECT_EQ(texts[1].text, "2.1");
    EXPECT_EQ(texts[1].from.x, 160);
    EXPECT_EQ(texts[1].state.textAlign & mv::TA_RIGHT, mv::TA_RIGHT);

    flash::ConsoleOut().CaptureTo(nullptr, false);
    mv::setProcessClock(nullptr);
}

} // namespace
