// Printing from the running program: Ctrl+P (the frame's print command) opens the selection
// dialog over the open project, and the selected tile's labels go into a PDF file; the
// printer set-up command is served too.
#include "frame_fixture.h"

#include "morvelan/ui/print_dialog_ids.h"
#include "morvelan/ui/print_select_dlg.h"
#include "morvelan/ui/print_session.h"
#include "xui/command.h"

#include <QAbstractButton>
#include <QShortcut>
#include <QComboBox>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include <cstdio>

namespace {

std::string PdfText(const std::string& path) {
    std::string out;
    if (FILE* p = ::popen(("pdftotext '" + path + "' - 2>/dev/null").c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

class PrintFromFrame : public frametest::FrameTest {};

TEST_F(PrintFromFrame, SelectedModuleLabelsIntoAPdfFile) {
    ASSERT_EQ(startWithDemo(), 1);
    EXPECT_TRUE(frame().Commands().HasHandler(ID_PRINT));
    EXPECT_TRUE(frame().Commands().HasHandler(ID_FILE_PRINT_SETUP));
    auto* ctrlP = frame().findChild<QShortcut*>(QStringLiteral("accel%1").arg(ID_PRINT));
    ASSERT_NE(ctrlP, nullptr);
    EXPECT_EQ(ctrlP->key(), QKeySequence(QStringLiteral("Ctrl+P")));

    const std::string pdf = root_ + "/labels.pdf";
    ::setenv(morvelan::kPrintPdfEnv, pdf.c_str(), 1);
    // Nothing selected: the labels of the current controller or module are refused with a
    // message, nothing is printed and the dialog stays open until it is cancelled.
    ASSERT_EQ(frame().SelectedTile(), nullptr);
    messages_.clear();
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<morvelan::CPrintSelectDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->printerCombo()->setCurrentIndex(d->printerCombo()->count() - 1);
        for (int radio : {morvelan::kRadioControllerLabels, morvelan::kRadioModuleLabels}) {
            QTest::mouseClick(d->button(radio), Qt::LeftButton, {}, QPoint(5, 5));
            QTest::mouseClick(d->item(mv::IDOK), Qt::LeftButton);
            QApplication::processEvents();
            EXPECT_TRUE(d->button(radio)->isChecked());
            EXPECT_TRUE(d->isVisible());
            std::string seen;
            for (const xui::MessageRequest& m : messages_)
                seen += m.line1 + "|" + m.caption + "|" + std::to_string(m.bitmapId) + ";";
            EXPECT_EQ(seen, "No module selected|Error|150;");
            messages_.clear();
        }
        QTest::mouseClick(d->item(mv::IDCANCEL), Qt::LeftButton);
    });
    emit ctrlP->activated();
    EXPECT_FALSE(std::filesystem::exists(pdf));

    select(&tile(0, 3));
    bool shown = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<morvelan::CPrintSelectDlg*>(w);
            if (!d || !d->isVisible())
                continue;
            shown = true;
            d->printerCombo()->setCurrentIndex(d->printerCombo()->count() - 1);
            d->button(morvelan::kRadioModuleLabels)->click();
            QApplication::processEvents();
            xui::postCommandTo(d, mv::IDOK);
        }
    });
    emit ctrlP->activated();
    ::unsetenv(morvelan::kPrintPdfEnv);
    EXPECT_TRUE(shown);
    // The board at slot 2 prints its pair: itself and the board after it.
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find(tile(0, 3).Description()->m_Description), std::string::npos) << text;
    EXPECT_NE(text.find(tile(0, 4).Description()->m_Description), std::string::npos) << text;
    EXPECT_EQ(text.find(tile(0, 5).Description()->m_Description), std::string::npos) << text;
    EXPECT_EQ(app_->m_PrintMode, mv::kPrintModuleLabels);
}

} // namespace
