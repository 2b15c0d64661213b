// The Help menu's information dialogs: History (32800) and About (57664) through the frame's
// command table, and the information list and module information pages on their own.
#include "tests/morvelan/ui/frame_fixture.h"

#include "morvelan/core/command_ids.h"
#include "morvelan/ui/about_dlg.h"
#include "morvelan/ui/history_table.h"
#include "morvelan/ui/info_list_dlg.h"
#include "morvelan/ui/program_icon.h"
#include "platform/version_block.h"
#include "xui/bitmaps.h"
#include "xui/history_dlg.h"
#include "xui/qt_text.h"

#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <functional>

namespace {

using frametest::FrameTest;
namespace fs = std::filesystem;

// Runs `check` on the modal dialog that `command` opens, then closes it with `button`.
template <class Dlg>
void WithModal(const std::function<void()>& command, const std::function<void(Dlg&)>& check,
               bool& seen) {
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<Dlg*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        seen = true;
        check(*dlg);
        dlg->done(mv::IDOK);
    });
    command();
}

std::vector<std::string> ListLines(const QListWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; list && i < list->count(); ++i)
        out.push_back(xui::toCp1252(list->item(i)->text()));
    return out;
}

TEST_F(FrameTest, HistoryCommandListsTheReleaseNotesInAFixedFont) {
    const std::vector<std::string>& table = morvelan::HistoryTable();
    ASSERT_EQ(table.size(), 254u);
    EXPECT_EQ(table.front(), "2.014      08.05.2003");
    std::string lastHeading;
    for (const std::string& line : table) {
        EXPECT_LE(line.size(), xui::kHistoryLineMax);
        if (!line.empty() && line[0] != ' ')
            lastHeading = line;
    }
    EXPECT_EQ(lastHeading.substr(0, 5), "2.400");

    ASSERT_TRUE(start());
    ASSERT_TRUE(frame().Commands().HasHandler(ID_HISTORY));
    bool seen = false;
    WithModal<xui::CHistoryDlg>(
        [&] { frame().Commands().Run(ID_HISTORY); },
        [&](xui::CHistoryDlg& dlg) {
            EXPECT_EQ(ListLines(dlg.list()), table);
            EXPECT_EQ(dlg.list()->font().family(), "Liberation Mono");
            EXPECT_EQ(dlg.windowTitle(), "History");
            ASSERT_NE(dlg.item(mv::IDCANCEL), nullptr);
            EXPECT_EQ(dlg.item(mv::IDCANCEL)->property("text").toString(), "Abbrechen");
            EXPECT_NEAR(dlg.width(), xui::dluToPixelsX(459), 2);
        },
        seen);
    EXPECT_TRUE(seen);
}

TEST_F(FrameTest, AboutListsEveryDeliverableWithPollingPaused) {
    const std::string bin = mvtest::ProgramDir();
    const std::string version = mv::readVersionValue(bin + "/morvelan", "FileVersion");
    ASSERT_FALSE(version.empty());
    const std::vector<std::string> labels{"ProductName",   "FileVersion",   "CompanyName",
                                          "LegalCopyright", "ProductVersion", "OS",
                                          "PORTWIRE.DLL",  "X740_CORE.DLL", "X740PANEL.DLL",
                                          "X740_CAM.DLL",  "X740FLASH.EXE"};
    const auto rows = morvelan::AboutRows(bin, "Linux test");
    ASSERT_EQ(rows.size(), labels.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].first, labels[i]);
    EXPECT_EQ(rows[1].second, version);
    EXPECT_EQ(rows[5].second, "Linux test");
    for (std::size_t i = 6; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].second, version) << rows[i].first;
    EXPECT_EQ(rows[0].second, mv::readVersionValue(bin + "/morvelan", "ProductName"));
    // Every deliverable carries its block, all with the same file version.
    for (const char* f : {"libX740_Gate.so", "libX740_Logic.so"})
        EXPECT_EQ(mv::readVersionValue(bin + "/" + f, "FileVersion"), version) << f;

    // A folder without the camera library keeps its row with an empty value.
    const std::string copy = root_ + "/bin";
    fs::create_directories(copy);
    for (const char* f : {"morvelan", "libPortwire.so", "libX740_Core.so", "X740Panel.so",
                          "X740Flash"})
        fs::copy_file(bin + "/" + f, copy + "/" + f);
    const auto partial = morvelan::AboutRows(copy, "");
    ASSERT_EQ(partial.size(), labels.size());
    EXPECT_EQ(partial[9].first, "X740_CAM.DLL");
    EXPECT_EQ(partial[9].second, "");
    EXPECT_EQ(partial[10].second, version);

    ASSERT_TRUE(start());
    // Started, the program has its icon in every size drawn.
    QList<QSize> sizes;
    for (int size : morvelan::kProgramIconSizes)
        sizes.push_back(QSize(size, size));
    EXPECT_EQ(QApplication::windowIcon().availableSizes(), sizes);
    EXPECT_EQ(frame().windowIcon().availableSizes(), sizes);
    frame().ResumePolling();
    bool seen = false;
    WithModal<morvelan::CAboutDlg>(
        [&] { frame().Commands().Run(ID_APP_ABOUT); },
        [&](morvelan::CAboutDlg& dlg) {
            EXPECT_FALSE(frame().IsPollingEnabled());
            const auto* names = dlg.itemAs<QListWidget>(morvelan::IDC_ABOUT_NAMES);
            const auto* values = dlg.itemAs<QListWidget>(morvelan::IDC_ABOUT_VALUES);
            EXPECT_EQ(ListLines(names), labels);
            ASSERT_EQ(ListLines(values).size(), labels.size());
            EXPECT_EQ(ListLines(values)[5], app_->GetOSName());
            EXPECT_EQ(xui::toCp1252(dlg.windowTitle()), app_->m_Language.GetText(100));
            // The program's icon in the icon static, at the size icons are drawn.
            const auto* icon = dlg.itemAs<QLabel>(morvelan::IDC_ABOUT_ICON);
            ASSERT_NE(icon, nullptr);
            EXPECT_EQ(icon->geometry(), QRect(xui::dluToPixelsX(7), xui::dluToPixelsY(7), 32, 32));
            const QImage file = xui::readPictureFile(prog_ + "/icons/morvelan-32.png");
            ASSERT_EQ(file.size(), QSize(32, 32));
            EXPECT_EQ(icon->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                      file.convertToFormat(QImage::Format_ARGB32));
            EXPECT_EQ(dlg.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
        },
        seen);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(frame().IsPollingEnabled());
}

TEST_F(FrameTest, InfoListShowsNumberedLinesAndResumesPollingOnPaint) {
    ASSERT_TRUE(start());
    frame().PausePolling();
    morvelan::CInfoListDlg dlg(&frame());
    dlg.m_Entries = {{1, "Timeout"}, {12345, "Checksum error"}, {-7, "Gr\xF6\xDF" "e"}};
    int stepping = 0;
    const auto resumePolling = dlg.m_ResumeOnPaint;
    dlg.m_ResumeOnPaint = [&] {
        resumePolling();
        ++stepping;
    };
    dlg.ShowModeless();
    EXPECT_EQ(ListLines(dlg.list()), (std::vector<std::string>{"    1\tTimeout",
                                                               "12345\tChecksum error",
                                                               "   -7\tGr\xF6\xDF" "e"}));
    EXPECT_EQ(dlg.windowTitle().isEmpty(), false);
    dlg.grab();
    EXPECT_TRUE(frame().IsPollingEnabled());
    EXPECT_GE(stepping, 1);
    frame().PausePolling();
    dlg.grab();
    EXPECT_TRUE(frame().IsPollingEnabled());
    dlg.EndDialog(mv::IDOK);
}

} // namespace
