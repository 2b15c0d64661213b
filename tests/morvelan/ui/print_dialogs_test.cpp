// The print selection and preview dialogs offscreen: their start from the stored settings, the
// refusals of bad sizes and copies, the printer switch and the PrinterConfig profile, the
// settings kept for the per-user store, the preview's paging, zoom and scroll limits.
#include "print_test_util.h"

#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/paper_sizes.h"
#include "morvelan/ui/page_view.h"
#include "morvelan/ui/print_commands.h"
#include "morvelan/ui/print_preview_dlg.h"
#include "morvelan/ui/print_select_dlg.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace morvelan;

class PrintDialogs : public ::testing::Test {
protected:
    void SetUp() override { env_.session->Init(); }
    void Pump() { QCoreApplication::processEvents(); }
    void Click(CPrintSelectDlg& d, int id) {
        d.button(id)->click();
        Pump();
    }
    // The message texts shown so far, then forgets them.
    std::vector<std::string> Messages() {
        std::vector<std::string> out;
        for (const auto& m : env_.messages)
            out.push_back(m.line1 + "|" + m.line2);
        env_.messages.clear();
        return out;
    }
    std::optional<mv::SettingsKey> Store(const char* key) {
        return mv::SettingsKey::open(mv::SettingsRoot::User, key);
    }
    printtest::Environment env_;
};

TEST_F(PrintDialogs, SelectionStartsFromTheStoredSettings) {
    env_.printers->defaultName = "Lab";
    env_.session->Init();
    env_.app.m_PaperSize = {7, 100, 150};
    env_.app.m_PrintMode = 0;
    CPrintSelectDlg d(*env_.session);
    d.ShowModeless();
    EXPECT_EQ(d.windowTitle(), "Print");
    ASSERT_EQ(d.printerCombo()->count(), 3);
    EXPECT_EQ(d.printerCombo()->itemText(0), "Office");
    EXPECT_EQ(d.printerCombo()->itemText(2), "PDF file");
    EXPECT_EQ(d.printerCombo()->currentIndex(), 1);
    ASSERT_EQ(d.paperCombo()->count(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(xui::toCp1252(d.paperCombo()->itemText(i)), mv::kPaperTexts[i]);
    EXPECT_EQ(d.paperCombo()->itemText(2), "A3 297 x 420 mm ");
    EXPECT_EQ(d.paperCombo()->currentIndex(), 7);
    EXPECT_EQ(d.edit(kCopiesEdit)->text(), "1");
    EXPECT_EQ(d.edit(kUserWidthEdit)->text(), "100");
    EXPECT_EQ(d.edit(kUserHeightEdit)->text(), "150");
    EXPECT_TRUE(d.edit(kUserWidthEdit)->isEnabled());
    EXPECT_TRUE(d.button(kRadioProjectPage)->isChecked());
    EXPECT_FALSE(d.button(kFrameCheck)->isEnabled());
    EXPECT_EQ(xui::windowText(d.item(kRadioControllerLabels)),
              "Labels for current controller + modules");
    EXPECT_EQ(xui::windowText(d.item(kSizeLabel)), "Size :");

    // Only "User" enables the size items; the frame option follows the radio buttons.
    d.paperCombo()->setCurrentIndex(3);
    Pump();
    EXPECT_FALSE(d.edit(kUserWidthEdit)->isEnabled());
    EXPECT_FALSE(d.item(kHeightLabel)->isEnabled());
    Click(d, kRadioModuleLabels);
    EXPECT_TRUE(d.button(kFrameCheck)->isEnabled());
    EXPECT_FALSE(d.button(kRadioProjectPage)->isChecked());
    EXPECT_EQ(d.SelectedMode(), mv::kPrintModuleLabels);

    // Black texts on what is behind them (the group's inside); white edits; digits only in
    // the edits.
    const QImage img = d.grab().toImage();
    const mv::RECT r = d.controlRect(d.item(kRadioProjectLabels));
    const mv::RECT group = d.controlRect(d.item(kRangeGroup));
    EXPECT_EQ(xbase_test::pixel(img, r.right - 2, r.top + 1),
              xbase_test::pixel(img, group.right - 3, r.top + 1));
    const mv::RECT e = d.controlRect(d.item(kCopiesEdit));
    EXPECT_EQ(xbase_test::pixel(img, e.left + 4, e.top + 4), 0xFFFFFFu);
    d.edit(kCopiesEdit)->clear();
    QTest::keyClicks(d.edit(kCopiesEdit), "a2-b");
    EXPECT_EQ(d.edit(kCopiesEdit)->text(), "2");
}

TEST_F(PrintDialogs, WithoutASystemDefaultTheFirstEntryIsCurrent) {
    CPrintSelectDlg d(*env_.session);
    d.ShowModeless();
    EXPECT_EQ(d.printerCombo()->currentIndex(), 0);
    EXPECT_EQ(env_.session->current.m_DeviceName, "Office");
    EXPECT_FALSE(Store(kPrinterConfigKey)); // the start-up choice is not written
    // No queue at all: the PDF entry is the only one, and current.
    env_.printers->queues.clear();
    env_.session->Init();
    CPrintSelectDlg only(*env_.session);
    only.ShowModeless();
    EXPECT_EQ(only.printerCombo()->currentIndex(), 0);
    EXPECT_TRUE(env_.session->current.IsPdf());
    // Nothing picked: OK does nothing.
    only.printerCombo()->setCurrentIndex(-1);
    Click(only, mv::IDOK);
    EXPECT_TRUE(only.isVisible());
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(Store(kPrinterConfigKey));
}

TEST_F(PrintDialogs, BadSizesAndCopiesAreRefusedAndTheDialogStays) {
    CPrintSelectDlg d(*env_.session);
    d.ShowModeless();
    d.printerCombo()->setCurrentIndex(2);
    d.paperCombo()->setCurrentIndex(7);
    Pump();
    struct Case {
        const char* width;
        const char* height;
        const char* copies;
        const char* message;
    };
    const Case cases[] = {
        {"", "150", "1", "The value is too small|"},
        {"0", "150", "1", "The value is too small|"},
        {"100", "000", "1", "The value is too small|"},
        {"10001", "150", "1", "The value is too large|"},
        {"100", "99999999999", "1", "The value is too large|"},
        {"100", "150", "0", "The value is too small|"},
        {"100", "150", "", "The value is too small|"},
        {"100", "150", "1000", "The value is too large|"},
    };
    for (const Case& c : cases) {
        d.edit(kUserWidthEdit)->setText(c.width);
        d.edit(kUserHeightEdit)->setText(c.height);
        d.edit(kCopiesEdit)->setText(c.copies);
        Click(d, mv::IDOK);
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message}) << c.width << " " << c.height;
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(env_.chooserCalls, 0);
    }
    EXPECT_EQ(env_.app.m_PaperSize, (std::array<std::int32_t, 3>{3, 0, 0}));
}

TEST_F(PrintDialogs, PrinterSwitchKeepsTheProfileAndTheSettings) {
    // A printer that went away is named and nothing is printed on the old one.
    env_.printers->usable.erase("Office");
    CPrintSelectDlg d(*env_.session);
    d.ShowModeless();
    d.printerCombo()->setCurrentIndex(0);
    Click(d, mv::IDOK);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Office|This printer cannot be used"});
    EXPECT_EQ(env_.session->current.m_DeviceName, "Office"); // the start-up choice stays
    EXPECT_FALSE(Store(kPrinterConfigKey));

    // The PDF entry: the file is asked (cancelled here: the dialog stays open).
    d.printerCombo()->setCurrentIndex(2);
    d.paperCombo()->setCurrentIndex(7);
    d.edit(kUserWidthEdit)->setText("100");
    d.edit(kUserHeightEdit)->setText("150");
    Click(d, kRadioControllerLabels);
    Click(d, mv::IDOK);
    EXPECT_EQ(env_.chooserCalls, 0); // no tile selected: refused, nothing asked
    EXPECT_EQ(Messages(), std::vector<std::string>{"No module selected|"});
    EXPECT_TRUE(d.isVisible());
    auto config = Store(kPrinterConfigKey);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->readText("PrinterName"), "PDF file");
    EXPECT_EQ(config->readText("Spooler"), "pdf");
    EXPECT_EQ(config->readText("Port"), "");
    EXPECT_EQ(config->readDword("Landscape"), 1u);
    EXPECT_EQ(env_.app.m_PaperSize, (std::array<std::int32_t, 3>{7, 100, 150}));
    EXPECT_EQ(env_.app.m_PrintMode, mv::kPrintControllerLabels);
    ASSERT_TRUE(env_.app.WriteRegistrySettings());
    auto user = Store(kRegistryKey);
    ASSERT_TRUE(user);
    EXPECT_EQ(user->readBinary("Papersize"),
              (std::vector<std::uint8_t>{7, 0, 0, 0, 100, 0, 0, 0, 150, 0, 0, 0}));
    EXPECT_EQ(user->readDword("Printmode"), 2u);

    // A switch to a queue writes it; the page set-up keeps its orientation.
    ASSERT_TRUE(env_.session->SelectPrinter(1));
    EXPECT_EQ(Store(kPrinterConfigKey)->readText("PrinterName"), "Lab");
    EXPECT_EQ(Store(kPrinterConfigKey)->readText("Spooler"), "cups");
    EXPECT_EQ(Store(kPrinterConfigKey)->readText("Port"), "Lab");
    int shown = 0;
    env_.session->runPageSetup = [&](QPrinter& printer, QWidget*) {
        ++shown;
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    };
    OnFilePrintSetup(*env_.session, nullptr);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(Store(kPrinterConfigKey)->readDword("Landscape"), 2u);
    EXPECT_EQ(env_.session->printers.GetName(5), "Error");
    EXPECT_EQ(env_.session->printers.GetPort(-1), "Error");
}

TEST_F(PrintDialogs, PdfThatCannotBeWrittenIsReported) {
    const std::string blocker = env_.dir + "/plain";
    std::ofstream(blocker) << "x";
    ::setenv(kPrintPdfEnv, (blocker + "/out.pdf").c_str(), 1);
    env_.app.m_PrintMode = 0;
    CPrintSelectDlg d(*env_.session);
    d.ShowModeless();
    d.printerCombo()->setCurrentIndex(2);
    Click(d, mv::IDOK);
    const auto m = Messages();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_NE(m[0].find("cannot be written"), std::string::npos) << m[0];
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(env_.chooserCalls, 0);
    EXPECT_FALSE(std::filesystem::exists(blocker + "/out.pdf.part"));
}

TEST_F(PrintDialogs, PreviewPagesZoomAndScrolling) {
    // A project page of a document with enough boards for several pages.
    CMorvelanDoc doc;
    doc.m_Name = "Hall";
    env_.session->document = [&doc] { return &doc; };
    env_.session->state.printableHeight = 1;

    CPageView fresh(*env_.session);
    EXPECT_EQ(fresh.m_Extent, (mv::SIZE{2100, 2900}));
    EXPECT_EQ(fresh.m_Copies, 1);
    EXPECT_EQ(fresh.windowTitle(), "A");

    CPrintPreviewDlg p(*env_.session, kViewProjectPage, 1, mv::kPaperA4, 0, 0);
    p.ShowModeless();
    EXPECT_EQ(p.windowTitle(), "Preview");
    EXPECT_EQ(xui::windowText(p.item(kJobNameStatic)), "Project");
    EXPECT_EQ(p.PageCount(), 1);
    EXPECT_EQ(xui::windowText(p.item(kPageCountStatic)), "1");
    EXPECT_EQ(env_.session->state.printableHeight, 2970);
    CPageView* v = p.view();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->m_Extent, (mv::SIZE{2100, 2970}));
    const QRect g = v->geometry();
    EXPECT_NEAR(g.height(), g.width() * 2970 / 2100, 1);
    // Next and previous stop at the ends.
    auto press = [&](int id) {
        xui::postCommandTo(&p, id);
        QCoreApplication::processEvents();
    };
    press(kNextPageButton);
    EXPECT_EQ(p.CurrentPage(), 1);
    press(kPreviousPageButton);
    EXPECT_EQ(p.CurrentPage(), 1);
    // Zoom in three times at most, out back to the page's extents.
    for (int i = 0; i < 5; ++i)
        press(kZoomInButton);
    EXPECT_EQ(p.ZoomLevel(), 3);
    EXPECT_EQ(v->m_Extent, (mv::SIZE{262, 371}));
    for (int i = 0; i < 5; ++i)
        press(kZoomOutButton);
    EXPECT_EQ(p.ZoomLevel(), 0);
    EXPECT_EQ(v->m_Extent, (mv::SIZE{2100, 2970}));

    // Scrolling stays within the ranges.
    v->OnVScroll(SB_LINEUP, 0);
    EXPECT_EQ(v->m_VOffset, 0);
    v->OnVScroll(SB_PAGEDOWN, 0);
    v->OnVScroll(SB_LINEDOWN, 0);
    EXPECT_EQ(v->m_VOffset, -101);
    EXPECT_EQ(v->verticalScrollBar()->value(), 101);
    v->OnVScroll(SB_PAGEUP, 0);
    EXPECT_EQ(v->m_VOffset, -1);
    v->OnVScroll(SB_PAGEUP, 0); // a page up needs more than 10 units above
    EXPECT_EQ(v->m_VOffset, -1);
    v->OnVScroll(SB_LINEUP, 0);
    EXPECT_EQ(v->m_VOffset, 0);
    v->OnVScroll(SB_THUMBTRACK, 99999);
    EXPECT_EQ(v->m_VOffset, -2970);
    v->OnVScroll(SB_LINEDOWN, 0);
    EXPECT_EQ(v->m_VOffset, -2970);
    v->OnHScroll(SB_LINELEFT, 0);
    EXPECT_EQ(v->m_HOffset, 0);
    v->OnHScroll(SB_PAGERIGHT, 0);
    v->OnHScroll(SB_LINERIGHT, 0);
    EXPECT_EQ(v->m_HOffset, 101);
    v->OnHScroll(SB_THUMBPOSITION, 5000);
    EXPECT_EQ(v->m_HOffset, 2100);
    v->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(v->m_VOffset, -2870);

    // The page is white, its shadow black, the job name box in the label colour.
    v->OnVScroll(SB_THUMBTRACK, 0);
    v->OnHScroll(SB_THUMBTRACK, 0);
    const QImage img = p.grab().toImage();
    const QRect vg = v->geometry();
    EXPECT_EQ(xbase_test::pixel(img, vg.left() + 10, vg.top() + 10), 0xDCDCDCu); // header
    EXPECT_EQ(xbase_test::pixel(img, vg.right() + 2, vg.bottom() + 2), 0u);
    const mv::RECT job = p.controlRect(p.item(kJobNameStatic));
    EXPECT_EQ(xbase_test::pixel(img, job.left + 3, job.top + 3), 0xDEBF97u);
    env_.session->document = nullptr;
}

} // namespace
