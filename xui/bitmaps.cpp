#include "xui/bitmaps.h"

#include "platform/regular_file.h"
#include "platform/win_path.h"
#include "xui/colorref.h"

#include <QPainter>
#include <QPainterPath>

#include <map>
#include <mutex>

namespace xui {
namespace {

std::map<int, QImage>& table() {
    static std::map<int, QImage> images;
    return images;
}

QImage blankSymbol() {
    QImage img(32, 32, QImage::Format_RGB32);
    img.fill(toQColor(kBitmapTransparent));
    return img;
}

// A symbol: a filled disc with a dark rim on the transparent background, and the sign that
// drawSign paints over it. Drawn without smoothing so the background stays pure magenta.
template <typename DrawSign> QImage symbolOnDisc(QColor fill, QColor rim, DrawSign drawSign) {
    QImage img = blankSymbol();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(rim, 1));
    p.setBrush(fill);
    p.drawEllipse(QRect(1, 1, 29, 29));
    drawSign(p);
    return img;
}

QImage drawError(QColor fill, QColor rim) {
    return symbolOnDisc(fill, rim, [](QPainter& p) {
        QPen cross(Qt::white, 4, Qt::SolidLine, Qt::SquareCap);
        p.setPen(cross);
        p.drawLine(11, 11, 20, 20);
        p.drawLine(20, 11, 11, 20);
    });
}

QImage drawInformation() {
    return symbolOnDisc(QColor(0x1E, 0x5A, 0xC8), QColor(0x0A, 0x28, 0x64), [](QPainter& p) {
        p.fillRect(QRect(14, 7, 4, 4), Qt::white);   // dot
        p.fillRect(QRect(14, 13, 4, 12), Qt::white); // stem
        p.fillRect(QRect(12, 13, 2, 2), Qt::white);  // serif
        p.fillRect(QRect(12, 23, 8, 2), Qt::white);  // foot
    });
}

QImage drawQuestion() {
    return symbolOnDisc(QColor(0x1E, 0x5A, 0xC8), QColor(0x0A, 0x28, 0x64), [](QPainter& p) {
        p.fillRect(QRect(11, 7, 10, 3), Qt::white); // top of the hook
        p.fillRect(QRect(9, 9, 3, 4), Qt::white);   // left end
        p.fillRect(QRect(20, 9, 3, 6), Qt::white);  // right side
        p.fillRect(QRect(16, 14, 5, 3), Qt::white); // turn
        p.fillRect(QRect(15, 16, 3, 4), Qt::white); // stem
        p.fillRect(QRect(15, 22, 3, 3), Qt::white); // dot
    });
}

QImage drawSuccess() {
    return symbolOnDisc(QColor(0x28, 0xA0, 0x3C), QColor(0x0F, 0x50, 0x19), [](QPainter& p) {
        QPen tick(Qt::white, 4, Qt::SolidLine, Qt::SquareCap);
        p.setPen(tick);
        p.drawLine(9, 16, 13, 20);
        p.drawLine(13, 20, 22, 10);
    });
}

void ensureBuiltIns() {
    static std::once_flag once;
    std::call_once(once, [] {
        auto& t = table();
        t.emplace(kBitmapError, drawError(QColor(0xD2, 0x1E, 0x1E), QColor(0x6E, 0x0A, 0x0A)));
        t.emplace(kBitmapInformation, drawInformation());
        t.emplace(kBitmapQuestion, drawQuestion());
        t.emplace(kBitmapPanelError, drawError(QColor(0xE6, 0x3C, 0x14), QColor(0x50, 0x0A, 0x00)));
        t.emplace(kBitmapPanelSuccess, drawSuccess());
    });
}

} // namespace

void registerBitmapResource(int id, const QImage& image) {
    ensureBuiltIns();
    table()[id] = image.convertToFormat(QImage::Format_RGB32);
}

QImage bitmapResource(int id) {
    ensureBuiltIns();
    auto it = table().find(id);
    return it == table().end() ? QImage() : it->second;
}

QImage replaceColor(const QImage& image, mv::COLORREF from, mv::COLORREF to) {
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    const QRgb f = toQColor(from).rgb();
    const QRgb t = toQColor(to).rgb();
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] | 0xFF000000u) == f) {
                line[x] = t;
            }
        }
    }
    return out;
}

QImage readPictureFile(const std::string& path, std::string* why) {
    std::string bytes;
    if (!mv::readRegularFile(path, kMaxPictureFileBytes, bytes, why))
        return QImage();
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                       static_cast<int>(bytes.size()));
    return image;
}

QImage loadBitmap(const mv::BitmapRef& ref) {
    QImage img;
    if (ref.resourceId != 0) {
        img = bitmapResource(ref.resourceId);
    } else if (!ref.file.empty()) {
        img = readPictureFile(mv::resolvePath(ref.file));
    }
    if (img.isNull()) {
        return img;
    }
    if (ref.replace) {
        return replaceColor(img, ref.from, ref.to);
    }
    return img.convertToFormat(QImage::Format_RGB32);
}

} // namespace xui
