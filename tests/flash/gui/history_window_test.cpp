// The loader's History window in-process: its own template 102, caption and one line.
#include "flash/flash_dialogs.h"
#include "flash/loader/history_content.h"
#include "xui/history_dlg.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(FlashHistoryWindow, ShowsTheLoaderHistoryOnTemplate102) {
    static int argc = 1;
    static char name[] = "flash_gui_test";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<xui::CHistoryDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        seen = true;
        EXPECT_EQ(dlg->windowTitle(), "History");
        ASSERT_NE(dlg->list(), nullptr);
        ASSERT_EQ(dlg->list()->count(), 1);
        EXPECT_EQ(dlg->list()->item(0)->text(), "1.00      September 2003        ");
        dlg->accept();
    });
    const flash::HistoryContent content = flash::LoaderHistory();
    EXPECT_EQ(content.templateId, 102);
    flash::RunHistoryDialog(content);
    EXPECT_TRUE(seen);
    ASSERT_NE(xui::findDialogTemplate(102), nullptr);
    EXPECT_STREQ(xui::findDialogTemplate(102)->caption, "History");
}

} // namespace
