// Real prints of the sample project into PDF files: in every mode, with one and two copies, on
// A4 and on a user paper, page k of the print holds the words the preview draws for page k,
// the PDF has as many pages as the preview counts, and its title and page size are right.
#include "print_test_util.h"

#include "../core/fixtures/doc_test_util.h"
#include "morvelan/core/paper_sizes.h"
#include "morvelan/ui/module_dialog_seams.h"
#include "morvelan/ui/page_view.h"
#include "morvelan/ui/print_commands.h"
#include "morvelan/ui/print_preview_dlg.h"
#include "morvelan/ui/printer_list.h"
#include "xui/command.h"
#include "xui/font_map.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"
#include "platform/recording_canvas.h"

#include <optional>
#include <QFontMetricsF>
#include <QPrinter>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <sstream>

namespace {

using namespace morvelan;

// The output of a command (stdout), empty when it cannot run.
std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

// The characters of a page without the blanks, sorted: pdftotext joins and splits the words of
// the closely packed rotated label lines in its own way, but finds every character.
std::string SortedCharacters(const std::string& text) {
    std::string out;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            out += c;
    std::sort(out.begin(), out.end());
    return out;
}

std::string InfoLine(const std::string& info, const std::string& key) {
    const std::size_t at = info.find(key + ":");
    if (at == std::string::npos)
        return {};
    const std::size_t end = info.find('\n', at);
    std::string v = info.substr(at + key.size() + 1, end - at - key.size() - 1);
    v.erase(0, v.find_first_not_of(' '));
    return v;
}

class PrintToPdf : public ::testing::Test {
protected:
    void SetUp() override {
        if (Shell("command -v pdftotext pdfinfo").empty())
            GTEST_SKIP() << "poppler-utils are missing";
        ASSERT_EQ(doc_.OnOpenDocument(mvtest::SourceDir() + "/data/samples/demo.mvl"), 1);
        env_.app.m_ProgramDir = install_.dir();
        env_.session->document = [this] { return &doc_; };
        env_.session->selectedTile = [this] { return doc_.Station(0)->Tile(2); };
        env_.session->Init();
        ASSERT_TRUE(env_.session->SelectPrinter(env_.session->printers.GetCount() - 1));
        pdf_ = env_.dir + "/out.pdf";
        ::setenv(kPrintPdfEnv, pdf_.c_str(), 1);
    }

    // The words of each page the preview draws.
    std::vector<std::string> PreviewPages(int mode, int copies, mv::SIZE page) {
        mv::PrintState& state = env_.session->state;
        state.printableHeight = page.cy;
        const int count =
            mv::PreviewPageCount(mode, state, env_.session->Context(), copies, page.cy);
        std::vector<std::string> pages;
        for (int k = 1; k <= count; ++k) {
            mv::RecordingCanvas dc;
            dc.setMapMode(mv::MM_LOMETRIC);
            mv::PreviewSink sink;
            mv::CLabelPrinter printer(dc, sink, state, env_.session->Context());
            printer.Run(mode, k, 1, 1, copies, page.cy);
            std::string all;
            for (const auto& t : dc.texts())
                all += t + " ";
            pages.push_back(SortedCharacters(all));
        }
        return pages;
    }

    // The text of a whole print of a job, without blanks.
    std::string PrintedText(int mode) {
        std::filesystem::remove(pdf_);
        EXPECT_EQ(env_.session->Print(mode, 1, 1, mv::PaperSize(mv::kPaperA4, 0, 0)),
                  PrintOutcome::Done);
        std::string out;
        for (char c : Shell("pdftotext -raw '" + pdf_ + "' - 2>/dev/null"))
            if (!std::isspace(static_cast<unsigned char>(c)))
                out += c;
        return out;
    }
    // What a job draws on its first page.
    mv::RecordingCanvas Recorded(int mode) {
        mv::RecordingCanvas dc;
        dc.setMapMode(mv::MM_LOMETRIC);
        mv::PreviewSink sink;
        env_.session->state.printableHeight = 2970;
        mv::CLabelPrinter printer(dc, sink, env_.session->state, env_.session->Context());
        printer.Run(mode, 1, 1, 1, 1, 2970);
        return dc;
    }

    printtest::Environment env_;
    doctest::SampleInstall install_;
    doctest::Hooks docHooks_{install_};
    CMorvelanDoc doc_;
    std::string pdf_;
};

TEST_F(PrintToPdf, EveryPageOfThePrintIsThePreviewsPage) {
    struct Paper {
        int index;
        const char* size;
    };
    const Paper papers[] = {{mv::kPaperA4, "595 x 842 pts (A4)"}, {mv::kPaperUser, "283 x 425 pts"}};
    for (const Paper& paper : papers) {
        const mv::SIZE page = mv::PaperSize(paper.index, 100, 150);
        for (int mode = 0; mode < 4; ++mode) {
            for (int copies = 1; copies <= 2; ++copies) {
                SCOPED_TRACE("paper " + std::to_string(paper.index) + " mode " +
                             std::to_string(mode) + " copies " + std::to_string(copies));
                std::filesystem::remove(pdf_);
                ASSERT_EQ(env_.session->Print(mode, 0, copies, page), PrintOutcome::Done);
                const auto preview = PreviewPages(mode, copies, page);
                const std::string info = Shell("pdfinfo '" + pdf_ + "' 2>&1");
                EXPECT_EQ(InfoLine(info, "Pages"), std::to_string(preview.size())) << info;
                EXPECT_EQ(InfoLine(info, "Title"), "Morvelan Toolkit");
                EXPECT_EQ(InfoLine(info, "Page size").rfind(paper.size, 0), 0u)
                    << InfoLine(info, "Page size");
                for (std::size_t k = 1; k <= preview.size(); ++k) {
                    const std::string n = std::to_string(k);
                    const auto printed = SortedCharacters(
                        Shell("pdftotext -raw -f " + n + " -l " + n + " '" + pdf_ + "' - 2>/dev/null"));
                    // Every printed character is the preview's, and only what runs off the
                    // paper's edges is missing (the list of the project page is wider than
                    // the user paper).
                    const std::string& shown = preview[k - 1];
                    EXPECT_TRUE(std::includes(shown.begin(), shown.end(), printed.begin(),
                                              printed.end()))
                        << "page " << k << "\n" << printed << "\n" << shown;
                    if (mode != mv::kPrintProjectPage || paper.index == mv::kPaperA4) {
                        EXPECT_GE(printed.size() * 10, shown.size() * 9)
                            << "page " << k << "\n" << printed << "\n" << shown;
                    }
                    EXPECT_FALSE(printed.empty()) << "page " << k;
                }
            }
        }
    }
    EXPECT_TRUE(env_.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(pdf_ + ".part"));
}

TEST_F(PrintToPdf, LastLabelFillingItsPageEndsTheDocument) {
    // 50 mm pages: the project's last pair ends its page exactly (the job's y is back at 0).
    const mv::SIZE page = mv::PaperSize(mv::kPaperUser, 100, 50);
    ASSERT_EQ(env_.session->Print(mv::kPrintProjectLabels, 1, 1, page), PrintOutcome::Done);
    EXPECT_EQ(env_.session->state.y, 0);
    EXPECT_EQ(env_.session->state.newPage, 1);
    const int count = mv::PreviewPageCount(mv::kPrintProjectLabels, env_.session->state,
                                           env_.session->Context(), 1, page.cy);
    const std::string info = Shell("pdfinfo '" + pdf_ + "' 2>&1");
    EXPECT_EQ(InfoLine(info, "Pages"), std::to_string(count)) << info;
    const std::string last = std::to_string(count);
    EXPECT_FALSE(Shell("pdftotext -f " + last + " -l " + last + " '" + pdf_ + "' -")
                     .find_first_not_of(" \n\f") == std::string::npos);
}

TEST_F(PrintToPdf, PreviewPagesThroughTheProjectLabels) {
    CPrintPreviewDlg p(*env_.session, mv::kPrintProjectLabels + 1, 2, mv::kPaperUser, 100, 150);
    p.ShowModeless();
    const int count = mv::PreviewPageCount(mv::kPrintProjectLabels, env_.session->state,
                                           env_.session->Context(), 2, 1500);
    ASSERT_GT(count, 2);
    EXPECT_EQ(p.PageCount(), count);
    EXPECT_EQ(xui::windowText(p.item(kPageCountStatic)).toStdString(), std::to_string(count));
    EXPECT_EQ(xui::windowText(p.item(kJobNameStatic)), "Labels for project");
    for (int i = 0; i < count + 2; ++i) {
        xui::postCommandTo(&p, kNextPageButton);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(p.CurrentPage(), count);
    EXPECT_EQ(p.view()->m_Page, count);
    EXPECT_EQ(xui::windowText(p.item(kCurrentPageStatic)).toStdString(), std::to_string(count));
    xui::postCommandTo(&p, kPreviousPageButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(p.CurrentPage(), count - 1);
    // The last page shows label boxes (drawn in the preview whatever the frame option says).
    const QImage img = p.view()->grab().toImage();
    int dark = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width() - 20; ++x)
            dark += qGray(img.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(dark, 50);
}

TEST_F(PrintToPdf, LabelLinesPrintTheSameAfterASaveAndReopen) {
    CModuleTile* board = doc_.Station(0)->Tile(1);
    board->m_Lines = {"Inputs", "Hall2", ""};
    const std::string before = PrintedText(mv::kPrintProjectLabels);
    for (const char* line : {"X740slot0", "Maincabinet", "Inputs", "Hall2"})
        EXPECT_NE(before.find(line), std::string::npos) << line << "\n" << before;
    const std::string saved = env_.dir + "/saved.mvl";
    ASSERT_EQ(doc_.OnSaveDocument(saved), 1);
    ASSERT_EQ(doc_.OnOpenDocument(saved), 1);
    EXPECT_EQ(PrintedText(mv::kPrintProjectLabels), before);

    // A pair without label lines gets the short line instead, also after a reopen.
    const auto shortLines = [this] {
        int n = 0;
        for (const mv::DrawCall& c : Recorded(mv::kPrintProjectLabels).callsOf(mv::DrawOp::Line))
            n += c.from.y == c.to.y && c.to.x - c.from.x == 100 ? 1 : 0;
        return n;
    };
    const int withText = shortLines();
    doc_.Station(0)->Tile(1)->m_Lines = {"", "", ""};
    ASSERT_EQ(doc_.OnSaveDocument(saved), 1);
    ASSERT_EQ(doc_.OnOpenDocument(saved), 1);
    EXPECT_EQ(shortLines(), withText + 1);
}

TEST_F(PrintToPdf, ProjectHeaderLabelsFitTheirColumnInBothLanguages) {
    doc_.m_Comment = "First\r\nSecond\r\nThird";
    for (const char* language : {"English", "Deutsch"}) {
        SCOPED_TRACE(language);
        ASSERT_EQ(env_.app.m_Language.Load(language), 1);
        const mv::RecordingCanvas dc = Recorded(mv::kPrintProjectPage);
        int labels = 0;
        std::optional<mv::DrawCall> lastComment;
        for (const mv::DrawCall& c : dc.callsOf(mv::DrawOp::TextOut)) {
            // Measured at ten times the size, for the outline's own widths.
            const QFontMetricsF m(xui::makeQFont(c.state.font, -c.state.font.height * 10));
            if (c.from.x == 10 && c.state.font.height == -40) {
                ++labels;
                EXPECT_LT(m.horizontalAdvance(xui::fromCp1252(c.text)) / 10, 250 - 10) << c.text;
            }
            if (c.text == "Third")
                lastComment = c;
        }
        EXPECT_EQ(labels, 4);
        ASSERT_TRUE(lastComment.has_value());
        // The element after the header is the controller's grey band.
        const auto fills = dc.callsOf(mv::DrawOp::FillRect);
        ASSERT_GE(fills.size(), 2u);
        const QFontMetricsF m(xui::makeQFont(lastComment->state.font, 350));
        EXPECT_GT(lastComment->from.y - m.height() / 10, fills[1].rect.top);
    }
}

TEST_F(PrintToPdf, PrintSetupOrientationBelongsToItsPrinter) {
    const auto pageSize = [this] {
        return InfoLine(Shell("pdfinfo '" + pdf_ + "' 2>&1"), "Page size");
    };
    const auto landscape = [this] {
        env_.session->runPageSetup = [](QPrinter& printer, QWidget*) {
            printer.setPageOrientation(QPageLayout::Landscape);
            return true;
        };
        OnFilePrintSetup(*env_.session, nullptr);
    };
    // A queue set to landscape comes back so with the next start.
    env_.printers->defaultName = "Lab";
    env_.session->Init();
    landscape();
    env_.session->Init();
    EXPECT_EQ(env_.session->current.m_Orientation, kLandscape);
    // The PDF entry starts upright and prints so.
    ASSERT_TRUE(env_.session->SelectPrinter(env_.session->printers.GetCount() - 1));
    EXPECT_EQ(env_.session->current.m_Orientation, kPortrait);
    PrintedText(mv::kPrintProjectLabels);
    EXPECT_EQ(pageSize().rfind("595 x 842", 0), 0u) << pageSize();
    // Turned in Print Setup, its jobs and its preview are landscape.
    landscape();
    PrintedText(mv::kPrintProjectPage);
    EXPECT_EQ(pageSize().rfind("842 x 595", 0), 0u) << pageSize();
    CPrintPreviewDlg preview(*env_.session, mv::kPrintProjectPage + 1, 1, mv::kPaperA4, 0, 0);
    preview.ShowModeless();
    EXPECT_EQ(preview.view()->m_Extent, (mv::SIZE{2970, 2100}));
    EXPECT_GT(preview.view()->width(), preview.view()->height());
}

TEST_F(PrintToPdf, ChosenPdfNameGetsItsSuffix) {
    ::unsetenv(kPrintPdfEnv);
    std::vector<FileDialogSpec> asked;
    setFileChooser([&](const FileDialogSpec& wanted, QWidget*) {
        asked.push_back(wanted);
        return env_.dir + "/labels";
    });
    CPrintSession fresh(env_.app, std::make_unique<printtest::FakePrinters>());
    fresh.Init();
    fresh.shortDate = env_.session->shortDate;
    fresh.document = env_.session->document;
    EXPECT_TRUE(fresh.current.IsPdf());
    EXPECT_EQ(fresh.Print(mv::kPrintProjectPage, 0, 1, mv::PaperSize(mv::kPaperA4, 0, 0)),
              PrintOutcome::Done);
    setFileChooser({});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].save);
    EXPECT_EQ(asked[0].defaultExtension, "pdf");
    EXPECT_TRUE(std::filesystem::exists(env_.dir + "/labels.pdf"));
    EXPECT_FALSE(std::filesystem::exists(env_.dir + "/labels"));
}

TEST(SystemPrinters, CupsQueuesComeFirst) {
    const std::string queues = Shell("lpstat -e 2>/dev/null");
    if (queues.empty())
        GTEST_SKIP() << "no print queue on this machine";
    xbase_test::app();
    CPrinterList list;
    list.Enumerate(*MakeSystemPrinterSource());
    const std::string first = queues.substr(0, queues.find('\n'));
    ASSERT_GE(list.GetCount(), 2);
    EXPECT_EQ(list.GetName(0), first);
    EXPECT_EQ(list.GetName(list.GetCount() - 1), kPdfPrinterName);
}

} // namespace
