// CMorvelanView: the rack view in the right pane. A scroll area whose viewport holds the tile
// windows: scrolling moves them with the picture. It lays the stations out as racks and shows
// the selected tile's station; the background is 0xDEBF97.
#pragma once

#include "platform/canvas.h"

#include <QAbstractScrollArea>

class CMainFrame;
class CStation;

constexpr mv::COLORREF kViewBackground = 0xDEBF97;

class CMorvelanView : public QAbstractScrollArea {
    Q_OBJECT

public:
    CMorvelanView(CMainFrame& frame, QWidget* parent);

    // Rack layout of every station: layout mode 1, every tile placed at the rack pitch behind
    // its station's head, then all tiles hidden (drawing shows the selected station's).
    void LayoutRack();
    // Brings the view's widgets up to date with what it is to show, then repaints.
    void Invalidate();
    // The state the next paint shows: the selected station's tiles shown, all others hidden.
    void PrepareDraw();
    // Draws the view's own picture (the tiles are child windows and draw themselves).
    void OnDraw(mv::Canvas& dc);

    void SetScrollSizes(int width, int height);
    QSize ScrollSize() const { return scrollSize_; }
    int HorizontalScroll() const;
    int VerticalScroll() const;
    // The widget the tile windows live in.
    QWidget* TileParent() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();

    CMainFrame& frame_;
    QSize scrollSize_{100, 100};
};
