// The one drawing interface of the system: GDI-style calls on a current state of font, pen,
// brush, text colour, background colour and mode, text alignment and mapping mode.
// Screen code draws in pixels (MM_TEXT); printing draws in 0.1 mm with y growing upwards
// (MM_LOMETRIC), and text stays upright there. Rectangles exclude their right and bottom edges
// and lines exclude their end point, as the platform does. Texts are Windows-1252 bytes.
#pragma once

#include "platform/gdi_types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mv {

// Text alignment flags (SetTextAlign): one horizontal and one vertical choice.
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;
constexpr unsigned TA_HORZMASK = 6;
constexpr unsigned TA_VERTMASK = 24;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Raster modes of pens and fills: the colour replaces the pixel, or is or-ed into it.
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPEN = 15;

// Mapping modes: pixels with y down, or 0.1 mm with y up.
constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;

// Font weights.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// Text box flags (DrawText).
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_NOCLIP = 0x100;

// A font by face, height, weight and escapement. A negative height is the character (em)
// height, a positive one the cell height (ascent + descent), 0 the default of 8 points;
// heights are in logical units. Escapement is in tenths of a degree, counter-clockwise.
struct FontDesc {
    std::string face = "MS Sans Serif";
    int height = 0;
    int weight = FW_NORMAL;
    int escapement = 0;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

// A pen: width 0 and 1 both draw one device pixel.
struct PenDesc {
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
    friend bool operator==(const PenDesc&, const PenDesc&) = default;
};

// A solid brush, or the hollow brush that fills nothing.
struct BrushDesc {
    bool hollow = false;
    COLORREF color = 0xFFFFFF;
    friend bool operator==(const BrushDesc&, const BrushDesc&) = default;
    static BrushDesc solid(COLORREF c) { return BrushDesc{false, c}; }
    static BrushDesc null() { return BrushDesc{true, 0}; }
};

// Metrics of the selected font, in logical units.
struct TextMetrics {
    int height = 0;  // ascent + descent
    int ascent = 0;
    int descent = 0;
    int averageCharWidth = 0;
};

// A bitmap named by its resource id (the program's bitmaps) or by a file, drawn with one
// colour replaced by another when `replace` is set (the symbol bitmaps use magenta as the
// background colour that gives way to the background they are drawn on).
struct BitmapRef {
    int resourceId = 0;
    std::string file; // used when resourceId is 0
    bool replace = false;
    COLORREF from = 0xFF00FF;
    COLORREF to = 0;
    friend bool operator==(const BitmapRef&, const BitmapRef&) = default;
};

// Pixels made by the program itself (device-independent, top row first).
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels; // width * height
    // What a drawing surface made of the pixels at their first draw, kept for the next ones.
    // Pixels changed in place after a draw need a reset of this.
    mutable std::shared_ptr<const void> converted;
    COLORREF at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Device units per logical unit: the mapping of both canvases, so a print page and its
// recording agree. In MM_LOMETRIC one unit is 0.1 mm, y grows upwards, and the page's
// top-left corner is (0, 0) (points on the page have negative y).
class CanvasMapping {
public:
    int mapMode() const { return mapMode_; }
    void setMapMode(int mode) { mapMode_ = (mode == MM_LOMETRIC) ? MM_LOMETRIC : MM_TEXT; }
    // Resolution of the device in pixels per inch (96 on screen, the printer's otherwise).
    void setDeviceDpi(int dpiX, int dpiY);
    int dpiX() const { return dpiX_; }
    int dpiY() const { return dpiY_; }
    // Device point that logical (0, 0) falls on.
    void setViewportOrg(POINT org) { viewportOrg_ = org; }
    POINT viewportOrg() const { return viewportOrg_; }

    POINT toDevice(POINT logical) const;
    POINT toLogical(POINT device) const;
    // A rectangle in device pixels, normalised (left <= right, top <= bottom).
    RECT toDevice(const RECT& logical) const;
    // A horizontal or vertical length (always positive) in device pixels.
    int lengthToDeviceX(int logical) const;
    int lengthToDeviceY(int logical) const;
    int lengthToLogicalY(int device) const;

private:
    int mapMode_ = MM_TEXT;
    int dpiX_ = 96;
    int dpiY_ = 96;
    POINT viewportOrg_{};
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // Current state. Each setter returns the previous value, so callers restore it.
    virtual FontDesc selectFont(const FontDesc& font) = 0;
    virtual PenDesc selectPen(const PenDesc& pen) = 0;
    virtual BrushDesc selectBrush(const BrushDesc& brush) = 0;
    virtual COLORREF setTextColor(COLORREF color) = 0;
    virtual COLORREF setBkColor(COLORREF color) = 0;
    virtual int setBkMode(int mode) = 0;
    virtual unsigned setTextAlign(unsigned align) = 0;
    virtual int setMapMode(int mode) = 0;
    virtual void setViewportOrg(POINT org) = 0;
    // The raster mode of lines, outlines and fills (R2_COPYPEN or R2_MERGEPEN). A canvas that
    // cannot merge (a file format) keeps copying.
    virtual int setROP2(int mode) {
        (void)mode;
        return R2_COPYPEN;
    }
    // Keeps the state (font, pen, brush, colours, modes, alignment, position) and brings it back.
    virtual void saveState() = 0;
    virtual void restoreState() = 0;

    // Lines with the current pen; LineTo leaves out its end point and moves the position there.
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    // Outline with the pen, inside with the brush; covers left..right-1, top..bottom-1.
    virtual void rectangle(const RECT& r) = 0;
    virtual void ellipse(const RECT& r) = 0;
    virtual void polygon(const std::vector<POINT>& points) = 0;
    // Fill with a solid colour, and a one-pixel frame of a colour (brush, not pen).
    virtual void fillRect(const RECT& r, COLORREF color) = 0;
    virtual void frameRect(const RECT& r, COLORREF color) = 0;
    virtual void setPixel(int x, int y, COLORREF color) = 0;
    // The dotted focus frame (inverts the pixels it covers).
    virtual void drawFocusRect(const RECT& r) = 0;

    // Text at a reference point by the current alignment, font, colours and background mode.
    virtual void textOut(int x, int y, std::string_view text) = 0;
    // Text in a box by DT_ flags (one line unless DT_WORDBREAK).
    virtual void drawText(std::string_view text, const RECT& r, unsigned flags) = 0;
    virtual SIZE textExtent(std::string_view text) = 0;
    virtual TextMetrics textMetrics() = 0;

    // Bitmaps with their top-left corner at (x, y), or stretched to a rectangle.
    virtual void drawBitmap(int x, int y, const BitmapRef& bitmap) = 0;
    virtual void stretchBitmap(const RECT& r, const BitmapRef& bitmap) = 0;
    virtual void drawImage(int x, int y, const PixelImage& image) = 0;
    virtual void stretchImage(const RECT& r, const PixelImage& image) = 0;
};

} // namespace mv
