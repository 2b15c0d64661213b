#include "controls_test_util.h"
#include "platform/recording_canvas.h"
#include "platform/sys_colors.h"
#include "xui/color_combo_box.h"
#include "xui/color_sel_edit.h"
#include "xui/color_static.h"
#include "xui/controls.h"
#include "xui/info_list_box.h"
#include "xui/window_class.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

using xctl_test::pixel;
using xui::CColorSelEdit;

namespace {

class EditTest : public ::testing::Test {
protected:
    void SetUp() override {
        xctl_test::app();
        parent = std::make_unique<QWidget>();
        parent->resize(300, 120);
        edit = new CColorSelEdit(parent.get());
        edit->setGeometry(10, 10, 120, 22);
        other = new CColorSelEdit(parent.get());
        other->setGeometry(10, 50, 120, 22);
        parent->show();
        parent->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(parent.get()));
        edit->setFocus();
    }

    std::unique_ptr<QWidget> parent;
    CColorSelEdit* edit = nullptr;
    CColorSelEdit* other = nullptr;
};

TEST_F(EditTest, DecimalSetDropsOtherCharacters) {
    edit->SetAllowedChars(CColorSelEdit::kDecimalChars);
    QTest::keyClicks(edit, "8a0-8 x1");
    EXPECT_EQ(edit->text(), "8081");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "808");
}

TEST_F(EditTest, HexSetsWithAndWithoutSuffix) {
    edit->SetAllowedChars(CColorSelEdit::kHexChars);
    QTest::keyClicks(edit, "1Fgh");
    EXPECT_EQ(edit->text(), "1F");
    edit->clear();
    edit->SetAllowedChars(CColorSelEdit::kHexSuffixChars);
    QTest::keyClicks(edit, "1Fgh");
    EXPECT_EQ(edit->text(), "1Fh");
}

TEST_F(EditTest, EditingKeysPassTheFilterOnlyTypedCharactersAreFiltered) {
    edit->SetAllowedChars(CColorSelEdit::kDecimalChars);
    edit->setText("123");
    edit->home(false);
    // Delete as X11 sends it, with the character U+007F.
    for (auto action : {QTest::Press, QTest::Release})
        QTest::sendKeyEvent(action, edit, Qt::Key_Delete, QString(QChar(0x7F)), Qt::NoModifier);
    EXPECT_EQ(edit->text(), "23");
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, 'x');
    EXPECT_EQ(edit->text(), "2");
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, '9');
    EXPECT_EQ(edit->text(), "92");
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, '7');
    EXPECT_EQ(edit->text(), "7");
}

TEST_F(EditTest, EmptyAllowedSetTakesOnlyBackspace) {
    edit->setText("12");
    edit->end(false);
    edit->SetAllowedChars("");
    QTest::keyClicks(edit, "3a ");
    EXPECT_EQ(edit->text(), "12");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "1");
}

TEST_F(EditTest, WithoutFilterEverythingPassesAndIsRecorded) {
    QTest::keyClicks(edit, "ab1!");
    EXPECT_EQ(edit->text(), "ab1!");
    EXPECT_EQ(edit->typedChars(), "ab1!");
    EXPECT_FALSE(edit->filterOn());
}

TEST_F(EditTest, FocusColourWhileFocusedThenRestored) {
    other->SetBkColor(0xDCDCDC);
    other->SetTextColor(0x0000FF);
    other->setText("123");
    other->setFocus();
    EXPECT_EQ(other->bkColor(), CColorSelEdit::kFocusColor);
    EXPECT_EQ(other->selectedText(), "123");
    QImage img = xctl_test::render(other);
    EXPECT_EQ(pixel(img, 1, 1), CColorSelEdit::kFocusColor);
    EXPECT_EQ(pixel(img, 118, 20), CColorSelEdit::kFocusColor);
    edit->setFocus();
    EXPECT_EQ(other->bkColor(), 0xDCDCDCu);
    img = xctl_test::render(other);
    EXPECT_EQ(pixel(img, 0, 0), 0xDCDCDCu);
    EXPECT_EQ(pixel(img, 2, 11), 0xDCDCDCu);
    EXPECT_EQ(other->textColor(), 0x0000FFu);
}

TEST_F(EditTest, DialogKeysPassOn) {
    edit->SetAllowedChars(CColorSelEdit::kDecimalChars);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    QApplication::sendEvent(edit, &esc);
    EXPECT_FALSE(esc.isAccepted()); // reaches the dialog
}

class StaticAndListTest : public ::testing::Test {
protected:
    void SetUp() override {
        xctl_test::app();
        parent = std::make_unique<QWidget>();
        parent->resize(300, 200);
        parent->show();
    }
    std::unique_ptr<QWidget> parent;
};

TEST_F(StaticAndListTest, ColorStaticDefaultsAndColours) {
    auto* label = new xui::CColorStatic(parent.get(), QStringLiteral("Min :"));
    label->setGeometry(5, 5, 80, 16);
    label->show();
    EXPECT_EQ(label->bkColor(), mv::GetSysColor(mv::COLOR_MENU));
    EXPECT_EQ(label->textColor(), mv::GetSysColor(mv::COLOR_WINDOWTEXT));
    label->SetBkColor(0xCF9060);
    label->SetTextColor(0xFFFFFF);
    const QImage img = xctl_test::render(label);
    EXPECT_EQ(pixel(img, 78, 14), 0xCF9060u);
}

TEST_F(StaticAndListTest, InfoLinesByKind) {
    using xui::CInfoListBox;
    EXPECT_TRUE(CInfoListBox::isHeading("VERSION 1.2"));
    EXPECT_TRUE(CInfoListBox::isHeading("BOARD 3"));
    EXPECT_FALSE(CInfoListBox::isHeading(" VERSION"));
    EXPECT_TRUE(CInfoListBox::isWarning("CPU: No CPU Info"));
    EXPECT_TRUE(CInfoListBox::isWarning("No HW Info"));
    EXPECT_FALSE(CInfoListBox::isWarning("No info"));

    mv::RecordingCanvas canvas;
    const mv::RECT r{0, 16, 200, 32};
    CInfoListBox::drawItem(canvas, r, "VERSION", false);
    CInfoListBox::drawItem(canvas, r, "FPGA: No FPGA Info", true);
    CInfoListBox::drawItem(canvas, r, "FPGA: 1.0", false);
    const auto fills = canvas.callsOf(mv::DrawOp::FillRect);
    const auto texts = canvas.callsOf(mv::DrawOp::TextOut);
    ASSERT_EQ(fills.size(), 3u);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(fills[0].color, CInfoListBox::kNormalColor);
    EXPECT_EQ(texts[0].state.textColor, 0xFFFFFFu);
    EXPECT_EQ(fills[1].color, 0xFFFFFFu);
    EXPECT_EQ(texts[1].state.textColor, CInfoListBox::kWarningColor);
    EXPECT_EQ(texts[2].state.textColor, CInfoListBox::kNormalColor);
    EXPECT_EQ(texts[0].from, (mv::POINT{2, 17}));
    EXPECT_EQ(canvas.callsOf(mv::DrawOp::FocusRect).size(), 1u);
}

TEST_F(StaticAndListTest, AddLineSelectsTheLastLine) {
    auto* list = new xui::CInfoListBox(parent.get());
    list->setGeometry(5, 5, 200, 150);
    list->show();
    list->AddLine("VERSION");
    list->AddLine("CPU: 2.1");
    list->AddLine("Power: No Power Info");
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentRow(), 2);
    const QImage img = xctl_test::render(list);
    // The heading row is filled with the normal colour across its width.
    const int y = list->visualItemRect(list->item(0)).center().y();
    EXPECT_EQ(pixel(img, list->viewport()->x() + 150, list->viewport()->y() + y),
              xui::CInfoListBox::kNormalColor);
}

TEST_F(StaticAndListTest, ComboFramesItself) {
    auto* combo = new xui::CColorComboBox(parent.get());
    combo->setGeometry(5, 5, 150, 22);
    combo->addItems({QStringLiteral("one"), QStringLiteral("two")});
    combo->show();
    const QImage img = xctl_test::render(combo);
    EXPECT_EQ(pixel(img, 0, 10), xui::CColorComboBox::kOuterFrame);
    EXPECT_EQ(pixel(img, 1, 10), xui::CColorComboBox::kInnerFrame);
    const QRect b = combo->buttonRect();
    EXPECT_EQ(b.width(), mv::GetSystemMetrics(mv::SM_CXHTHUMB));
    EXPECT_EQ(b.right(), 147);
    EXPECT_EQ(pixel(img, b.left(), 10), mv::GetSysColor(mv::COLOR_BTNFACE));
    EXPECT_EQ(pixel(img, b.left() + 1, 10), mv::GetSysColor(mv::COLOR_BTNHIGHLIGHT));
}

TEST_F(StaticAndListTest, AllClassesRegister) {
    ASSERT_TRUE(xui::RegisterControlClasses());
    for (const char* name : {"XBUTTON", "XGRID", "SysIPAddress32", "CColorSelEdit", "CColorStatic",
                             "CColorComboBox", "CInfoListBox"}) {
        EXPECT_TRUE(xui::isWindowClassRegistered(name)) << name;
        xui::WindowCreateInfo info;
        info.className = name;
        QWidget* w = xui::createWindow(parent.get(), info);
        EXPECT_NE(w, nullptr) << name;
    }
}

} // namespace
