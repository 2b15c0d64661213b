// The online set window walked through a modal run: its edits, TAB and Enter, scrolling, the
// first paint's timer, and the values read back into the channels when Escape ends it.
#include "morvelan/online/online_set_dlg.h"

#include "tests/morvelan/core/module_test_util.h"
#include "tests/xui/xbase_test_support.h"

#include "catalogue/module_description.h"
#include "morvelan/core/channel_module.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using morvelan::COnlineSetDlg;

class SetHooks : public mvtest::RecordingHooks {
public:
    std::string LanguageText(int number) override {
        return number == 10004 ? "Modul" : mvtest::RecordingHooks::LanguageText(number);
    }
};

std::string Board(int channels) {
    const int types[] = {2, 3, 4, 9};
    std::string kvn = "[MORVELAN]\nDescription=SET\nName=100\nChannel=" +
                      std::to_string(channels) + "\n";
    for (int i = 1; i <= channels; ++i) {
        kvn += "[K" + std::to_string(i) + "]\nName=" + std::to_string(100 + i) +
               "\nSkale=1\nOffset=0\nMode=3\nDatatype=" + std::to_string(types[(i - 1) % 4]) +
               "\n";
    }
    kvn += "[English]\n101=Speed\n102=Torque\n103=Position\n104=Ramp\n";
    return kvn;
}

std::string Text(const QWidget* w) {
    return xui::windowText(w).toStdString();
}

TEST(OnlineSetDlg, EditsKeysScrollingAndValuesBackWhenEscapeEnds) {
    xbase_test::app();
    mvtest::TempInstall install;
    SetHooks hooks;
    CChannelModule module;
    module.LoadDescription(install.write("Modul/SET.kvn", Board(4)));
    ASSERT_EQ(module.ChannelCount(), 4);
    module.Channel(0).value.FromText("5", 2);
    module.Channel(1).value.FromText("1000", 3);
    module.Channel(2).value.FromText("77", 4);
    module.Channel(3).value.FromText("1.5", 9);
    CModuleDescription description;
    description.m_DisplayName = "Set board";

    COnlineSetDlg dlg(&description, 3, 2, &module);
    std::vector<std::string> failures;
    const auto expect = [&failures](bool ok, const char* what) {
        if (!ok)
            failures.push_back(what);
    };
    bool ran = false;
    QTimer::singleShot(0, &dlg, [&] {
        ran = true;
        morvelan::COnlineModulSetData* w = dlg.setWindow();
        expect(w != nullptr, "set window");
        if (!w)
            return dlg.EndDialog(1);
        dlg.activateWindow();
        expect(QTest::qWaitForWindowActive(&dlg), "dialog active");
        expect(dlg.windowTitle() == "Online", "caption");
        expect(Text(dlg.item(morvelan::kSetNumberLabel)) == "Modul : 3", "number label");
        expect(Text(dlg.item(morvelan::kSetNameLabel)) == "Set board", "name label");
        expect(dlg.ClickedRow() == 2, "clicked row");
        expect(w->EditCount() == 4, "four edits");
        expect(w->Edit(0)->text() == "5" && w->Edit(1)->text() == "1000" &&
                   w->Edit(2)->text() == "77" && w->Edit(3)->text().startsWith("1.5"),
               "values as text");
        expect(xui::controlId(w->Edit(2)) == 1002, "edit ids");
        expect(w->Edit(1)->y() - w->Edit(0)->y() == 30 && w->Edit(0)->y() == 5, "rows 30 apart");
        expect(w->scrollBar()->maximum() == 4, "scroll range");
        expect(w->FocusIndex() == 0 && QApplication::focusWidget() == w->Edit(0), "first focus");

        // TAB walks the edits and wraps after the last.
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(w->Edit(w->FocusIndex()), Qt::Key_Tab);
        expect(w->FocusIndex() == 3 && QApplication::focusWidget() == w->Edit(3), "tab to last");
        QTest::keyClick(w->Edit(3), Qt::Key_Tab);
        expect(w->FocusIndex() == 0 && QApplication::focusWidget() == w->Edit(0), "tab wraps");

        w->Edit(0)->setText("1Fh");
        w->Edit(1)->clear();
        w->Edit(2)->setText("FFFFFFFFFH");
        w->Edit(3)->setText("2.25");
        // Enter only moves the focus to the default button.
        QTest::keyClick(w->Edit(0), Qt::Key_Return);
        QApplication::processEvents();
        expect(dlg.isVisible(), "enter keeps the dialog");
        expect(QApplication::focusWidget() == dlg.item(1), "enter focuses OK");

        // Line down stops at the channel count; page steps change nothing.
        for (int i = 0; i < 6; ++i)
            w->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        expect(w->FirstVisibleRow() == 4 && w->scrollBar()->value() == 4, "line down limit");
        expect(w->Edit(0)->y() == 30 * -4 + 5, "edits moved");
        w->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        w->scrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
        expect(w->FirstVisibleRow() == 3 && w->scrollBar()->value() == 3, "line up, page none");
        expect(w->Edit(3)->y() == 5, "last edit on top");

        const QImage shot = w->grab().toImage();
        expect(w->TimerId() != 0, "first paint starts the timer");
        expect(xbase_test::pixel(shot, 0, 0) == 0xFFFFFF, "white frame");
        expect(xbase_test::pixel(shot, 3, 40) == 0xDEBF97, "fill");

        // Escape ends the run as a cancel, and the values still apply.
        QTest::keyClick(w->Edit(3), Qt::Key_Escape);
    });
    const int result = dlg.DoModal();
    EXPECT_TRUE(ran);
    for (const std::string& f : failures)
        ADD_FAILURE() << f;
    EXPECT_EQ(result, mv::IDCANCEL);
    EXPECT_EQ(module.Channel(0).value.GetAsInt(2), 31);
    EXPECT_EQ(module.Channel(1).value.GetAsInt(3), 0);
    EXPECT_EQ(static_cast<std::uint32_t>(module.Channel(2).value.GetAsInt(4)), 0xFFFFFFFFu);
    EXPECT_EQ(module.Channel(3).value.ToText(9).substr(0, 4), "2.25");
}

TEST(OnlineSetDlg, AtMost255RowsAndNoNumberBelowZero) {
    xbase_test::app();
    mvtest::TempInstall install;
    SetHooks hooks;
    CChannelModule module;
    // As many channels as a description may have: one more than the dialog shows.
    module.LoadDescription(install.write("Modul/BIG.kvn", Board(256)));
    ASSERT_EQ(module.ChannelCount(), 256);
    module.Channel(254).value.FromText("9", 4);
    module.Channel(255).value.FromText("9", 4);
    COnlineSetDlg dlg(nullptr, -1, 0, &module);
    dlg.ShowModeless();
    morvelan::COnlineModulSetData* w = dlg.setWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->EditCount(), 255);
    EXPECT_EQ(w->scrollBar()->maximum(), 255);
    EXPECT_EQ(Text(dlg.item(morvelan::kSetNumberLabel)), "");
    w->Edit(254)->setText("10h");
    w->Edit(0)->setText("12");
    dlg.EndDialog(1);
    EXPECT_EQ(module.Channel(254).value.GetAsInt(4), 16);
    EXPECT_EQ(module.Channel(0).value.GetAsInt(2), 12);
    EXPECT_EQ(module.Channel(255).value.GetAsInt(4), 9);

    EXPECT_EQ(morvelan::SetEditText("1F"), "1F");
    EXPECT_EQ(morvelan::SetEditText("h"), "0l");
    EXPECT_EQ(morvelan::SetEditText(""), "");
}

} // namespace
