#include "panel/ftpdlg/ftp_small_dlgs.h"

#include "panel/ftpdlg/ftp_dlg_ids.h"
#include "panel/ftpdlg/ftp_dlg_templates.h"
#include "xui/paint_now.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

namespace ftpdlg {

namespace {

constexpr mv::COLORREF kWhite = 0xFFFFFF;
constexpr int kCentred = 6;

} // namespace

COverwriteDlg::COverwriteDlg(std::string name, QWidget* parent)
    : xui::CXDialog(OverwriteDlgTemplate(), parent), name_(std::move(name)) {}

bool COverwriteDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    xui::setWindowText(item(kOverwriteName), xui::fromCp1252(name_));
    return true;
}

CFtpStatusDlg::CFtpStatusDlg(QWidget* parent) : xui::CXDialog(StatusDlgTemplate(), parent) {}

void CFtpStatusDlg::SetLine1(const std::string& text) { SetLine(kStatusLine1, text); }

void CFtpStatusDlg::SetLine2(const std::string& text) { SetLine(kStatusLine2, text); }

// The transfer blocks the thread: each new text is put on the screen at once.
void CFtpStatusDlg::SetLine(int id, const std::string& text) {
    if (QWidget* w = item(id)) {
        xui::setWindowText(w, xui::fromCp1252(text));
        xui::PaintNow(w);
    }
}

CFtpMessageDlg::CFtpMessageDlg(std::string text, QWidget* parent)
    : xui::CXDialog(MessageDlgTemplate(), parent), text_(std::move(text)) {}

bool CFtpMessageDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    xui::setWindowText(item(kMessageText), xui::fromCp1252(text_));
    return true;
}

void CFtpMessageDlg::OnPaint(mv::Canvas& dc) {
    PaintStaticLabel(dc, item(kMessageText), kCentred, xui::kLabelBoxFill, kWhite, kWhite);
}

bool FtpPrompts::ConfirmOverwrite(std::string_view name) {
    COverwriteDlg dlg{std::string(name), parent_};
    return dlg.DoModal() == mv::IDOK;
}

void FtpPrompts::ShowMessage(std::string_view text) {
    CFtpMessageDlg dlg{std::string(text), parent_};
    dlg.DoModal();
}

StatusWindow::~StatusWindow() = default;

void StatusWindow::Create() { window_ = std::make_unique<CFtpStatusDlg>(parent_); }

void StatusWindow::Show() {
    if (window_) {
        window_->ShowModeless();
        xui::PaintNow(window_.get());
    }
}

void StatusWindow::SetLine1(std::string_view text) {
    if (window_)
        window_->SetLine1(std::string(text));
}

void StatusWindow::SetLine2(std::string_view text) {
    if (window_)
        window_->SetLine2(std::string(text));
}

void StatusWindow::Destroy() { window_.reset(); }

} // namespace ftpdlg
