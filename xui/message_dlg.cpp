#include "xui/message_dlg.h"

#include "platform/sys_colors.h"
#include "xui/bitmaps.h"
#include "xui/font_map.h"
#include "xui/modal_cursor.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QFontMetrics>

#include <algorithm>
#include <utility>

namespace xui {
namespace {

MessageDlgConfig& currentConfig() {
    static MessageDlgConfig config = mainProgramMessageConfig();
    return config;
}

const MessageDlgConfig& usable(const MessageDlgConfig& config) {
    return config.tmpl != nullptr ? config : currentConfig();
}

MessagePresenter& presenter() {
    static MessagePresenter p;
    return p;
}

} // namespace

void setMessagePresenter(MessagePresenter p) {
    presenter() = std::move(p);
}

int ShowMessage(const MessageRequest& r) {
    // The message waits for the user, whoever answers it.
    const ModalCursorLift lift;
    if (presenter()) {
        return presenter()(r);
    }
    CMessageDlg dlg(r.config != nullptr ? *r.config : messageDlgConfig(), r.line1, r.line2,
                    r.caption, r.bitmapId, r.buttonMode, nullptr, r.captionColor);
    return dlg.DoModal();
}

DialogTemplate makeMessageDlgTemplate(int templateId, int line1Id, int line2Id, int symbolId) {
    using namespace mv;
    DialogTemplate t;
    t.id = templateId;
    t.caption = "";
    t.fontFace = "MS Sans Serif";
    t.fontPoints = 8;
    t.cx = 145;
    t.cy = 55;
    t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
    t.items = {
        {"Static", line1Id, "", 41, 8, 96, 8, WS_CHILD | SS_CENTER},
        {"Static", line2Id, "", 41, 20, 96, 8, WS_CHILD | SS_CENTER},
        {"Static", symbolId, "", 7, 8, 21, 20, WS_CHILD | SS_ICON},
        {"XBUTTON", IDOK, "OK", 6, 36, 64, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {"XBUTTON", IDCANCEL, "Cancel", 76, 36, 64, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
    };
    return t;
}

MessageDlgConfig mainProgramMessageConfig() {
    static const DialogTemplate tmpl = makeMessageDlgTemplate(148, 1028, 1030, 1029);
    MessageDlgConfig c;
    c.tmpl = &tmpl;
    c.line1Id = 1028;
    c.line2Id = 1030;
    c.symbolId = 1029;
    return c;
}

MessageDlgConfig panelMessageConfig() {
    static const DialogTemplate tmpl = makeMessageDlgTemplate(15019, 15069, 15090, 15070);
    MessageDlgConfig c;
    c.tmpl = &tmpl;
    c.line1Id = 15069;
    c.line2Id = 15090;
    c.symbolId = 15070;
    return c;
}

void setMessageDlgConfig(const MessageDlgConfig& config) {
    if (config.tmpl != nullptr) {
        currentConfig() = config;
    }
}

const MessageDlgConfig& messageDlgConfig() {
    return currentConfig();
}

CMessageDlg::CMessageDlg(std::string line1, std::string line2, std::string caption, int bitmapId,
                         int buttonMode, QWidget* parent, mv::COLORREF captionColor)
    : CMessageDlg(messageDlgConfig(), std::move(line1), std::move(line2), std::move(caption),
                  bitmapId, buttonMode, parent, captionColor) {}

CMessageDlg::CMessageDlg(const MessageDlgConfig& config, std::string line1, std::string line2,
                         std::string caption, int bitmapId, int buttonMode, QWidget* parent,
                         mv::COLORREF captionColor)
    : CXDialog(*usable(config).tmpl, parent, true), config_(usable(config)),
      captionColor_(captionColor), buttonMode_(buttonMode), bitmapId_(bitmapId),
      caption_(std::move(caption)), line1Text_(std::move(line1)), line2Text_(std::move(line2)) {
    line2_ = item(config_.line2Id);
    symbol_ = item(config_.symbolId);
    line1_ = item(config_.line1Id);
}

bool CMessageDlg::OnInitDialog() {
    CXDialog::OnInitDialog();

    paused_.clear();
    for (const MessagePauseHook& h : config_.hooks) {
        paused_.push_back(h.pause ? h.pause() : false);
    }

    SetBackColor(kMessageBackground);
    ownBackColor_ = kMessageBackground;
    setWindowTitle(fromCp1252(caption_));

    bitmap_ = loadBitmap(mv::BitmapRef{bitmapId_, {}, true, kBitmapTransparent, ownBackColor_});

    // Measure both lines with the dialog's font; a second line holding line breaks (a list)
    // makes the dialog taller by the lines it adds.
    const QFontMetrics fm(screenFont(controlFont(this)));
    int textWidth = fm.horizontalAdvance(fromCp1252(line1Text_));
    const std::vector<std::string> rows = line2Rows();
    for (const std::string& row : rows) {
        textWidth = std::max(textWidth, fm.horizontalAdvance(fromCp1252(row)));
    }
    const int textHeight = fm.height(); // one font: the wider line's height is the font's
    const int boxWidth = textWidth + 30;
    const int extraHeight = (static_cast<int>(rows.size()) - 1) * textHeight;

    QWidget* ok = item(mv::IDOK);
    QWidget* cancel = item(mv::IDCANCEL);
    const int windowHeight = height() + std::max(0, extraHeight);
    const int top = line1_ != nullptr ? controlRect(line1_).top : 0;
    const int symbolRight = symbol_ != nullptr ? controlRect(symbol_).right : 0;
    mv::RECT okRect = controlRect(ok);
    mv::RECT cancelRect = controlRect(cancel);
    if (extraHeight > 0) {
        okRect.top += extraHeight;
        okRect.bottom += extraHeight;
        cancelRect.top += extraHeight;
        cancelRect.bottom += extraHeight;
    }
    const int okWidth = okRect.right - okRect.left;
    const int cancelWidth = cancelRect.right - cancelRect.left;

    if (buttonMode_ == kMessageOk) {
        if (cancel != nullptr) {
            cancel->hide();
        }
        const int width = std::max(okWidth, symbolRight + boxWidth + 100);
        setFixedSize(width, windowHeight);
        moveControl(ok, width / 2 - okWidth / 2, okRect.top, okWidth, okRect.bottom - okRect.top);
    } else if (buttonMode_ == kMessageOkCancel) {
        const int width = std::max(okWidth + cancelWidth + 100, symbolRight + boxWidth + 100);
        setFixedSize(width, windowHeight);
        moveControl(ok, width / 2 - okWidth - 5, okRect.top, okWidth, okRect.bottom - okRect.top);
        moveControl(cancel, width / 2 + 5, okRect.top, cancelWidth,
                    cancelRect.bottom - cancelRect.top);
    }

    setWindowText(line1_, fromCp1252(line1Text_));
    const bool oneLine = line2Text_.empty();
    moveControl(line1_, symbolRight + 10, oneLine ? top + 8 : top, boxWidth, textHeight);
    moveControl(line2_, symbolRight + 10, oneLine ? top + 24 : top + 16, boxWidth,
                textHeight * static_cast<int>(rows.size()));
    return true;
}

void CMessageDlg::OnPaint(mv::Canvas& dc) {
    dc.saveState();
    dc.setBkMode(mv::TRANSPARENT);
    dc.selectFont(controlFont(this));
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    dc.setTextColor(0);
    if (line1_ != nullptr) {
        const mv::RECT r = controlRect(line1_);
        dc.textOut(r.left, r.top, line1Text_);
    }
    if (line2_ != nullptr) {
        const mv::RECT r = controlRect(line2_);
        const int rowHeight = QFontMetrics(screenFont(controlFont(this))).height();
        int y = r.top;
        for (const std::string& row : line2Rows()) {
            dc.textOut(r.left, y, row);
            y += rowHeight;
        }
    }
    dc.restoreState();
    if (symbol_ != nullptr && !bitmap_.isNull()) {
        const mv::RECT r = controlRect(symbol_);
        dc.drawBitmap(r.left, r.top,
                      mv::BitmapRef{bitmapId_, {}, true, kBitmapTransparent, ownBackColor_});
    }
    // Background work held by the dialog resumes after each paint, when it was running.
    for (std::size_t i = 0; i < config_.hooks.size() && i < paused_.size(); ++i) {
        if (paused_[i] && config_.hooks[i].resume) {
            config_.hooks[i].resume();
        }
    }
}

std::vector<std::string> CMessageDlg::line2Rows() const {
    std::vector<std::string> rows;
    std::size_t from = 0;
    for (std::size_t at; (at = line2Text_.find('\n', from)) != std::string::npos; from = at + 1) {
        rows.push_back(line2Text_.substr(from, at - from));
    }
    rows.push_back(line2Text_.substr(from));
    return rows;
}

mv::RECT CMessageDlg::captionBarRect() const {
    return mv::RECT{2, 2, width() - 2,
                    mv::GetSystemMetrics(mv::SM_CYFRAME) + mv::GetSystemMetrics(mv::SM_CYCAPTION)};
}

void CMessageDlg::OnNcPaint(mv::Canvas& dc) {
    CXDialog::OnNcPaint(dc);
    const mv::RECT bar = captionBarRect();
    dc.fillRect(bar, captionColor_);
    dc.saveState();
    dc.selectFont(controlFont(line1_ != nullptr ? line1_ : this));
    dc.setTextColor(0xFFFFFF);
    dc.setBkMode(mv::TRANSPARENT);
    dc.drawText(caption_, mv::RECT{6, 2, width() - 2, bar.bottom},
                mv::DT_SINGLELINE | mv::DT_VCENTER | mv::DT_LEFT);
    dc.restoreState();
}

} // namespace xui
