// Label printing: the print state of a job, the label layout language (*.etk), the label
// frame, page breaks, the page header and footer, and the four jobs (project page, labels of
// the project, of the selected tile's station and of the selected module) with their preview
// page counts.
//
// All drawing is in 0.1 mm with y growing upwards: the page's top is y = 0 and the y cursor
// goes negative down the page. A job draws on a canvas and hands its page breaks to a page
// sink (printer, preview or counter). While a job runs it is the active printer, and the
// printing hooks of the module model (PageWanted, NextPrintPage, DrawLabelFile) reach it.
#pragma once

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/page_sink.h"

#include <functional>
#include <string>
#include <vector>

class CMorvelanDoc;
class CModuleTile;
class CStation;

namespace mv {

// Print modes of the selection (stored as Printmode) and of the page view (mode + 1).
constexpr int kPrintProjectPage = 0;
constexpr int kPrintProjectLabels = 1;
constexpr int kPrintControllerLabels = 2;
constexpr int kPrintModuleLabels = 3;

// Label geometry: one label step is 12.5 mm; a page must keep 25 mm below an element.
constexpr int kLabelStep = 125;
constexpr int kPageReserve = 250;
// Largest element count, line count and element height a layout file may ask for.
constexpr int kLayoutLimit = 999;
// The project page: the cursor's start, the list margin and NextPrintPage's break distance.
constexpr int kProjectPageTop = -35;
constexpr int kProjectPageMargin = 200;
constexpr int kPageBreakDistance = 50;

// Language texts of the printouts.
constexpr int kTextPage = 53;
constexpr int kTextProjectName = 220;
constexpr int kTextAuthor = 222;
constexpr int kTextCompany = 223;
constexpr int kTextComment = 224;

// The one-line product notice at the head of the project page.
inline constexpr const char* kProductNotice = "Morvelan Toolkit - Kelvane";

// The state of a print job (program-wide in effect: one job runs at a time).
struct PrintState {
    int y = 0;               // y cursor: 0 at the page top, negative below
    int newPage = 0;         // 1 after a page was ended: the next element starts a page first
    int pageCounter = 0;     // number of the page being produced (1 for the first)
    int wantedPage = 0;      // the page a preview draws
    int preview = 0;         // 1: drawing for the preview (only the wanted page is drawn)
    int printableHeight = 2970; // height of the page (0.1 mm)
};

// What the jobs read besides the state.
struct PrintContext {
    std::string programDir;             // holds modul/*.etk and bmp/
    const CMorvelanDoc* doc = nullptr;  // the project
    CModuleTile* selected = nullptr;    // the project tree's selected tile
    // The user's short date for the page header.
    std::function<std::string()> shortDate;
};

// The outcome of a job: ok, or the reason it failed (the document was dropped).
struct PrintResult {
    bool ok = true;
    std::string error;
};

class CLabelPrinter {
public:
    // The canvas and the sink must outlive the printer; the state is the caller's.
    CLabelPrinter(Canvas& dc, PageSink& sink, PrintState& state, PrintContext context);
    ~CLabelPrinter();
    CLabelPrinter(const CLabelPrinter&) = delete;
    CLabelPrinter& operator=(const CLabelPrinter&) = delete;

    PrintState& State() { return state_; }

    // --- What the module model asks while it prints (through the application hooks).
    // Starts a pending page, then answers whether the element is drawn: always when printing,
    // in a preview only on the wanted page.
    bool PageWanted();
    // When `needed` more units do not fit above `pageHeight` (less the break distance): a new
    // page with its header and footer, y := -35.
    void NextPrintPage(Canvas& dc, int& y, int needed, int pageHeight);
    // Interprets a label layout file at y for a tile (the job's boxes flag); false when the
    // file cannot be read.
    bool DrawLabelFile(Canvas& dc, int& y, const std::string& path, CModuleTile* tile);

    // --- The pieces of a label page.
    // Frame and title boxes at (x, y) with the tile's label lines; mode 1 for layout files,
    // mode 0 for board pairs (adds the write-in lines).
    void DrawLabelFrame(Canvas& dc, int x, int y, int boxes, int mode, const CModuleTile* tile);
    // abs(y) + 250 when that fits the printable height; otherwise the page ends (y := 0, new
    // page pending) and the result is 0.
    int EnsurePageSpace(int& y);
    // Product notice, date, rules and page number of the page being produced.
    void DrawPageFooter(Canvas& dc, int pageHeight);
    // The grey block with the logo, the project texts and the comment; y moves below it.
    void DrawProjectHeader(Canvas& dc, int& y);

    // --- The jobs. Each starts its own document (unless previewing) and ends it.
    PrintResult PrintProjectLabels(int wantedPage, int boxes, int preview, int copies);
    PrintResult PrintModuleLabels(int wantedPage, int boxes, int preview, int copies);
    PrintResult PrintControllerLabels(int wantedPage, int boxes, int preview, int copies);
    // The project page: the header and every tile's list line, on pages of height h - 200.
    PrintResult PrintProjectPage(int wantedPage, int preview, int pageHeight);
    // Runs a job by print mode (kPrint...); the project page takes pageHeight.
    PrintResult Run(int mode, int wantedPage, int boxes, int preview, int copies,
                    int pageHeight);

    // The job currently running (null outside a job).
    static CLabelPrinter* Active();

private:
    struct Job;
    // Makes a printer the active one; returns the one before.
    static CLabelPrinter* SwapActive(CLabelPrinter* next);
    // A page that is pending starts now.
    void StartPendingPage();
    void EndPageNow();
    void StartPageNow();
    bool Drawn() const;
    // The station of the selected tile and the tile's index in it; null when none is selected.
    const CStation* SelectedStation(int& index);
    void PrintStation(const CStation& station, int boxes);
    void PrintTileLabel(CModuleTile& tile, int boxes);
    void DrawLayoutLine(Canvas& dc, const std::string& line, int y0);
    void Fail(const std::string& reason);

    Canvas& dc_;
    PageSink& sink_;
    PrintState& state_;
    PrintContext context_;
    int boxes_ = 0;      // boxes flag of the label being printed
    bool pageOpen_ = false;
    bool documentOpen_ = false;
    bool failed_ = false;
    std::string error_;
    CLabelPrinter* previous_ = nullptr;
};

// The page count of a job as the preview shows it: the job runs once without drawing and the
// page counter it reached is the count. Mode kPrint...; boxes, copies and page height as for
// the print.
int PreviewPageCount(int mode, PrintState& state, const PrintContext& context, int copies,
                     int pageHeight);
int PreviewProjectLabels(PrintState& state, const PrintContext& context, int copies);
int PreviewControllerLabels(PrintState& state, const PrintContext& context, int copies);
int PreviewModuleLabels(PrintState& state, const PrintContext& context, int copies);

// Application hooks whose printing calls reach the running job. The application's hooks (and
// tests) derive from this.
class PrintingAppHooks : public IAppHooks {
public:
    bool PageWanted() override;
    void NextPrintPage(Canvas& canvas, int& y, int needed, int pageLimit) override;
    bool DrawLabelFile(Canvas& canvas, int& y, const std::string& path,
                       CModuleTile* tile) override;
};

// Splits a layout drawing line at every ",".
std::vector<std::string> SplitLayoutLine(const std::string& line);

} // namespace mv
