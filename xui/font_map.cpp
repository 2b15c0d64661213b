#include "xui/font_map.h"

#include "xui/ascii_case.h"

#include <QFontMetrics>
#include <QVariant>

#include <cmath>
#include <string>

namespace xui {
namespace {

constexpr const char* kFaceProperty = "mvFontFace";
constexpr const char* kHeightProperty = "mvFontHeight";
constexpr const char* kWeightProperty = "mvFontWeight";

// "MS Sans Serif" is a bitmap face whose smallest size is 8 points (11 pixels at 96 dpi): a
// request for fewer pixels shows that size.
constexpr int kSansSerifSmallestEm = 11;

// Texts up to this em height are hinted, so their stems stay dark on the pixel grid.
constexpr int kLargestHintedEm = 16;

int applySmallestSize(const mv::FontDesc& desc, int em) {
    if (em < kSansSerifSmallestEm && sameNoCase(desc.face, "MS Sans Serif")) {
        return kSansSerifSmallestEm;
    }
    return em;
}

} // namespace

QString mapFontFace(std::string_view face) {
    if (sameNoCase(face, "Courier New") || sameNoCase(face, "Courier")) {
        return QStringLiteral("Liberation Mono");
    }
    return QStringLiteral("Liberation Sans");
}

QFont makeQFont(const mv::FontDesc& desc, int emPixels) {
    QFont f(mapFontFace(desc.face));
    f.setPixelSize(emPixels > 0 ? emPixels : 1);
    int w = desc.weight <= 0 ? mv::FW_NORMAL : desc.weight;
    if (w > 900) {
        w = 900;
    }
    if (w < 100) {
        w = 100;
    }
    f.setWeight(static_cast<QFont::Weight>(w));
    f.setItalic(desc.italic);
    f.setUnderline(desc.underline);
    f.setKerning(false);
    f.setHintingPreference(emPixels <= kLargestHintedEm ? QFont::PreferFullHinting
                                                        : QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferDefault);
    return f;
}

int screenEmPixels(const mv::FontDesc& desc) {
    if (desc.height < 0) {
        return applySmallestSize(desc, -desc.height);
    }
    if (desc.height == 0) {
        return applySmallestSize(desc, 11);
    }
    // A cell height: scale by the face's ratio of em to line height.
    QFont probe = makeQFont(desc, 100);
    const int cell = QFontMetrics(probe).height();
    if (cell <= 0) {
        return applySmallestSize(desc, desc.height);
    }
    return applySmallestSize(desc, static_cast<int>(std::lround(desc.height * 100.0 / cell)));
}

QFont screenFont(const mv::FontDesc& desc) { return makeQFont(desc, screenEmPixels(desc)); }

mv::FontDesc fontFromPoints(std::string_view face, int points, int weight) {
    mv::FontDesc d;
    d.face = std::string(face);
    d.height = -static_cast<int>(std::lround(points * 96.0 / 72.0));
    d.weight = weight;
    return d;
}

mv::FontDesc controlFont(const QWidget* widget) {
    mv::FontDesc d;
    if (widget == nullptr) {
        return d;
    }
    const QVariant face = widget->property(kFaceProperty);
    if (face.isValid()) {
        d.face = face.toString().toStdString();
        d.height = widget->property(kHeightProperty).toInt();
        d.weight = widget->property(kWeightProperty).toInt();
        return d;
    }
    const QFont f = widget->font();
    d.face = f.family().toStdString();
    d.height = f.pixelSize() > 0 ? -f.pixelSize()
                                 : -static_cast<int>(std::lround(f.pointSizeF() * 96.0 / 72.0));
    d.weight = static_cast<int>(f.weight());
    return d;
}

void setControlFont(QWidget* widget, const mv::FontDesc& desc) {
    if (widget == nullptr) {
        return;
    }
    widget->setProperty(kFaceProperty, QString::fromStdString(desc.face));
    widget->setProperty(kHeightProperty, desc.height);
    widget->setProperty(kWeightProperty, desc.weight);
    widget->setFont(screenFont(desc));
}

} // namespace xui
