// A canvas that draws nothing and keeps every call with the state it was made in, so tests
// check what code drew: which text at which point in which font and colour, which rectangle
// in which fill. Text is measured with a simple fixed rule (below) so results are exact.
#pragma once

#include "platform/canvas.h"

#include <string>
#include <vector>

namespace mv {

enum class DrawOp {
    Line,
    Rectangle,
    Ellipse,
    Polygon,
    FillRect,
    FrameRect,
    SetPixel,
    FocusRect,
    TextOut,
    DrawText,
    Bitmap,
    StretchBitmap,
    Image,
    StretchImage,
};

// The state a call was made in.
struct DrawState {
    FontDesc font;
    PenDesc pen;
    BrushDesc brush;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    unsigned textAlign = TA_LEFT | TA_TOP;
    int mapMode = MM_TEXT;
    int rop2 = R2_COPYPEN;
    POINT viewportOrg{};
    POINT position{};
};

struct DrawCall {
    DrawOp op = DrawOp::Line;
    POINT from{};   // Line: start; TextOut, Bitmap, Image: reference point
    POINT to{};     // Line: end
    RECT rect{};    // Rectangle, Ellipse, FillRect, FrameRect, FocusRect, DrawText, stretches
    COLORREF color = 0; // FillRect, FrameRect, SetPixel
    std::string text;   // TextOut, DrawText
    unsigned flags = 0; // DrawText
    std::vector<POINT> points;
    BitmapRef bitmap;
    SIZE imageSize{};
    DrawState state;
};

class RecordingCanvas final : public Canvas {
public:
    RecordingCanvas() = default;

    FontDesc selectFont(const FontDesc& font) override;
    PenDesc selectPen(const PenDesc& pen) override;
    BrushDesc selectBrush(const BrushDesc& brush) override;
    COLORREF setTextColor(COLORREF color) override;
    COLORREF setBkColor(COLORREF color) override;
    int setBkMode(int mode) override;
    unsigned setTextAlign(unsigned align) override;
    int setMapMode(int mode) override;
    void setViewportOrg(POINT org) override;
    int setROP2(int mode) override;
    void saveState() override;
    void restoreState() override;

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void rectangle(const RECT& r) override;
    void ellipse(const RECT& r) override;
    void polygon(const std::vector<POINT>& points) override;
    void fillRect(const RECT& r, COLORREF color) override;
    void frameRect(const RECT& r, COLORREF color) override;
    void setPixel(int x, int y, COLORREF color) override;
    void drawFocusRect(const RECT& r) override;

    void textOut(int x, int y, std::string_view text) override;
    void drawText(std::string_view text, const RECT& r, unsigned flags) override;
    // Each character is half the em height wide (at least 1); the height is the em height.
    SIZE textExtent(std::string_view text) override;
    // Em height = |height| for a negative height, 4/5 of a positive one, and 8 points
    // (11 pixels, 28 units of 0.1 mm) for 0; ascent 4/5 of it.
    TextMetrics textMetrics() override;

    void drawBitmap(int x, int y, const BitmapRef& bitmap) override;
    void stretchBitmap(const RECT& r, const BitmapRef& bitmap) override;
    void drawImage(int x, int y, const PixelImage& image) override;
    void stretchImage(const RECT& r, const PixelImage& image) override;

    const std::vector<DrawCall>& calls() const { return calls_; }
    const DrawState& state() const { return state_; }
    void clear() { calls_.clear(); }
    // The calls of one kind, in order.
    std::vector<DrawCall> callsOf(DrawOp op) const;
    // The texts of all TextOut and DrawText calls, in order.
    std::vector<std::string> texts() const;

private:
    DrawCall& record(DrawOp op);

    DrawState state_;
    std::vector<DrawState> saved_;
    std::vector<DrawCall> calls_;
};

} // namespace mv
