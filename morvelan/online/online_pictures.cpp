#include "morvelan/online/online_pictures.h"

#include "xui/bitmaps.h"
#include "xui/colorref.h"

#include <QPainter>

#include <array>
#include <vector>

namespace morvelan {

namespace {

constexpr mv::COLORREF kLcdBackground = 0xFFFFFF;
constexpr mv::COLORREF kLcdLit = 0x202020;
constexpr mv::COLORREF kLcdUnlit = 0xECECEC;

// Segments of a seven-segment digit: a top, b top right, c bottom right, d bottom,
// e bottom left, f top left, g middle; as rectangles in the 15 x 31 glyph.
struct Segment {
    int left, top, right, bottom;
};
constexpr std::array<Segment, 7> kSegments{{
    {3, 1, 12, 4},    // a
    {11, 3, 14, 15},  // b
    {11, 16, 14, 28}, // c
    {3, 27, 12, 30},  // d
    {1, 16, 4, 28},   // e
    {1, 3, 4, 15},    // f
    {3, 14, 12, 17},  // g
}};
// Lit segments per digit, bit 0 = a .. bit 6 = g.
constexpr std::array<unsigned, 10> kDigitSegments{0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                  0x6D, 0x7D, 0x07, 0x7F, 0x6F};

void Fill(mv::PixelImage& g, int left, int top, int right, int bottom, mv::COLORREF c) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x)
            g.pixels[static_cast<std::size_t>(y * g.width + x)] = c;
    }
}

mv::PixelImage MakeGlyph(char c) {
    mv::PixelImage g;
    g.width = kLcdGlyphWidth;
    g.height = kLcdGlyphHeight;
    g.pixels.assign(static_cast<std::size_t>(g.width * g.height), kLcdBackground);
    unsigned lit = 0;
    if (c >= '0' && c <= '9')
        lit = kDigitSegments[static_cast<std::size_t>(c - '0')];
    else if (c == '-')
        lit = 0x40;
    if (c == '.') {
        Fill(g, 6, 26, 9, 30, kLcdLit);
        return g;
    }
    for (std::size_t s = 0; s < kSegments.size(); ++s) {
        const Segment& seg = kSegments[s];
        Fill(g, seg.left, seg.top, seg.right, seg.bottom,
             (lit >> s) & 1u ? kLcdLit : (c == ' ' ? kLcdBackground : kLcdUnlit));
    }
    return g;
}

QImage BitBox(QColor fill, QColor frame, QColor shine) {
    QImage img(kBitBoxSize, kBitBoxSize, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(QRect(0, 0, 16, 16), frame);
    p.fillRect(QRect(2, 2, 12, 12), fill);
    p.fillRect(QRect(3, 3, 4, 2), shine);
    return img;
}

// The mask symbol: a stencil in green (drawn black) with its holes and frame in black (drawn
// white, or light yellow while the masks are edited).
QImage MaskSymbol() {
    QImage img(kBitBoxSize, kBitBoxSize, QImage::Format_RGB32);
    img.fill(xui::toQColor(0xDEBF97));
    QPainter p(&img);
    p.fillRect(QRect(1, 3, 14, 10), QColor(0, 0, 0));
    p.fillRect(QRect(2, 4, 12, 8), QColor(0, 255, 0));
    p.fillRect(QRect(4, 6, 3, 4), QColor(0, 0, 0));
    p.fillRect(QRect(9, 6, 3, 4), QColor(0, 0, 0));
    return img;
}

} // namespace

void RegisterOnlinePictures() {
    const std::pair<int, QImage> pictures[] = {
        {kBitmapBitSet, BitBox(QColor(0, 200, 0), QColor(0, 80, 0), QColor(160, 255, 160))},
        {kBitmapBitClear, BitBox(QColor(96, 96, 96), QColor(40, 40, 40), QColor(150, 150, 150))},
        {kBitmapMask, MaskSymbol()},
    };
    for (const auto& [id, image] : pictures) {
        if (xui::bitmapResource(id).isNull())
            xui::registerBitmapResource(id, image);
    }
}

const mv::PixelImage& LcdGlyph(char c) {
    static const std::vector<mv::PixelImage> strip = [] {
        std::vector<mv::PixelImage> out;
        for (char ch : kLcdCharacters)
            out.push_back(MakeGlyph(ch));
        return out;
    }();
    const std::size_t i = kLcdCharacters.find(c);
    return strip[i == std::string_view::npos ? kLcdCharacters.size() - 1 : i];
}

void DrawLcdText(mv::Canvas& dc, const mv::RECT& r, std::string_view text) {
    if (text.empty())
        return;
    const int n = static_cast<int>(text.size());
    const int height = r.bottom - r.top;
    // Glyphs keep about their proportions unless the text needs narrower ones.
    int width = std::max(1, (height * kLcdGlyphWidth) / kLcdGlyphHeight);
    if (width * n > r.right - r.left)
        width = std::max(1, (r.right - r.left) / n);
    int x = r.right - width * n; // right-aligned
    for (char c : text) {
        dc.stretchImage(mv::RECT{x, r.top, x + width, r.bottom}, LcdGlyph(c));
        x += width;
    }
}

} // namespace morvelan
