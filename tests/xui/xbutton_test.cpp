#include "xui/xbutton.h"

#include "controls_test_util.h"
#include "platform/recording_canvas.h"
#include "platform/sys_colors.h"
#include "xui/controls.h"
#include "xui/font_map.h"
#include "xui/owner_button.h"
#include "xui/window_class.h"
#include "xui/xdialog.h"
#include "xui/xgrid_ctrl.h"

#include "platform/win_styles.h"

#include <QLabel>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using xctl_test::CommandSink;
using xctl_test::pixel;
using xui::COwnerButton;
using xui::CXButton;

namespace {

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        xctl_test::app();
        parent = std::make_unique<CommandSink>();
        button = new CXButton(parent.get(), QStringLiteral("OK"));
        xui::setControlId(button, 1);
        button->setGeometry(10, 10, 96, 24);
        other = new CXButton(parent.get(), QStringLiteral("Other"));
        other->setGeometry(10, 50, 96, 24);
        parent->show();
        parent->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(parent.get()));
    }

    std::size_t commands() {
        xctl_test::flush();
        return parent->commands.size();
    }

    std::unique_ptr<CommandSink> parent;
    CXButton* button = nullptr;
    CXButton* other = nullptr;
};

TEST_F(ButtonTest, ReleaseOfAPressPostsTheCommand) {
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(button->isPressed());
    EXPECT_TRUE(button->pressedFaceShown());
    EXPECT_TRUE(button->hasFocus());
    EXPECT_EQ(commands(), 0u);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 10));
    ASSERT_EQ(commands(), 1u);
    EXPECT_EQ(parent->commands[0].id, 1);
    EXPECT_EQ(parent->commands[0].code, 0);
    EXPECT_FALSE(button->pressedFaceShown());
}

TEST_F(ButtonTest, ReleaseOutsideSendsNothingUntilTheNextReleaseOverIt) {
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_EQ(commands(), 0u);
    EXPECT_TRUE(button->isPressed());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(commands(), 1u);
}

TEST_F(ButtonTest, DoubleClickGivesTwoNotifications) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(commands(), 2u);
}

TEST_F(ButtonTest, ClickPressesWithoutNotification) {
    button->Click();
    EXPECT_EQ(commands(), 0u);
    EXPECT_TRUE(button->isPressed());
    EXPECT_TRUE(button->pressedFaceShown());
}

TEST_F(ButtonTest, ToggleLatchesAndUnlatches) {
    button->SetToggle();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(button->GetCheck(), 1);
    EXPECT_TRUE(button->pressedFaceShown());
    // A latched toggle keeps the pressed face through repaints.
    button->repaint();
    QImage img = xctl_test::render(button);
    EXPECT_EQ(pixel(img, 30, 5), CXButton::kPressedFill);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(button->GetCheck(), 0);
    EXPECT_FALSE(button->pressedFaceShown());
    EXPECT_EQ(commands(), 2u);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 10));
    button->ResetCheck();
    EXPECT_EQ(button->GetCheck(), 0);
}

TEST_F(ButtonTest, ResetCheckOnAPlainButtonOnlyRepaints) {
    button->ResetCheck();
    EXPECT_EQ(button->GetCheck(), 0);
    EXPECT_TRUE(button->NormalFaceShown());
}

TEST_F(ButtonTest, FaceFlagAndRepair) {
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_FALSE(button->NormalFaceShown());
    button->RefreshFace();
    EXPECT_TRUE(button->NormalFaceShown());
    EXPECT_FALSE(button->pressedFaceShown());
    button->ClearHover();
    EXPECT_TRUE(button->NormalFaceShown()); // the repaint shows the normal face again
}

TEST_F(ButtonTest, MoveWithTheButtonDownKeepsThePressedFace) {
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(22, 12), button->mapToGlobal(QPointF(22, 12)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
    EXPECT_TRUE(button->pressedFaceShown());
    EXPECT_FALSE(button->NormalFaceShown());
}

TEST_F(ButtonTest, NormalFacePixels) {
    other->setFocus();
    const QImage img = xctl_test::render(button);
    // White frame, then the gradient from white to 0xC0C0C0 over the height (23 lines).
    EXPECT_EQ(pixel(img, 0, 12), 0xFFFFFFu);
    EXPECT_EQ(pixel(img, 95, 12), 0xFFFFFFu);
    EXPECT_EQ(pixel(img, 3, 0), 0xFFFFFFu);
    EXPECT_NEAR(xctl_test::grey(pixel(img, 3, 10)), 255 - 10 * 63 / 23, 1);
    EXPECT_NEAR(xctl_test::grey(pixel(img, 3, 22)), 255 - 22 * 63 / 23, 1);
    EXPECT_EQ(pixel(img, 3, 23), 0xFFFFFFu); // the bottom frame line
}

// The box of the pixels darker than mid grey, and the darkest channel value found in it.
QRect darkInk(const QImage& img, int* darkest) {
    QRect box;
    *darkest = 255;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            const int v = std::max({qRed(p), qGreen(p), qBlue(p)});
            *darkest = std::min(*darkest, v);
            if (v < 128) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

TEST_F(ButtonTest, CaptionIsAsLargeAndDarkAsTheDialogText) {
    // The button asks for -8 "MS Sans Serif", below the face's smallest size: it shows 8 points.
    other->setFocus();
    button->setText(QStringLiteral("HOH"));
    int buttonDarkest = 255;
    const QRect caption = darkInk(xctl_test::render(button).copy(2, 2, 92, 20), &buttonDarkest);

    QWidget surface;
    surface.setStyleSheet(QStringLiteral("background: white"));
    auto* label = new QLabel(QStringLiteral("HOH"), &surface);
    xui::setControlFont(label, xui::fontFromPoints("MS Sans Serif", 8));
    label->setGeometry(0, 0, 90, 20);
    surface.resize(90, 20);
    int labelDarkest = 255;
    const QRect text = darkInk(xctl_test::render(&surface), &labelDarkest);

    ASSERT_FALSE(caption.isEmpty());
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(caption.height(), text.height());
    EXPECT_EQ(caption.width(), text.width());
    EXPECT_LT(buttonDarkest, 0x30);
    EXPECT_LT(labelDarkest, 0x30);
}

TEST_F(ButtonTest, PressedFacePixels) {
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    const QImage img = xctl_test::render(button);
    EXPECT_EQ(pixel(img, 0, 0), mv::GetSysColor(mv::COLOR_BTNSHADOW));
    EXPECT_EQ(pixel(img, 95, 23), mv::GetSysColor(mv::COLOR_BTNSHADOW));
    EXPECT_EQ(pixel(img, 10, 6), CXButton::kPressedFill);
}

TEST_F(ButtonTest, ColoursOfTheGradient) {
    other->setFocus();
    button->SetColors(0xFFFFFF, 0x00FF00);
    const QImage img = xctl_test::render(button);
    const mv::COLORREF low = pixel(img, 3, 22);
    EXPECT_NEAR(mv::GetGValue(low), 255, 1);
    EXPECT_LT(mv::GetRValue(low), 20);
}

TEST_F(ButtonTest, BottomColourAboveTopDoesNotWrap) {
    other->setFocus();
    button->SetColors(0x000000, 0xFFFFFF);
    const QImage img = xctl_test::render(button);
    for (int y = 1; y < 23; ++y) {
        EXPECT_EQ(pixel(img, 3, y), 0x000000u) << y;
    }
}

TEST_F(ButtonTest, ZeroHeightDrawsNothing) {
    mv::RecordingCanvas canvas;
    button->resize(40, 0);
    button->paintNormalFace(canvas, false);
    button->paintPressedFace(canvas, false);
    EXPECT_TRUE(canvas.calls().empty());
    button->resize(40, 1);
    button->paintNormalFace(canvas, false); // no division by a zero height
    EXPECT_TRUE(canvas.callsOf(mv::DrawOp::Line).empty());
}

TEST_F(ButtonTest, TextPlacedAndGreyWhenDisabled) {
    mv::RecordingCanvas canvas;
    button->setEnabled(false);
    button->paintNormalFace(canvas, false);
    const auto texts = canvas.callsOf(mv::DrawOp::TextOut);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "OK");
    EXPECT_EQ(texts[0].state.textColor, CXButton::kDisabledTextColor);
    EXPECT_EQ(texts[0].state.textAlign, mv::TA_CENTER | mv::TA_BOTTOM);
    // Middle 12 + half the height of -8 (4) - 1.
    EXPECT_EQ(texts[0].from, (mv::POINT{48, 15}));
    EXPECT_EQ(texts[0].state.font.face, "MS Sans Serif");
    EXPECT_EQ(texts[0].state.font.height, -8);

    canvas.clear();
    button->paintPressedFace(canvas, false);
    const auto pressed = canvas.callsOf(mv::DrawOp::TextOut);
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed[0].from, (mv::POINT{48, 16}));
    EXPECT_EQ(pressed[0].state.textColor, 0u);
    EXPECT_EQ(canvas.callsOf(mv::DrawOp::FocusRect).at(0).rect, (mv::RECT{2, 2, 94, 22}));
}

TEST_F(ButtonTest, RegisteredByClassName) {
    ASSERT_TRUE(xui::RegisterXButtonClass());
    xui::WindowCreateInfo info;
    info.className = "XBUTTON";
    info.id = 2;
    info.text = QStringLiteral("Cancel");
    QWidget* w = xui::createWindow(parent.get(), info);
    ASSERT_NE(w, nullptr);
    auto* b = qobject_cast<CXButton*>(w);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(xui::windowText(b), "Cancel");
    EXPECT_NE(dynamic_cast<xui::RepairableFace*>(w), nullptr);
}

class OwnerButtonTest : public ButtonTest {};

TEST_F(OwnerButtonTest, CaptionCutOnEachFace) {
    const std::string sixteen = "ABCDEFGHIJKLMNOP";
    EXPECT_EQ(COwnerButton::normalCaption(sixteen), sixteen);
    EXPECT_EQ(COwnerButton::pressedCaption(sixteen), "ABCDEFGHIJKL...");
    EXPECT_EQ(COwnerButton::normalCaption("ABCDEFGHIJKLMNOPQRST"), "ABCDEFGHIJKLMNOP...");
    EXPECT_EQ(COwnerButton::normalCaption("ABCDEFGHIJKLMNOPQRS"), "ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(COwnerButton::pressedCaption("ABCDEFGHIJKLMNO"), "ABCDEFGHIJKLMNO");
}

TEST_F(OwnerButtonTest, LatchingKeepsThePressedFaceUntilRelease) {
    auto* tab = new COwnerButton(parent.get(), 10000, "Block 1");
    tab->setGeometry(120, 10, 100, 24);
    tab->show();
    tab->SetLatching();
    QTest::mouseClick(tab, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(tab->isLatched());
    ASSERT_EQ(commands(), 1u);
    EXPECT_EQ(parent->commands[0].id, 10000);
    QTest::mouseClick(tab, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(tab->isLatched());
    QImage img = xctl_test::render(tab);
    EXPECT_EQ(pixel(img, 10, 6), COwnerButton::kPressedFill);
    EXPECT_EQ(pixel(img, 0, 0), COwnerButton::kFrameColor);
    tab->Release();
    EXPECT_FALSE(tab->isLatched());
    img = xctl_test::render(tab);
    EXPECT_NE(pixel(img, 10, 6), COwnerButton::kPressedFill);
}

TEST_F(OwnerButtonTest, PressShowsSelectedWithoutNotification) {
    auto* tab = new COwnerButton(parent.get(), 10001, "Block 2");
    tab->setGeometry(120, 40, 100, 24);
    tab->show();
    tab->SetLatching();
    tab->Press();
    EXPECT_TRUE(tab->isLatched());
    EXPECT_TRUE(tab->hasFocus());
    EXPECT_EQ(commands(), 0u);
    // A plain owner button returns to its normal face after the click.
    auto* plain = new COwnerButton(parent.get(), 10002, "Plain");
    plain->setGeometry(120, 70, 100, 24);
    plain->show();
    QTest::mouseClick(plain, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_FALSE(plain->isLatched());
    EXPECT_FALSE(plain->pressedFaceShown());
    EXPECT_EQ(commands(), 1u);
}

class DialogButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        xctl_test::app();
        ASSERT_TRUE(xui::RegisterControlClasses());
        tmpl.id = 9901;
        tmpl.caption = "Buttons";
        tmpl.cx = 200;
        tmpl.cy = 120;
        tmpl.style = mv::WS_POPUP | mv::WS_CAPTION;
        tmpl.items = {
            {"XGRID", 1011, "", 7, 7, 120, 60, mv::WS_CHILD | mv::WS_VISIBLE},
            {"XBUTTON", mv::IDOK, "OK", 7, 90, 64, 14,
             mv::WS_CHILD | mv::WS_VISIBLE | mv::WS_TABSTOP},
            {"XBUTTON", mv::IDCANCEL, "Cancel", 90, 90, 64, 14,
             mv::WS_CHILD | mv::WS_VISIBLE | mv::WS_TABSTOP},
        };
        dlg = std::make_unique<xui::CXDialog>(tmpl);
        dlg->ShowModeless();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }

    xui::DialogTemplate tmpl;
    std::unique_ptr<xui::CXDialog> dlg;
};

TEST_F(DialogButtonTest, TemplateMakesOwnControls) {
    auto* grid = dlg->itemAs<xui::XGridCtrl>(1011);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->height() % grid->rowHeight(), 0);
    ASSERT_NE(dlg->itemAs<CXButton>(mv::IDOK), nullptr);
}

TEST_F(DialogButtonTest, PressedFaceRepairedWhenTheMouseLeavesOverTheSurface) {
    auto* ok = dlg->itemAs<CXButton>(mv::IDOK);
    ASSERT_NE(ok, nullptr);
    QTest::mousePress(ok, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(ok->NormalFaceShown());
    // Dragged out over the dialog background with the button still down.
    const QPointF outside(ok->width() + 60.0, -40.0);
    QMouseEvent move(QEvent::MouseMove, outside, ok->mapToGlobal(outside), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ok, &move);
    EXPECT_TRUE(ok->NormalFaceShown());
    EXPECT_FALSE(ok->pressedFaceShown());
    // Released outside: nothing is sent, the dialog stays open.
    QTest::mouseRelease(ok, Qt::LeftButton, {}, QPoint(ok->width() + 60, -40));
    xctl_test::flush();
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(DialogButtonTest, OkButtonEndsTheDialog) {
    auto* ok = dlg->itemAs<CXButton>(mv::IDOK);
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(5, 5));
    xctl_test::flush();
    EXPECT_EQ(dlg->result(), mv::IDOK);
    EXPECT_FALSE(dlg->isVisible());
}

} // namespace
