// Colour, point, size and rectangle values of the drawing layer, with the platform's rules:
// colours are 0x00BBGGRR, and a rectangle's right and bottom edges lie outside it.
#pragma once

#include <algorithm>
#include <cstdint>

namespace mv {

using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

struct POINT {
    int x = 0;
    int y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const SIZE&, const SIZE&) = default;
};

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    friend bool operator==(const RECT&, const RECT&) = default;
};

// True when the rectangle covers no pixel.
constexpr bool IsRectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// The point lies inside when left <= x < right and top <= y < bottom.
constexpr bool PtInRect(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

constexpr RECT InflateRect(RECT r, int dx, int dy) {
    return RECT{r.left - dx, r.top - dy, r.right + dx, r.bottom + dy};
}

constexpr RECT OffsetRect(RECT r, int dx, int dy) {
    return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The same area with left <= right and top <= bottom (a rectangle in y-up units comes in
// with top above bottom).
constexpr RECT NormalizeRect(RECT r) {
    return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

} // namespace mv
