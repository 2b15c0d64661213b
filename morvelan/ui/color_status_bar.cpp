#include "morvelan/ui/color_status_bar.h"

#include "morvelan/core/connection.h"
#include "morvelan/core/param_number.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "platform/settings_store.h"
#include "platform/sys_colors.h"
#include "platform/version_block.h"
#include "xui/colorref.h"
#include "xui/qt_canvas.h"

#include <QPainter>

namespace {
// The bar's font: the classic 8-point status bar font.
const mv::FontDesc kBarFont{"MS Sans Serif", -11, mv::FW_NORMAL, 0, false, false};
constexpr int kBarHeight = 22;
constexpr int kGripWidth = 16;
} // namespace

CColorStatusBar::CColorStatusBar(CMainFrame& frame) : QStatusBar(&frame), frame_(frame) {
    setObjectName(QStringLiteral("statusbar%1").arg(AFX_IDW_STATUS_BAR, 0, 16));
    textColours_.fill(mv::GetSysColor(mv::COLOR_MENUTEXT));
    backColours_.fill(mv::GetSysColor(mv::COLOR_MENU));
    styles_[0] = SBPS_STRETCH;
    const std::string program = mv::programFolder() + "/morvelan";
    versionText_ = "  Morvelan Toolkit     V" + mv::readVersionValue(program, "FileVersion") +
                   "   " + mv::readVersionValue(program, "LegalCopyright");
    setSizeGripEnabled(true);
}

QSize CColorStatusBar::sizeHint() const {
    return QSize(QStatusBar::sizeHint().width(), kBarHeight);
}

void CColorStatusBar::SetPaneColours(int pane, mv::COLORREF text, mv::COLORREF back) {
    if (pane < 0 || pane >= kStatusColourSlots)
        return;
    textColours_[static_cast<std::size_t>(pane)] = text;
    backColours_[static_cast<std::size_t>(pane)] = back;
}

std::string CColorStatusBar::PaneText(int pane) const {
    if (pane == 0)
        return versionText_;
    const CMorvelanApp& app = frame_.App();
    if (app.m_Com > 4) {
        const std::uint32_t ip = app.m_IpAddress;
        return mv::FormatC(" TCP/IP: %d.%d.%d.%d:%d", static_cast<int>((ip >> 24) & 0xFF),
                           static_cast<int>((ip >> 16) & 0xFF), static_cast<int>((ip >> 8) & 0xFF),
                           static_cast<int>(ip & 0xFF), app.m_TcpPort);
    }
    return mv::FormatC("   COM%d:", app.m_Com);
}

void CColorStatusBar::RefreshPanes() {
    bool changed = false;
    for (int i = 0; i < kStatusPaneCount; ++i) {
        std::string text = PaneText(i);
        std::string& shown = shownTexts_[static_cast<std::size_t>(i)];
        if (text != shown) {
            shown = std::move(text);
            changed = true;
        }
    }
    if (changed)
        update();
}

mv::RECT CColorStatusBar::PaneRect(int pane) const {
    // Pane 1 is as wide as the indicator text; pane 0 takes the rest, the grip stays free.
    const QFontMetrics metrics(font());
    const int fixed = metrics.horizontalAdvance(QString::fromLatin1(kStatusPaneText)) + 6;
    const int right = std::max(0, width() - kGripWidth);
    const int split = std::max(0, right - fixed - 2);
    if (pane == 0)
        return mv::RECT{2, 2, split, height()};
    return mv::RECT{split + 2, 2, right, height()};
}

void CColorStatusBar::Paint(mv::Canvas& dc) const {
    dc.selectFont(kBarFont);
    for (int i = 0; i < kStatusPaneCount; ++i) {
        const mv::RECT r = PaneRect(i);
        const unsigned style = styles_[static_cast<std::size_t>(i)];
        dc.fillRect(r, backColours_[static_cast<std::size_t>(i)]);
        if (!(style & SBPS_NOBORDERS)) {
            // Sunken: shadow top and left, highlight bottom and right.
            const mv::COLORREF shadow = mv::GetSysColor(mv::COLOR_BTNSHADOW);
            const mv::COLORREF light = mv::GetSysColor(mv::COLOR_BTNHIGHLIGHT);
            dc.fillRect(mv::RECT{r.left, r.top, r.right - 1, r.top + 1}, shadow);
            dc.fillRect(mv::RECT{r.left, r.top, r.left + 1, r.bottom - 1}, shadow);
            dc.fillRect(mv::RECT{r.left, r.bottom - 1, r.right, r.bottom}, light);
            dc.fillRect(mv::RECT{r.right - 1, r.top, r.right, r.bottom}, light);
        }
        if (style & SBPS_DISABLED)
            continue;
        dc.saveState();
        dc.setTextColor(textColours_[static_cast<std::size_t>(i)]);
        dc.setBkColor(backColours_[static_cast<std::size_t>(i)]);
        dc.setBkMode(mv::OPAQUE);
        dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
        dc.drawText(PaneText(i), mv::RECT{r.left + 1, 3, r.right, r.bottom},
                    mv::DT_LEFT | mv::DT_SINGLELINE);
        dc.restoreState();
    }
}

void CColorStatusBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), xui::toQColor(mv::GetSysColor(mv::COLOR_MENU)));
    xui::QtCanvas dc(painter);
    Paint(dc);
}
