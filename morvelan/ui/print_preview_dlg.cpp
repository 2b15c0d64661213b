#include "morvelan/ui/print_preview_dlg.h"

#include "morvelan/core/paper_sizes.h"
#include "morvelan/ui/page_view.h"
#include "morvelan/ui/print_session.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <algorithm>

namespace morvelan {
namespace {

constexpr mv::COLORREF kStaticFill = 0xDEBF97;
constexpr mv::COLORREF kWhite = 0xFFFFFF;
constexpr mv::COLORREF kTitleFill = 0xCF9060;
constexpr int kFrameInset = 2;
constexpr int kShadowOffset = 4;

constexpr int kControlTexts[][2] = {
    {kPreviewTitle, kTextPreviewTitle},   {kZoomInButton, kTextZoomIn},
    {kZoomOutButton, kTextZoomOut},       {kNextPageButton, kTextNextPage},
    {kPreviousPageButton, kTextPreviousPage}, {kCurrentPageLabel, kTextCurrentPage},
    {kPageCountLabel, kTextPageCount},
};

// The job name of a view mode.
int JobText(int mode) {
    static constexpr int kTexts[4] = {kTextProjectPage, kTextProjectLabels, kTextControllerLabels,
                                      kTextModuleLabels};
    return kTexts[std::clamp(mode, 1, 4) - 1];
}

} // namespace

CPrintPreviewDlg::CPrintPreviewDlg(CPrintSession& session, int mode, int copies, int paperIndex,
                                   int userWidth, int userHeight, QWidget* parent)
    : xui::CXDialog(printPreviewDlgTemplate(), parent), session_(session), mode_(mode),
      copies_(copies), paperIndex_(paperIndex), userWidth_(userWidth), userHeight_(userHeight) {}

bool CPrintPreviewDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    setWindowTitle(xui::fromCp1252(mv::LanguageText(kTextPreview)));
    for (const auto& t : kControlTexts)
        xui::setWindowText(item(t[0]), xui::fromCp1252(mv::LanguageText(t[1])));
    xui::setWindowText(item(kJobNameStatic), xui::fromCp1252(mv::LanguageText(JobText(mode_))));

    view_ = new CPageView(session_, this);
    const mv::RECT frame = item(kPageFrame) ? controlRect(item(kPageFrame)) : mv::RECT{};
    const mv::SIZE page =
        session_.current.OrientedPage(mv::PaperSize(paperIndex_, userWidth_, userHeight_));
    int width = std::max(1, frame.width() - 2 * kFrameInset);
    int height = static_cast<int>(static_cast<long long>(width) * page.cy / page.cx);
    // A page taller than the frame keeps its proportions inside it.
    const int room = std::max(1, frame.height() - 2 * kFrameInset);
    if (height > room) {
        height = room;
        width = std::max(1, static_cast<int>(static_cast<long long>(room) * page.cx / page.cy));
    }
    view_->setGeometry(frame.left + kFrameInset, frame.top + kFrameInset, width, height);
    extent_ = page;
    view_->m_Extent = page;
    view_->m_PageHeight = page.cy;
    session_.state.printableHeight = page.cy;
    view_->SetScrollRanges(page.cx, page.cy);
    view_->m_Mode = mode_;
    view_->m_Copies = copies_;
    view_->show();
    pageCount_ = view_->PageCount();
    xui::setWindowText(item(kPageCountStatic), QString::number(pageCount_));
    currentPage_ = 1;
    session_.state.wantedPage = 1;
    ShowPage(1);
    return true;
}

void CPrintPreviewDlg::ShowPage(int page) {
    currentPage_ = page;
    session_.state.wantedPage = page;
    if (view_) {
        view_->m_Page = page;
        view_->viewport()->update();
    }
    xui::setWindowText(item(kCurrentPageStatic), QString::number(page));
    update();
}

void CPrintPreviewDlg::Zoom(int level) {
    // Each step in halves the extents; they come from the page size, so zooming out again
    // gives the page's own extents exactly.
    zoom_ = level;
    if (view_) {
        view_->m_Extent = mv::SIZE{std::max(1, extent_.cx >> level), std::max(1, extent_.cy >> level)};
        view_->viewport()->update();
    }
}

void CPrintPreviewDlg::OnPaint(mv::Canvas& dc) {
    PaintStaticLabel(dc, item(kPreviewTitle), 0, kTitleFill, kWhite, kTitleFill);
    for (int id : {kCurrentPageLabel, kPageCountLabel, kCurrentPageStatic, kPageCountStatic,
                   kJobNameStatic})
        PaintStaticBox(dc, item(id), 0, kStaticFill, 0, kWhite);
    if (view_) {
        const mv::RECT r = controlRect(view_);
        dc.fillRect(OffsetRect(r, kShadowOffset, kShadowOffset), 0);
    }
}

void CPrintPreviewDlg::OnCommand(int id, int code) {
    switch (id) {
    case kZoomInButton:
        if (zoom_ < kMaxZoom)
            Zoom(zoom_ + 1);
        return;
    case kZoomOutButton:
        if (zoom_ > 0)
            Zoom(zoom_ - 1);
        return;
    case kNextPageButton:
        if (currentPage_ < pageCount_)
            ShowPage(currentPage_ + 1);
        return;
    case kPreviousPageButton:
        if (currentPage_ > 1)
            ShowPage(currentPage_ - 1);
        return;
    default:
        xui::CXDialog::OnCommand(id, code);
    }
}

} // namespace morvelan
