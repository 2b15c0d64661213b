// The layer's own controls are found by class name without anybody registering them: this
// program calls no registration function at all before building its dialogs.
#include "xbase_test_support.h"

#include "xui/color_combo_box.h"
#include "xui/color_sel_edit.h"
#include "xui/color_static.h"
#include "xui/info_list_box.h"
#include "xui/ip_address_ctrl.h"
#include "xui/message_dlg.h"
#include "xui/xbutton.h"
#include "xui/xdialog.h"
#include "xui/xgrid_ctrl.h"

#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

using namespace mv;

const xui::DialogTemplate kOwnControls{
    901,
    "Own controls",
    "MS Sans Serif",
    8,
    0,
    0,
    320,
    200,
    WS_POPUP | WS_CAPTION,
    {
        {"XGRID", 1011, "", 7, 26, 305, 123, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {"SysIPAddress32", 1109, "", 7, 150, 100, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {"CColorSelEdit", 1108, "502", 110, 150, 40, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {"CColorStatic", 1107, "Port", 160, 150, 40, 8, WS_CHILD | WS_VISIBLE},
        {"CColorComboBox", 1014, "", 210, 150, 60, 40, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {"CInfoListBox", 1020, "", 7, 4, 100, 20, WS_CHILD | WS_VISIBLE},
        {"xbutton", IDOK, "OK", 7, 170, 64, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
    },
};

TEST(OwnClasses, TemplatesFindThemWithoutARegistrationCall) {
    xbase_test::app();
    xui::CXDialog dlg(kOwnControls);
    EXPECT_NE(dlg.itemAs<xui::XGridCtrl>(1011), nullptr);
    EXPECT_NE(dlg.itemAs<xui::CIpAddressCtrl>(1109), nullptr);
    EXPECT_NE(dlg.itemAs<xui::CColorSelEdit>(1108), nullptr);
    EXPECT_NE(dlg.itemAs<xui::CColorStatic>(1107), nullptr);
    EXPECT_NE(dlg.itemAs<xui::CColorComboBox>(1014), nullptr);
    EXPECT_NE(dlg.itemAs<xui::CInfoListBox>(1020), nullptr);
    ASSERT_NE(dlg.itemAs<xui::CXButton>(IDOK), nullptr);
    EXPECT_EQ(dlg.itemAs<xui::CXButton>(IDOK)->text(), "OK");
}

TEST(OwnClasses, ButtonSpelledInLowerCaseStillHasItsFaceRepaired) {
    xbase_test::app();
    xui::CXDialog dlg(kOwnControls);
    dlg.ShowModeless();
    auto* ok = dlg.itemAs<xui::CXButton>(IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(xui::windowClassName(ok), "XBUTTON");
    ok->ClearHover();
    ok->Click(); // pressed face, as when the mouse left it with the button down
    ASSERT_FALSE(ok->NormalFaceShown());
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), dlg.mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &move);
    EXPECT_TRUE(ok->NormalFaceShown());
    EXPECT_FALSE(ok->pressedFaceShown());
}

TEST(OwnClasses, ALaterRegistrationStillReplacesAnOwnClass) {
    xbase_test::app();
    ASSERT_TRUE(xui::isWindowClassRegistered("XGRID"));
    xbase_test::registerStandInButton();
    xui::CMessageDlg dlg("Line", "", "Caption", 159, xui::kMessageOk, nullptr, 0x800000);
    EXPECT_NE(dynamic_cast<xbase_test::StandInButton*>(dlg.item(IDOK)), nullptr);
    EXPECT_EQ(dlg.itemAs<xui::CXButton>(IDOK), nullptr);
}

} // namespace
