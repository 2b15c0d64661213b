// The firmware window shows the controller's three texts in their edits.
#include "morvelan/online/firmware_info_dlg.h"

#include "morvelan/core/app_hooks.h"
#include "tests/xui/xbase_test_support.h"
#include "xui/window_class.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

TEST(FirmwareInfoDlg, ShowsTheThreeTextsInTheirEditsCutTo255) {
    xbase_test::app();
    morvelan::CFirmwareInfoDlg dlg;
    dlg.m_Text1050 = "12.03.2024";
    dlg.m_Text1053 = "X740 FW";
    dlg.m_Text1051 = std::string(300, 'v');
    dlg.ShowModeless();
    EXPECT_EQ(dlg.itemAs<QLineEdit>(morvelan::kFwDateEdit)->text().toStdString(), "12.03.2024");
    EXPECT_EQ(dlg.itemAs<QLineEdit>(morvelan::kFwFirmwareEdit)->text().toStdString(), "X740 FW");
    EXPECT_EQ(dlg.itemAs<QLineEdit>(morvelan::kFwVersionEdit)->text().size(), 255);
    // Labels and OK carry their language texts.
    const std::pair<int, int> texts[] = {{morvelan::kFwFirmwareLabel, 181},
                                         {morvelan::kFwDateLabel, 182},
                                         {morvelan::kFwVersionLabel, 183},
                                         {mv::IDOK, 10000}};
    for (const auto& [id, number] : texts)
        EXPECT_EQ(xui::windowText(dlg.item(id)).toStdString(), mv::LanguageText(number)) << id;
    EXPECT_EQ(dlg.windowTitle().toStdString(), mv::LanguageText(180));
    dlg.EndDialog(1);
}

} // namespace
