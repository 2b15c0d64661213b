#include "xui/qt_canvas.h"

#include "xui/bitmaps.h"
#include "xui/colorref.h"
#include "xui/font_map.h"
#include "xui/qt_text.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>

namespace xui {
namespace {

QRect toQRect(const mv::RECT& r) { return QRect(r.left, r.top, r.width(), r.height()); }

// A picture converted once: the pixels it was made from, to see a picture that was replaced.
struct ConvertedPicture {
    QImage image;
    const mv::COLORREF* pixels = nullptr;
    std::size_t count = 0;
    int width = 0;
    int height = 0;
};

QImage convert(const mv::PixelImage& image) {
    QImage out(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const mv::COLORREF* row = &image.pixels[static_cast<std::size_t>(y) * image.width];
        for (int x = 0; x < image.width; ++x) {
            const mv::COLORREF c = row[x];
            line[x] = qRgb(mv::GetRValue(c), mv::GetGValue(c), mv::GetBValue(c));
        }
    }
    return out;
}

// The picture as a QImage: converted at its first draw, then the same image every time.
QImage toQImage(const mv::PixelImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() <
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        return QImage();
    }
    const auto* kept = static_cast<const ConvertedPicture*>(image.converted.get());
    if (kept && kept->pixels == image.pixels.data() && kept->count == image.pixels.size() &&
        kept->width == image.width && kept->height == image.height) {
        return kept->image;
    }
    auto made = std::make_shared<ConvertedPicture>();
    made->image = convert(image);
    made->pixels = image.pixels.data();
    made->count = image.pixels.size();
    made->width = image.width;
    made->height = image.height;
    image.converted = made;
    return made->image;
}

// Rows per band: fewer than the raster engine starts to share out.
constexpr int kBandRows = 64;

} // namespace

void drawImageRows(QPainter& painter, QPoint at, const QImage& image) {
    for (int y = 0; y < image.height(); y += kBandRows) {
        const int rows = std::min(kBandRows, image.height() - y);
        painter.drawImage(QPoint(at.x(), at.y() + y), image, QRect(0, y, image.width(), rows));
    }
}

QtCanvas::QtCanvas(QPainter& painter, int dpiX, int dpiY) : p_(painter) {
    state_.mapping.setDeviceDpi(dpiX, dpiY);
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setRenderHint(QPainter::TextAntialiasing, true);
}

QtCanvas::~QtCanvas() { p_.restore(); }

mv::FontDesc QtCanvas::selectFont(const mv::FontDesc& font) {
    return std::exchange(state_.font, font);
}

mv::PenDesc QtCanvas::selectPen(const mv::PenDesc& pen) { return std::exchange(state_.pen, pen); }

mv::BrushDesc QtCanvas::selectBrush(const mv::BrushDesc& brush) {
    return std::exchange(state_.brush, brush);
}

mv::COLORREF QtCanvas::setTextColor(mv::COLORREF color) {
    return std::exchange(state_.textColor, color);
}

mv::COLORREF QtCanvas::setBkColor(mv::COLORREF color) {
    return std::exchange(state_.bkColor, color);
}

int QtCanvas::setBkMode(int mode) { return std::exchange(state_.bkMode, mode); }

unsigned QtCanvas::setTextAlign(unsigned align) { return std::exchange(state_.align, align); }

int QtCanvas::setMapMode(int mode) {
    const int old = state_.mapping.mapMode();
    state_.mapping.setMapMode(mode);
    return old;
}

void QtCanvas::setViewportOrg(mv::POINT org) { state_.mapping.setViewportOrg(org); }

void QtCanvas::saveState() { saved_.push_back(state_); }

void QtCanvas::restoreState() {
    if (!saved_.empty()) {
        state_ = saved_.back();
        saved_.pop_back();
        applyRop();
    }
}

int QtCanvas::setROP2(int mode) {
    const int old = std::exchange(state_.rop2, mode == mv::R2_MERGEPEN ? mv::R2_MERGEPEN
                                                                        : mv::R2_COPYPEN);
    applyRop();
    return old;
}

void QtCanvas::applyRop() {
    // Devices without raster operations (PDF) keep copying.
    const bool merge = state_.rop2 == mv::R2_MERGEPEN && p_.paintEngine() != nullptr &&
                       p_.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    p_.setCompositionMode(merge ? QPainter::RasterOp_SourceOrDestination
                                : QPainter::CompositionMode_SourceOver);
}

const QtCanvas::MadeFont& QtCanvas::madeFont() const {
    const mv::FontDesc& d = state_.font;
    if (!font_ || font_->desc != d || font_->mapMode != state_.mapping.mapMode() ||
        font_->dpiY != state_.mapping.dpiY()) {
        const QFont font = currentQFont();
        font_.emplace(MadeFont{d, state_.mapping.mapMode(), state_.mapping.dpiY(), font,
                               QFontMetrics(font)});
    }
    return *font_;
}

QFont QtCanvas::currentQFont() const {
    const mv::FontDesc& d = state_.font;
    int em = 0;
    if (d.height == 0) {
        em = static_cast<int>(std::lround(8.0 * state_.mapping.dpiY() / 72.0));
    } else {
        mv::FontDesc probe = d;
        const int deviceHeight = state_.mapping.lengthToDeviceY(std::abs(d.height));
        probe.height = d.height < 0 ? -deviceHeight : deviceHeight;
        em = screenEmPixels(probe);
    }
    return makeQFont(d, em);
}

QPen QtCanvas::qpen() const {
    QPen pen(toQColor(state_.pen.color));
    const int w = state_.pen.width <= 1 ? 0 : state_.mapping.lengthToDeviceX(state_.pen.width);
    pen.setWidth(w);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(w == 0 ? Qt::FlatCap : Qt::RoundCap);
    switch (state_.pen.style) {
    case mv::PS_DASH:
        pen.setStyle(Qt::DashLine);
        break;
    case mv::PS_DOT:
        pen.setStyle(Qt::DotLine);
        break;
    case mv::PS_NULL:
        pen.setStyle(Qt::NoPen);
        break;
    default:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    return pen;
}

void QtCanvas::fillDevice(const QRect& r, mv::COLORREF color) {
    if (r.width() > 0 && r.height() > 0) {
        ++drawCalls_;
        p_.fillRect(r, toQColor(color));
    }
}

void QtCanvas::moveTo(int x, int y) { state_.position = mv::POINT{x, y}; }

void QtCanvas::lineTo(int x, int y) {
    const mv::POINT a = state_.mapping.toDevice(state_.position);
    const mv::POINT b = state_.mapping.toDevice(mv::POINT{x, y});
    state_.position = mv::POINT{x, y};
    if (state_.pen.style == mv::PS_NULL || a == b) {
        return;
    }
    const QPen pen = qpen();
    if (pen.width() == 0 && pen.style() == Qt::SolidLine && (a.x == b.x || a.y == b.y)) {
        // One-pixel straight lines: exact pixels from the start up to, not including, the end.
        const QColor c = toQColor(state_.pen.color);
        ++drawCalls_;
        if (a.y == b.y) {
            const int x0 = a.x < b.x ? a.x : b.x + 1;
            p_.fillRect(QRect(x0, a.y, std::abs(b.x - a.x), 1), c);
        } else {
            const int y0 = a.y < b.y ? a.y : b.y + 1;
            p_.fillRect(QRect(a.x, y0, 1, std::abs(b.y - a.y)), c);
        }
        return;
    }
    ++drawCalls_;
    p_.setPen(pen);
    p_.drawLine(QPoint(a.x, a.y), QPoint(b.x, b.y));
}

void QtCanvas::rectangle(const mv::RECT& r) {
    const mv::RECT d = state_.mapping.toDevice(r);
    const bool nullPen = state_.pen.style == mv::PS_NULL;
    if (!state_.brush.hollow) {
        // Without a pen the fill stops one pixel short of the right and bottom edges.
        const int shrink = nullPen ? 1 : 0;
        fillDevice(QRect(d.left, d.top, d.width() - shrink, d.height() - shrink),
                   state_.brush.color);
    }
    if (nullPen || d.width() <= 0 || d.height() <= 0) {
        return;
    }
    const QPen pen = qpen();
    if (pen.style() == Qt::SolidLine) {
        const int w = std::max(1, pen.width());
        const mv::COLORREF c = state_.pen.color;
        fillDevice(QRect(d.left, d.top, d.width(), std::min(w, d.height())), c);
        fillDevice(QRect(d.left, d.bottom - w, d.width(), std::min(w, d.height())), c);
        fillDevice(QRect(d.left, d.top, std::min(w, d.width()), d.height()), c);
        fillDevice(QRect(d.right - w, d.top, std::min(w, d.width()), d.height()), c);
        return;
    }
    ++drawCalls_;
    p_.setPen(pen);
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(QRect(d.left, d.top, d.width() - 1, d.height() - 1));
}

void QtCanvas::ellipse(const mv::RECT& r) {
    const mv::RECT d = state_.mapping.toDevice(r);
    ++drawCalls_;
    p_.setPen(qpen());
    if (state_.brush.hollow) {
        p_.setBrush(Qt::NoBrush);
    } else {
        p_.setBrush(toQColor(state_.brush.color));
    }
    p_.drawEllipse(QRect(d.left, d.top, d.width() - 1, d.height() - 1));
}

void QtCanvas::polygon(const std::vector<mv::POINT>& points) {
    QPolygon poly;
    for (const mv::POINT& pt : points) {
        const mv::POINT d = state_.mapping.toDevice(pt);
        poly << QPoint(d.x, d.y);
    }
    ++drawCalls_;
    p_.setPen(qpen());
    if (state_.brush.hollow) {
        p_.setBrush(Qt::NoBrush);
    } else {
        p_.setBrush(toQColor(state_.brush.color));
    }
    p_.drawPolygon(poly);
}

void QtCanvas::fillRect(const mv::RECT& r, mv::COLORREF color) {
    fillDevice(toQRect(state_.mapping.toDevice(r)), color);
}

void QtCanvas::frameRect(const mv::RECT& r, mv::COLORREF color) {
    const mv::RECT d = state_.mapping.toDevice(r);
    if (d.width() <= 0 || d.height() <= 0) {
        return;
    }
    fillDevice(QRect(d.left, d.top, d.width(), 1), color);
    fillDevice(QRect(d.left, d.bottom - 1, d.width(), 1), color);
    fillDevice(QRect(d.left, d.top, 1, d.height()), color);
    fillDevice(QRect(d.right - 1, d.top, 1, d.height()), color);
}

void QtCanvas::setPixel(int x, int y, mv::COLORREF color) {
    const mv::POINT d = state_.mapping.toDevice(mv::POINT{x, y});
    fillDevice(QRect(d.x, d.y, 1, 1), color);
}

void QtCanvas::drawFocusRect(const mv::RECT& r) {
    const mv::RECT d = state_.mapping.toDevice(r);
    if (d.width() <= 0 || d.height() <= 0) {
        return;
    }
    const bool xorMode =
        p_.paintEngine() != nullptr && p_.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    ++drawCalls_;
    p_.save();
    if (xorMode) {
        p_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    }
    const QColor c = xorMode ? QColor(Qt::white) : QColor(Qt::black);
    auto dot = [&](int x, int y) { p_.fillRect(QRect(x, y, 1, 1), c); };
    for (int x = d.left; x < d.right; x += 2) {
        dot(x, d.top);
    }
    for (int x = d.left + ((d.height() - 1) % 2); x < d.right; x += 2) {
        if (d.height() > 1) {
            dot(x, d.bottom - 1);
        }
    }
    for (int y = d.top + 2; y < d.bottom - 1; y += 2) {
        dot(d.left, y);
    }
    for (int y = d.top + 2 - ((d.width() - 1) % 2); y < d.bottom - 1; y += 2) {
        if (d.width() > 1 && y > d.top) {
            dot(d.right - 1, y);
        }
    }
    p_.restore();
}

void QtCanvas::textOut(int x, int y, std::string_view text) {
    const QString s = fromCp1252(text);
    const MadeFont& made = madeFont();
    const QFontMetrics& fm = made.metrics;
    const int w = fm.horizontalAdvance(s);
    int dx = 0;
    switch (state_.align & mv::TA_HORZMASK) {
    case mv::TA_RIGHT:
        dx = -w;
        break;
    case mv::TA_CENTER:
        dx = -w / 2;
        break;
    default:
        break;
    }
    int baseline = 0; // from the reference point to the baseline
    switch (state_.align & mv::TA_VERTMASK) {
    case mv::TA_BOTTOM:
        baseline = -fm.descent();
        break;
    case mv::TA_BASELINE:
        baseline = 0;
        break;
    default:
        baseline = fm.ascent();
        break;
    }
    const mv::POINT d = state_.mapping.toDevice(mv::POINT{x, y});
    ++drawCalls_;
    // Upright text needs no turn of the painter: it is drawn at the device point itself. Font
    // and pen stay set; every other drawing sets its own.
    const bool turned = state_.font.escapement != 0;
    const QPoint origin = turned ? QPoint() : QPoint(d.x, d.y);
    if (turned) {
        p_.save();
        p_.translate(d.x, d.y);
        // Escapement turns counter-clockwise; device y grows downwards on every device.
        p_.rotate(-state_.font.escapement / 10.0);
    }
    if (state_.bkMode == mv::OPAQUE) {
        p_.fillRect(QRect(origin.x() + dx, origin.y() + baseline - fm.ascent(), w, fm.height()),
                    toQColor(state_.bkColor));
    }
    p_.setFont(made.font);
    p_.setPen(toQColor(state_.textColor));
    p_.drawText(QPoint(origin.x() + dx, origin.y() + baseline), s);
    if (turned)
        p_.restore();
}

void QtCanvas::drawText(std::string_view text, const mv::RECT& r, unsigned flags) {
    const QString s = fromCp1252(text);
    const mv::RECT d = state_.mapping.toDevice(r);
    int qflags = 0;
    if ((flags & mv::DT_RIGHT) != 0) {
        qflags |= Qt::AlignRight;
    } else if ((flags & mv::DT_CENTER) != 0) {
        qflags |= Qt::AlignHCenter;
    } else {
        qflags |= Qt::AlignLeft;
    }
    if ((flags & mv::DT_SINGLELINE) != 0 && (flags & mv::DT_VCENTER) != 0) {
        qflags |= Qt::AlignVCenter;
    } else if ((flags & mv::DT_SINGLELINE) != 0 && (flags & mv::DT_BOTTOM) != 0) {
        qflags |= Qt::AlignBottom;
    } else {
        qflags |= Qt::AlignTop;
    }
    if ((flags & mv::DT_WORDBREAK) != 0 && (flags & mv::DT_SINGLELINE) == 0) {
        qflags |= Qt::TextWordWrap;
    }
    if ((flags & mv::DT_NOCLIP) != 0) {
        qflags |= Qt::TextDontClip;
    }
    const QFont font = madeFont().font;
    const QRect box = toQRect(d);
    ++drawCalls_;
    p_.save();
    p_.setFont(font);
    if (state_.bkMode == mv::OPAQUE) {
        const QRect used = madeFont().metrics.boundingRect(box, qflags, s);
        p_.fillRect(used, toQColor(state_.bkColor));
    }
    p_.setPen(toQColor(state_.textColor));
    p_.drawText(box, qflags, s);
    p_.restore();
}

mv::SIZE QtCanvas::textExtent(std::string_view text) {
    const QFontMetrics& fm = madeFont().metrics;
    const int w = fm.horizontalAdvance(fromCp1252(text));
    const int h = fm.height();
    if (state_.mapping.mapMode() == mv::MM_LOMETRIC) {
        return mv::SIZE{static_cast<int>(std::lround(w * 254.0 / state_.mapping.dpiX())),
                        state_.mapping.lengthToLogicalY(h)};
    }
    return mv::SIZE{w, h};
}

mv::TextMetrics QtCanvas::textMetrics() {
    const QFontMetrics& fm = madeFont().metrics;
    mv::TextMetrics m;
    m.height = state_.mapping.lengthToLogicalY(fm.height());
    m.ascent = state_.mapping.lengthToLogicalY(fm.ascent());
    m.descent = state_.mapping.lengthToLogicalY(fm.descent());
    m.averageCharWidth = state_.mapping.lengthToLogicalY(fm.averageCharWidth());
    return m;
}

void QtCanvas::drawBitmap(int x, int y, const mv::BitmapRef& bitmap) {
    const QImage img = loadBitmap(bitmap);
    if (img.isNull()) {
        return;
    }
    const mv::POINT d = state_.mapping.toDevice(mv::POINT{x, y});
    ++drawCalls_;
    drawImageRows(p_, QPoint(d.x, d.y), img);
}

void QtCanvas::stretchBitmap(const mv::RECT& r, const mv::BitmapRef& bitmap) {
    const QImage img = loadBitmap(bitmap);
    if (img.isNull()) {
        return;
    }
    ++drawCalls_;
    p_.drawImage(toQRect(state_.mapping.toDevice(r)), img);
}

void QtCanvas::drawImage(int x, int y, const mv::PixelImage& image) {
    const QImage img = toQImage(image);
    if (img.isNull()) {
        return;
    }
    const mv::POINT d = state_.mapping.toDevice(mv::POINT{x, y});
    ++drawCalls_;
    drawImageRows(p_, QPoint(d.x, d.y), img);
}

void QtCanvas::stretchImage(const mv::RECT& r, const mv::PixelImage& image) {
    const QImage img = toQImage(image);
    if (img.isNull()) {
        return;
    }
    ++drawCalls_;
    p_.drawImage(toQRect(state_.mapping.toDevice(r)), img);
}

} // namespace xui
