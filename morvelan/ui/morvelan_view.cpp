#include "morvelan/ui/morvelan_view.h"

#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "xui/colorref.h"
#include "xui/qt_canvas.h"

#include <QPainter>
#include <QScrollBar>

CMorvelanView::CMorvelanView(CMainFrame& frame, QWidget* parent)
    : QAbstractScrollArea(parent), frame_(frame) {
    setObjectName(QStringLiteral("CMorvelanView"));
    viewport()->setObjectName(QStringLiteral("rack"));
    viewport()->setAutoFillBackground(false);
    UpdateScrollBars();
}

QWidget* CMorvelanView::TileParent() const {
    return viewport();
}

int CMorvelanView::HorizontalScroll() const {
    return horizontalScrollBar()->value();
}

int CMorvelanView::VerticalScroll() const {
    return verticalScrollBar()->value();
}

void CMorvelanView::SetScrollSizes(int width, int height) {
    scrollSize_ = QSize(width, height);
    UpdateScrollBars();
}

void CMorvelanView::UpdateScrollBars() {
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, scrollSize_.width() - area.width()));
    horizontalScrollBar()->setPageStep(std::max(1, area.width()));
    verticalScrollBar()->setRange(0, std::max(0, scrollSize_.height() - area.height()));
    verticalScrollBar()->setPageStep(std::max(1, area.height()));
}

void CMorvelanView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CMorvelanView::scrollContentsBy(int dx, int dy) {
    // The tiles move with the picture, as child windows of a scrolled window do.
    viewport()->scroll(dx, dy);
    viewport()->update();
}

void CMorvelanView::LayoutRack() {
    CMorvelanDoc& doc = frame_.Doc();
    frame_.App().m_LayoutMode = 1;
    const int hs = HorizontalScroll();
    const int vs = VerticalScroll();
    for (int s = 0; s < doc.StationCount(); ++s) {
        CStation* station = doc.Station(s);
        if (station->TileCount() == 0)
            continue;
        CModuleTile* head = station->Tile(0);
        const int w = head->Module().width;
        head->m_DisplayMode = kTileRack;
        head->MoveTo(kRackLeft - hs, kRackTop - vs, w, kRackHeight, head->visible);
        for (int j = 1; j < station->TileCount(); ++j) {
            CModuleTile* tile = station->Tile(j);
            const int wj = tile->Module().width;
            tile->m_DisplayMode = kTileRack;
            tile->MoveTo((j - 1) * wj + w + kRackLeft - hs, kRackTop - vs, wj, kRackHeight,
                         tile->visible);
        }
    }
    doc.HideAllModules();
}

void CMorvelanView::PrepareDraw() {
    CMorvelanDoc& doc = frame_.Doc();
    CModuleTile* selected = frame_.SelectedTile();
    const CStation* shown = selected && doc.StationCount() > 0 ? doc.Station(selected->m_Station)
                                                               : nullptr;
    for (int s = 0; s < doc.StationCount(); ++s) {
        CStation* station = doc.Station(s);
        for (int j = 0; j < station->TileCount(); ++j)
            station->Tile(j)->Show(station == shown);
    }
    if (!shown) {
        SetScrollSizes(800, 600);
        return;
    }
    const int n = shown->TileCount();
    const int w = n > 0 ? shown->Tile(0)->Module().width : 0;
    SetScrollSizes(n * kRackPitch + w + 20 + 200, 600);
}

void CMorvelanView::Invalidate() {
    PrepareDraw();
    viewport()->update();
}

void CMorvelanView::OnDraw(mv::Canvas& dc) {
    (void)dc;
}

void CMorvelanView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), xui::toQColor(kViewBackground));
    xui::QtCanvas dc(painter);
    OnDraw(dc);
}
