#include "morvelan/core/label_printer.h"

#include "morvelan/core/module_tile.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/text_font.h"
#include "platform/regular_file.h"
#include "platform/win_path.h"

#include <cstdio>
#include <cstdlib>

namespace mv {
namespace {

CLabelPrinter* g_active = nullptr;

constexpr COLORREF kHeaderGrey = 0xDCDCDC;
constexpr int kRuleRight = 1700;
// The project header's grey band, and the room it takes: the list below it starts clear of the
// comment's third line, which ends at the band's bottom.
constexpr int kHeaderBand = 290;
constexpr int kHeaderRoom = 300;

// The comment's first three lines (cut at the line breaks).
std::vector<std::string> CommentLines(const std::string& comment) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (lines.size() < 3 && pos <= comment.size()) {
        std::size_t end = comment.find('\n', pos);
        std::string line = comment.substr(pos, end == std::string::npos ? std::string::npos
                                                                         : end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        if (end == std::string::npos)
            break;
        pos = end + 1;
    }
    return lines;
}

} // namespace

CLabelPrinter::CLabelPrinter(Canvas& dc, PageSink& sink, PrintState& state, PrintContext context)
    : dc_(dc), sink_(sink), state_(state), context_(std::move(context)) {}

CLabelPrinter::~CLabelPrinter() {
    if (g_active == this)
        g_active = previous_;
}

CLabelPrinter* CLabelPrinter::SwapActive(CLabelPrinter* next) {
    CLabelPrinter* old = g_active;
    g_active = next;
    return old;
}

CLabelPrinter* CLabelPrinter::Active() { return g_active; }

void CLabelPrinter::Fail(const std::string& reason) {
    if (!failed_) {
        failed_ = true;
        error_ = reason;
    }
}

void CLabelPrinter::StartPageNow() {
    if (failed_)
        return;
    if (!sink_.StartPage()) {
        Fail(sink_.LastError());
        return;
    }
    pageOpen_ = true;
}

void CLabelPrinter::EndPageNow() {
    if (failed_ || !pageOpen_)
        return;
    pageOpen_ = false;
    if (!sink_.EndPage())
        Fail(sink_.LastError());
}

void CLabelPrinter::StartPendingPage() {
    if (state_.newPage == 1) {
        state_.pageCounter += 1;
        state_.newPage = 0;
        StartPageNow();
    }
}

bool CLabelPrinter::Drawn() const {
    return state_.preview == 0 || state_.pageCounter == state_.wantedPage;
}

bool CLabelPrinter::PageWanted() {
    StartPendingPage();
    return Drawn();
}

void CLabelPrinter::NextPrintPage(Canvas& dc, int& y, int needed, int pageHeight) {
    if (static_cast<long long>(y) - needed + pageHeight > kPageBreakDistance)
        return;
    y = kProjectPageTop;
    EndPageNow();
    StartPageNow();
    state_.pageCounter += 1;
    DrawPageFooter(dc, pageHeight);
}

int CLabelPrinter::EnsurePageSpace(int& y) {
    const long long need = std::llabs(static_cast<long long>(y)) + kPageReserve;
    if (state_.printableHeight >= need)
        return static_cast<int>(need);
    y = 0;
    EndPageNow();
    state_.newPage = 1;
    return 0;
}

void CLabelPrinter::DrawPageFooter(Canvas& dc, int pageHeight) {
    if (!Drawn())
        return;
    dc.saveState();
    dc.selectFont(TextFont("Arial", 24, FW_NORMAL));
    dc.selectPen(PenDesc{PS_SOLID, 1, 0});
    dc.setBkMode(TRANSPARENT);
    dc.setTextColor(0);
    dc.setTextAlign(TA_LEFT | TA_TOP);
    dc.textOut(5, -5, kProductNotice);
    dc.setTextAlign(TA_RIGHT | TA_TOP);
    dc.textOut(kRuleRight, -5, context_.shortDate ? context_.shortDate() : std::string());
    dc.moveTo(5, -30);
    dc.lineTo(kRuleRight, -30);
    char number[32];
    std::snprintf(number, sizeof number, " %d", state_.pageCounter);
    dc.textOut(kRuleRight, -pageHeight, LanguageText(kTextPage) + number);
    dc.moveTo(5, 30 - pageHeight);
    dc.lineTo(kRuleRight, 30 - pageHeight);
    dc.restoreState();
}

void CLabelPrinter::DrawProjectHeader(Canvas& dc, int& y) {
    if (Drawn()) {
        dc.saveState();
        dc.fillRect(RECT{5, y, 5 + kRuleRight, y - kHeaderBand}, kHeaderGrey);
        BitmapRef logo;
        logo.file = resolvePath(joinPath(joinPath(context_.programDir, "bmp"), "logo.bmp"));
        if (canReadRegularFile(logo.file))
            dc.stretchBitmap(RECT{1100, y - 285 + 290, 1100 + 600, y - 285}, logo);
        dc.setBkMode(TRANSPARENT);
        dc.setTextColor(0);
        dc.setTextAlign(TA_LEFT | TA_TOP);
        dc.selectFont(TextFont("Arial", 40, 800));
        const int labels[4] = {kTextProjectName, kTextAuthor, kTextCompany, kTextComment};
        const CMorvelanDoc* doc = context_.doc;
        const std::string texts[3] = {doc ? doc->m_Name : "", doc ? doc->m_Author : "",
                                      doc ? doc->m_Company : ""};
        for (int i = 0; i < 4; ++i) {
            const int at = y - 45 * (i + 1);
            dc.textOut(10, at, LanguageText(labels[i]) + " :");
            if (i < 3)
                dc.textOut(250, at, texts[i]);
        }
        dc.selectFont(TextFont("Arial", 35, FW_NORMAL));
        const auto lines = CommentLines(doc ? doc->m_Comment : "");
        for (std::size_t i = 0; i < lines.size(); ++i)
            dc.textOut(250, y - 180 - 35 * static_cast<int>(i), lines[i]);
        dc.restoreState();
    }
    y -= kHeaderRoom;
}

bool PrintingAppHooks::PageWanted() {
    CLabelPrinter* p = CLabelPrinter::Active();
    return p ? p->PageWanted() : true;
}

void PrintingAppHooks::NextPrintPage(Canvas& canvas, int& y, int needed, int pageLimit) {
    if (CLabelPrinter* p = CLabelPrinter::Active())
        p->NextPrintPage(canvas, y, needed, pageLimit);
}

bool PrintingAppHooks::DrawLabelFile(Canvas& canvas, int& y, const std::string& path,
                                     CModuleTile* tile) {
    CLabelPrinter* p = CLabelPrinter::Active();
    return p ? p->DrawLabelFile(canvas, y, path, tile) : false;
}

} // namespace mv
