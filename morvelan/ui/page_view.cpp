#include "morvelan/ui/page_view.h"

#include "morvelan/ui/print_session.h"
#include "xui/qt_canvas.h"

#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTransform>

#include <algorithm>

namespace morvelan {
namespace {

// The canvas draws one device unit per 0.1 mm; the view's transform scales that to the client.
constexpr int kUnitsPerInch = 254;
constexpr int kLineStep = 1;
constexpr int kPageStep = 100;

int CodeOf(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGEDOWN;
    case QAbstractSlider::SliderMove:
        return SB_THUMBTRACK;
    default:
        return -1;
    }
}

} // namespace

CPageView::CPageView(CPrintSession& session, QWidget* parent)
    : QAbstractScrollArea(parent), session_(session) {
    setWindowTitle(QStringLiteral("A"));
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) {
        const int code = CodeOf(action);
        if (code >= 0)
            OnVScroll(code, verticalScrollBar()->sliderPosition());
    });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) {
        const int code = CodeOf(action);
        if (code >= 0)
            OnHScroll(code, horizontalScrollBar()->sliderPosition());
    });
}

void CPageView::SetScrollRanges(int width, int height) {
    rangeWidth_ = std::max(0, width);
    rangeHeight_ = std::max(0, height);
    {
        const QSignalBlocker v(verticalScrollBar());
        const QSignalBlocker h(horizontalScrollBar());
        verticalScrollBar()->setRange(0, rangeHeight_);
        horizontalScrollBar()->setRange(0, rangeWidth_);
    }
    ShowOffsets();
}

void CPageView::ShowOffsets() {
    m_VOffset = std::clamp(m_VOffset, -rangeHeight_, 0);
    m_HOffset = std::clamp(m_HOffset, 0, rangeWidth_);
    {
        const QSignalBlocker v(verticalScrollBar());
        const QSignalBlocker h(horizontalScrollBar());
        verticalScrollBar()->setValue(-m_VOffset);
        horizontalScrollBar()->setValue(m_HOffset);
    }
    viewport()->update();
}

void CPageView::OnVScroll(int code, int position) {
    switch (code) {
    case SB_LINEUP:
        if (m_VOffset < 0)
            m_VOffset += kLineStep;
        break;
    case SB_LINEDOWN:
        m_VOffset -= kLineStep;
        break;
    case SB_PAGEUP:
        if (m_VOffset + 10 < 0)
            m_VOffset += kPageStep;
        break;
    case SB_PAGEDOWN:
        m_VOffset -= kPageStep;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        m_VOffset = -position;
        break;
    default:
        return;
    }
    ShowOffsets();
}

void CPageView::OnHScroll(int code, int position) {
    switch (code) {
    case SB_LINELEFT:
        m_HOffset -= kLineStep;
        break;
    case SB_LINERIGHT:
        m_HOffset += kLineStep;
        break;
    case SB_PAGELEFT:
        m_HOffset -= kPageStep;
        break;
    case SB_PAGERIGHT:
        m_HOffset += kPageStep;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        m_HOffset = position;
        break;
    default:
        return;
    }
    ShowOffsets();
}

int CPageView::PageCount() const {
    return mv::PreviewPageCount(m_Mode - 1, session_.state, session_.Context(), m_Copies,
                                m_PageHeight);
}

void CPageView::Render(QPainter& painter, QSize client) const {
    painter.fillRect(QRect(0, 0, client.width() + 5, client.height() + 1), Qt::white);
    if (m_Extent.cx <= 0 || m_Extent.cy <= 0 || client.isEmpty())
        return;
    painter.save();
    // Window origin at the offsets, window extents of the page, viewport extents of the client
    // with y turned upwards (the canvas turns y; the transform scales and moves).
    QTransform t;
    t.scale(static_cast<double>(client.width()) / m_Extent.cx,
            static_cast<double>(client.height()) / m_Extent.cy);
    t.translate(-m_HOffset, m_VOffset);
    painter.setWorldTransform(t);
    {
        xui::QtCanvas canvas(painter, kUnitsPerInch, kUnitsPerInch);
        canvas.setMapMode(mv::MM_LOMETRIC);
        mv::PreviewSink sink;
        mv::CLabelPrinter printer(canvas, sink, session_.state, session_.Context());
        printer.Run(m_Mode - 1, m_Page, 1, 1, m_Copies, m_PageHeight);
    }
    painter.restore();
}

void CPageView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    Render(painter, viewport()->size());
}

} // namespace morvelan
