#include "xui/xgrid_ctrl.h"

#include "platform/sys_colors.h"
#include "xui/command.h"
#include "xui/font_map.h"
#include "xui/qt_canvas.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace xui {
namespace {

// Counts are 16-bit values.
constexpr int kMaxCount = 32767;

int clampCount(int n) {
    return std::clamp(n, 0, kMaxCount);
}

mv::RECT toRect(const QRect& r) {
    return mv::RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

} // namespace

XGridCtrl::XGridCtrl(QWidget* parent)
    : QWidget(parent), headerColor_(mv::GetSysColor(mv::COLOR_BTNFACE)),
      headerTextColor_(mv::GetSysColor(mv::COLOR_BTNTEXT)),
      rowTextColor_(mv::GetSysColor(mv::COLOR_BTNTEXT)) {
    setWindowClassName(this, "XGRID");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    if (parent != nullptr) {
        // Heading and cell font: the parent's font.
        setControlFont(this, controlFont(parent));
    }
    widths_.assign(static_cast<std::size_t>(columns_), kDefaultColumnWidth);
    recomputeOffsets();

    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(kPageRows);
    // The first visible row follows the thumb only when it is released.
    scrollBar_->setTracking(false);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    connect(scrollBar_, &QAbstractSlider::actionTriggered, this,
            [this](int action) { onScrollAction(action); });
    // A value set without a request of its own (the bar's "Scroll here", "Top", "Bottom")
    // moves the rows with it.
    connect(scrollBar_, &QAbstractSlider::valueChanged, this, [this](int value) {
        if (inScrollAction_ || value == firstRow_)
            return;
        setFirstRow(value);
        fullRedraw_ = false;
        repaint();
    });
    rebuildCells();
    resizeEvent(nullptr);
}

// ---- dimensions and cells ----------------------------------------------------------------

bool XGridCtrl::validCell(int row, int column) const {
    return row >= 0 && row < rows_ && column >= 0 && column < columns_;
}

std::size_t XGridCtrl::cellIndex(int row, int column) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(column);
}

void XGridCtrl::rebuildCells() {
    const std::size_t cells = static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_);
    texts_.assign(cells, std::string());
    flags_.assign(cells, 0);
    data_.assign(cells, nullptr);
    rowBackColors_.assign(static_cast<std::size_t>(rows_) + 1, kCellBackColor);
    rowTextColors_.assign(static_cast<std::size_t>(rows_) + 1, rowTextColor_);
}

void XGridCtrl::recomputeOffsets() {
    offsets_.assign(widths_.size(), 0);
    int x = 0;
    for (std::size_t c = 0; c < widths_.size(); ++c) {
        offsets_[c] = x;
        x += widths_[c];
    }
}

int XGridCtrl::scrollLimit() const {
    return std::max(0, rows_ - visibleRows_);
}

void XGridCtrl::updateScrollRange() {
    inScrollAction_ = true;
    scrollBar_->setRange(0, scrollLimit());
    inScrollAction_ = false;
}

void XGridCtrl::setFirstRow(int row) {
    firstRow_ = std::clamp(row, 0, scrollLimit());
}

void XGridCtrl::SetColumnCount(int count) {
    columns_ = clampCount(count);
    widths_.assign(static_cast<std::size_t>(columns_), kDefaultColumnWidth);
    recomputeOffsets();
    firstRow_ = 0;
    inScrollAction_ = true;
    scrollBar_->setValue(0);
    inScrollAction_ = false;
    rebuildCells();
    update();
}

void XGridCtrl::SetRowCount(int count) {
    selRow_ = -1;
    selColumn_ = -1;
    rows_ = clampCount(count);
    firstRow_ = 0;
    rebuildCells();
    updateScrollRange();
    inScrollAction_ = true;
    scrollBar_->setValue(0);
    inScrollAction_ = false;
    fullRedraw_ = true;
    update();
}

void XGridCtrl::SetColumnWidth(int column, int width) {
    if (column < 0 || column >= columns_) {
        return;
    }
    widths_[static_cast<std::size_t>(column)] = std::clamp(width, 0, kMaxCount);
    recomputeOffsets();
    fullRedraw_ = true;
    update();
}

int XGridCtrl::columnOffset(int column) const {
    if (column < 0 || column >= columns_) {
        return 0;
    }
    return offsets_[static_cast<std::size_t>(column)];
}

int XGridCtrl::columnWidth(int column) const {
    if (column < 0 || column >= columns_) {
        return 0;
    }
    return widths_[static_cast<std::size_t>(column)];
}

int XGridCtrl::screenRowOf(int row) const {
    if (row < 0 || row >= rows_) {
        return -1;
    }
    int screen = -1;
    if (row < fixedRows_) {
        screen = row;
    } else if (row - firstRow_ >= fixedRows_) {
        screen = row - firstRow_;
    }
    if (screen < 0 || screen >= visibleRows_) {
        return -1;
    }
    return screen;
}

void XGridCtrl::SetCellText(int column, int row, std::string_view text) {
    if (!validCell(row, column)) {
        return;
    }
    std::string& stored = texts_[cellIndex(row, column)];
    if (stored == text) {
        return;
    }
    stored.assign(text);
    const int screen = screenRowOf(row);
    if (screen >= 0) {
        repaint(cellRect(column, screen));
    }
}

void XGridCtrl::GetCellText(int row, int column, std::string& text) const {
    if (!validCell(row, column)) {
        text.clear();
        return;
    }
    text = texts_[cellIndex(row, column)];
}

void XGridCtrl::SetCellData(int column, int row, void* data) {
    if (validCell(row, column)) {
        data_[cellIndex(row, column)] = data;
    }
}

void* XGridCtrl::GetCellData(int row, int column) const {
    return validCell(row, column) ? data_[cellIndex(row, column)] : nullptr;
}

void XGridCtrl::SetCellFlag(int column, int row, std::uint8_t flag) {
    if (validCell(row, column)) {
        flags_[cellIndex(row, column)] = flag;
    }
}

std::uint8_t XGridCtrl::cellFlag(int row, int column) const {
    return validCell(row, column) ? flags_[cellIndex(row, column)] : 0;
}

void XGridCtrl::SetRowColor(int row, mv::COLORREF color) {
    if (row < 0 || row >= static_cast<int>(rowTextColors_.size())) {
        return;
    }
    rowTextColors_[static_cast<std::size_t>(row)] = color;
    update();
}

void XGridCtrl::SetAllRowColors(mv::COLORREF color) {
    rowTextColor_ = color;
    for (std::size_t r = static_cast<std::size_t>(fixedRows_); r < rowTextColors_.size(); ++r) {
        rowTextColors_[r] = color;
    }
    update();
}

mv::COLORREF XGridCtrl::rowTextColor(int row) const {
    if (row < 0 || row >= static_cast<int>(rowTextColors_.size())) {
        return rowTextColor_;
    }
    return rowTextColors_[static_cast<std::size_t>(row)];
}

void XGridCtrl::SetHeaderColor(mv::COLORREF color) {
    headerColor_ = color;
}

void XGridCtrl::SetHeaderTextColor(mv::COLORREF color) {
    headerTextColor_ = color;
}

void XGridCtrl::SetGridLineColor(mv::COLORREF color) {
    gridLineColor_ = color;
    update();
}

void XGridCtrl::SetSelectionMode(int mode) {
    selectionMode_ = mode;
    update();
}

void XGridCtrl::SetCellAlignment(int alignment) {
    alignment_ = alignment;
    update();
}

void XGridCtrl::SetNoFixedColumn() {
    fixedColumns_ = 0;
    update();
}

void XGridCtrl::GetSelection(int& row, int& column) const {
    row = selRow_;
    column = selColumn_;
}

int XGridCtrl::GetClientWidth() const {
    return scrollBar_->width();
}

void XGridCtrl::Clear() {
    std::fill(texts_.begin(), texts_.end(), std::string());
    std::fill(flags_.begin(), flags_.end(), 0);
    std::fill(data_.begin(), data_.end(), nullptr);
    firstRow_ = 0;
    inScrollAction_ = true;
    scrollBar_->setValue(0);
    inScrollAction_ = false;
    fullRedraw_ = true;
    update();
}

void XGridCtrl::DeleteRow(int row) {
    if (row < 0 || row >= rows_) {
        return;
    }
    selRow_ = -1;
    selColumn_ = -1;
    for (int r = row; r + 1 < rows_; ++r) {
        for (int c = 0; c < columns_; ++c) {
            texts_[cellIndex(r, c)] = std::move(texts_[cellIndex(r + 1, c)]);
        }
    }
    for (int c = 0; c < columns_; ++c) {
        texts_[cellIndex(rows_ - 1, c)].clear();
    }
    std::fill(flags_.begin(), flags_.end(), 0);
    std::fill(data_.begin(), data_.end(), nullptr);
    repaint();
}

// ---- geometry ----------------------------------------------------------------------------

void XGridCtrl::resizeEvent(QResizeEvent*) {
    visibleRows_ = rowHeight_ > 0 ? height() / rowHeight_ : 0;
    const int wholeRows = visibleRows_ * rowHeight_;
    if (height() != wholeRows) {
        // Only whole rows show: the grid shrinks to them.
        resize(width(), wholeRows);
    }
    const int barWidth = mv::GetSystemMetrics(mv::SM_CXVSCROLL);
    // Right-aligned in the client rectangle inset by one pixel.
    const int inner = std::max(0, height() - 2);
    scrollBar_->setGeometry(std::max(1, width() - 1 - barWidth), 1, barWidth, inner);
    scrollBar_->show();
    updateScrollRange();
    setFirstRow(firstRow_);
}

QRect XGridCtrl::rowRect(int screenRow) const {
    return QRect(0, screenRow * rowHeight_, width(), rowHeight_ + 2);
}

QRect XGridCtrl::cellRect(int column, int screenRow) const {
    // The cell with its grid lines and the pixels a merged fill may reach.
    const int x = columnOffset(column);
    return QRect(x - 1, screenRow * rowHeight_, columnWidth(column) + 2, rowHeight_ + 3);
}

void XGridCtrl::repaintRow(int row) {
    const int screen = screenRowOf(row);
    if (screen >= 0) {
        repaint(rowRect(screen));
    }
}

// ---- scrolling ---------------------------------------------------------------------------

void XGridCtrl::OnVScroll(ScrollRequest request, int position) {
    const int limit = scrollLimit();
    int box = scrollBar_->sliderPosition();
    switch (request) {
    case ScrollRequest::LineUp:
        if (firstRow_ > 0) {
            --firstRow_;
        }
        box -= 1;
        break;
    case ScrollRequest::LineDown:
        if (firstRow_ < limit - 1) {
            ++firstRow_;
        }
        box += 1;
        break;
    case ScrollRequest::PageUp:
        firstRow_ = std::max(0, firstRow_ - kPageRows);
        box -= kPageRows;
        break;
    case ScrollRequest::PageDown:
        firstRow_ = (firstRow_ + kPageRows < limit) ? firstRow_ + kPageRows : limit - 1;
        box += kPageRows;
        break;
    case ScrollRequest::ThumbPosition:
        firstRow_ = position;
        box = position;
        break;
    case ScrollRequest::ThumbTrack:
    case ScrollRequest::Other:
        return;
    }
    setFirstRow(firstRow_);
    inScrollAction_ = true;
    box = std::clamp(box, 0, limit);
    scrollBar_->setSliderPosition(box);
    scrollBar_->setValue(box);
    inScrollAction_ = false;
    fullRedraw_ = false;
    repaint();
}

void XGridCtrl::onScrollAction(int action) {
    if (inScrollAction_) {
        return;
    }
    // The bar has moved its box already; the request decides where box and rows end up.
    // A released thumb asks for the place it was dropped at, so that is read first.
    const int requested = scrollBar_->sliderPosition();
    const int before = scrollBar_->value();
    inScrollAction_ = true;
    scrollBar_->setSliderPosition(before);
    inScrollAction_ = false;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        OnVScroll(ScrollRequest::LineUp);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        OnVScroll(ScrollRequest::LineDown);
        break;
    case QAbstractSlider::SliderPageStepSub:
        OnVScroll(ScrollRequest::PageUp);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        OnVScroll(ScrollRequest::PageDown);
        break;
    case QAbstractSlider::SliderMove:
        // Without tracking the bar reports a move only when the thumb is released.
        if (scrollBar_->isSliderDown()) {
            OnVScroll(ScrollRequest::ThumbTrack);
        } else {
            OnVScroll(ScrollRequest::ThumbPosition, requested);
        }
        break;
    default:
        OnVScroll(ScrollRequest::Other);
        break;
    }
}

// ---- mouse and focus ---------------------------------------------------------------------

bool XGridCtrl::hitTest(QPoint point, int& row, int& column) const {
    row = -1;
    column = -1;
    if (rowHeight_ <= 0 || point.y() < 0) {
        return false;
    }
    // On a boundary the lower band wins.
    const int screen = point.y() / rowHeight_;
    if (screen >= rows_ || screen >= visibleRows_) {
        return false;
    }
    // Every band, the heading band too, counts from the first visible row.
    row = screen + firstRow_;
    if (row >= rows_) {
        row = -1;
        return false;
    }
    for (int c = 0; c < columns_; ++c) {
        const int left = offsets_[static_cast<std::size_t>(c)] - 1;
        const int right = left + widths_[static_cast<std::size_t>(c)];
        if (point.x() >= left && point.x() <= right) {
            column = c;
        }
    }
    return true;
}

void XGridCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (selRow_ >= 0) {
        const int old = selRow_;
        selRow_ = -1;
        repaintRow(old);
    }
    int row = -1;
    int column = -1;
    if (hitTest(event->position().toPoint(), row, column)) {
        selRow_ = row;
        selColumn_ = column;
        repaintRow(row);
    }
    QWidget::mousePressEvent(event);
}

void XGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        postCommand(this, kNotifyClicked);
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void XGridCtrl::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void XGridCtrl::focusOutEvent(QFocusEvent* event) {
    fullRedraw_ = true;
    update();
    QWidget::focusOutEvent(event);
}

// ---- painting ----------------------------------------------------------------------------

mv::FontDesc XGridCtrl::cellFont() const {
    return controlFont(this);
}

void XGridCtrl::paintEvent(QPaintEvent* event) {
    QRect area = event->rect();
    if (fullRedraw_) {
        area = rect();
        fullRedraw_ = false;
    }
    QPainter painter(this);
    QtCanvas canvas(painter);
    paintGrid(canvas, toRect(area));
}

void XGridCtrl::paintGrid(mv::Canvas& canvas, const mv::RECT& update) {
    canvas.saveState();
    canvas.fillRect(update, kBackColor);

    // Grey gradient from the top of the grid: lines from x up to right (not included) for y
    // from 0 up to bottom (not included), white at the top and darker by 63 / y1 per line.
    auto gradient = [&canvas](int x, int right, int y1, int bottom) {
        const double step = 63.0 / y1;
        for (int y = 0; y < bottom; ++y) {
            const int v = std::clamp(static_cast<int>(255.0 - step * y), 0, 255);
            canvas.selectPen(mv::PenDesc{mv::PS_SOLID, 1, mv::RGB(v, v, v)});
            canvas.moveTo(x, y);
            canvas.lineTo(right, y);
        }
    };
    const int shown = std::min(rows_, visibleRows_);
    for (int r = 0; r < shown; ++r) {
        const int y0 = r * rowHeight_;
        const int y1 = y0 + rowHeight_ + 2;
        for (int c = 0; c < columns_; ++c) {
            const int x = offsets_[static_cast<std::size_t>(c)];
            const int w = widths_[static_cast<std::size_t>(c)];
            if (r < fixedRows_ || c < fixedColumns_) {
                gradient(x, x + w - 1, y1, y1);
            } else {
                canvas.selectPen(mv::PenDesc{mv::PS_SOLID, 1, gridLineColor_});
                canvas.selectBrush(mv::BrushDesc::solid(kCellBackColor));
                canvas.rectangle(mv::RECT{x - 1, y0, x + w, y1 - 1});
            }
        }
    }
    // Right of the last column the heading band and the empty white rows go on to the edge
    // (under the scroll bar), so that no dark strip is left beside the bar.
    const int end = columns_ > 0 ? offsets_.back() + widths_.back() : 0;
    if (shown > 0 && end < width()) {
        const int headings = std::min(fixedRows_, shown) * rowHeight_;
        if (headings > 0) {
            gradient(end, width(), headings + 2, headings);
        }
        canvas.fillRect(mv::RECT{end, headings, width(), shown * rowHeight_ + 1}, kCellBackColor);
    }

    if (fixedRows_ > 0) {
        for (int r = 0; r < fixedRows_ && r < shown; ++r) {
            for (int c = 0; c < columns_; ++c) {
                paintCell(canvas, c, r, texts_[cellIndex(r, c)], flags_[cellIndex(r, c)]);
            }
        }
        for (int c = 0; c < columns_; ++c) {
            const int last = std::min(firstRow_ + visibleRows_ - 1, rows_ - 1);
            for (int row = fixedRows_ + firstRow_; row <= last; ++row) {
                paintCell(canvas, c, row - firstRow_, texts_[cellIndex(row, c)],
                          flags_[cellIndex(row, c)]);
            }
        }
    } else {
        for (int c = 0; c < columns_; ++c) {
            for (int row = firstRow_; row < rows_ && row - firstRow_ < visibleRows_; ++row) {
                paintCell(canvas, c, row - firstRow_, texts_[cellIndex(row, c)],
                          flags_[cellIndex(row, c)]);
            }
        }
    }

    canvas.frameRect(mv::RECT{0, 0, width(), height()}, kFrameColor);
    canvas.restoreState();
}

void XGridCtrl::paintCell(mv::Canvas& canvas, int column, int screenRow, std::string_view text,
                          std::uint8_t flag) {
    if (column < 0 || column >= columns_ || screenRow < 0) {
        return;
    }
    const std::string_view shown = text.empty() ? std::string_view(" ") : text;
    const int x = offsets_[static_cast<std::size_t>(column)];
    const int w = widths_[static_cast<std::size_t>(column)];
    mv::RECT r{x, screenRow * rowHeight_ + 1, x + w, (screenRow + 1) * rowHeight_ + 1};
    r = mv::RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 2};

    canvas.saveState();
    canvas.selectFont(cellFont());
    const bool heading = screenRow < fixedRows_ || column < fixedColumns_;
    if (heading) {
        canvas.setBkMode(mv::TRANSPARENT);
        canvas.setBkColor(headerColor_);
        canvas.setTextColor(headerTextColor_);
    } else {
        const int row = screenRow + firstRow_;
        const bool highlighted =
            (selectionMode_ == kSelectCell && row == selRow_ && column == selColumn_) ||
            (selectionMode_ == kSelectRow && row == selRow_);
        mv::COLORREF fill = kSelectionColor;
        if (highlighted) {
            canvas.setTextColor(0);
        } else {
            const std::size_t ri = static_cast<std::size_t>(
                std::clamp(row, 0, static_cast<int>(rowBackColors_.size()) - 1));
            fill = rowBackColors_[ri];
            canvas.setTextColor(rowTextColors_[ri]);
            if (flag == kFlagMergeDown) {
                // Over the cell's left grid line and its lower one.
                r.left -= 2;
                r.bottom += 2;
            }
        }
        canvas.setBkMode(mv::OPAQUE);
        canvas.setBkColor(fill);
        canvas.fillRect(r, fill);
    }

    const mv::SIZE extent = canvas.textExtent(shown);
    const int y = (r.top + r.bottom) / 2 + extent.cy / 2;
    int align = heading ? kAlignCentre : alignment_;
    if (align == kAlignLeft) {
        canvas.setTextAlign(mv::TA_LEFT | mv::TA_BOTTOM);
        canvas.textOut(r.left + 2, y, shown);
    } else if (align == kAlignRight) {
        canvas.setTextAlign(mv::TA_RIGHT | mv::TA_BOTTOM);
        canvas.textOut(r.right - 2, y, shown);
    } else {
        canvas.setTextAlign(mv::TA_CENTER | mv::TA_BOTTOM);
        canvas.textOut((r.left + r.right) / 2, y, shown);
    }
    canvas.restoreState();
}

bool RegisterXGridClass() {
    return registerWindowClass("XGRID", [](QWidget* parent, const WindowCreateInfo& info) {
        auto* grid = new XGridCtrl(parent);
        grid->setGeometry(info.geometry);
        return static_cast<QWidget*>(grid);
    });
}

} // namespace xui
