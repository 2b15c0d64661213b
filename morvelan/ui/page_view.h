// CPageView: one page of a print job as the preview shows it. The page is drawn through the
// canvas in 0.1 mm with y up; one transform maps the window (the page's extents, moved by the
// scroll offsets) onto the view's client area, so zooming is halving the extents.
#pragma once

#include "platform/gdi_types.h"

#include <QAbstractScrollArea>

class QPainter;

namespace morvelan {

class CPrintSession;

// Scroll codes (vertical: up/down, horizontal: left/right).
constexpr int SB_LINEUP = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_LINELEFT = SB_LINEUP;
constexpr int SB_LINERIGHT = SB_LINEDOWN;
constexpr int SB_PAGELEFT = SB_PAGEUP;
constexpr int SB_PAGERIGHT = SB_PAGEDOWN;

// Page view modes (the print mode + 1).
constexpr int kViewProjectPage = 1;
constexpr int kViewModuleLabels = 4;

class CPageView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CPageView(CPrintSession& session, QWidget* parent = nullptr);

    // The scroll ranges: 0 .. page height (vertical) and 0 .. page width (horizontal).
    void SetScrollRanges(int width, int height);
    void OnVScroll(int code, int position);
    void OnHScroll(int code, int position);
    // The number of pages of the view's job (run once without drawing).
    int PageCount() const;
    // Draws the page into a client area of the given size.
    void Render(QPainter& painter, QSize client) const;

    int m_Copies = 1;
    int m_Mode = 1;       // 1 project page, 2 project labels, 3 controller labels, 4 module labels
    int m_PageHeight = 0; // 0.1 mm
    int m_Page = 1;
    mv::SIZE m_Extent{2100, 2900};
    int m_VOffset = 0; // 0 or negative
    int m_HOffset = 0;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowOffsets();

    CPrintSession& session_;
    int rangeWidth_ = 0;
    int rangeHeight_ = 0;
};

} // namespace morvelan
