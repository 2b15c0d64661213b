// The canvas over a QPainter: screen widgets, offscreen images and printers.
// Coordinates are mapped here (not by a painter transform), so text stays upright in the
// y-up printing units and the exclusive edges hold exactly in device pixels.
#pragma once

#include "platform/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <optional>
#include <vector>

namespace xui {

// Draws an image unscaled with its top-left corner at a point, in bands of rows: the raster
// engine hands a blit of many rows to its thread pool, and for pictures of this size waking the
// pool costs more than the blit. The pixels are those of one drawImage.
void drawImageRows(QPainter& painter, QPoint at, const QImage& image);

class QtCanvas final : public mv::Canvas {
public:
    // The painter must stay active while the canvas lives. The resolution is that of the
    // device (96 on screen and for images; a printer's for print pages).
    explicit QtCanvas(QPainter& painter, int dpiX = 96, int dpiY = 96);
    ~QtCanvas() override;

    mv::FontDesc selectFont(const mv::FontDesc& font) override;
    mv::PenDesc selectPen(const mv::PenDesc& pen) override;
    mv::BrushDesc selectBrush(const mv::BrushDesc& brush) override;
    mv::COLORREF setTextColor(mv::COLORREF color) override;
    mv::COLORREF setBkColor(mv::COLORREF color) override;
    int setBkMode(int mode) override;
    unsigned setTextAlign(unsigned align) override;
    int setMapMode(int mode) override;
    void setViewportOrg(mv::POINT org) override;
    int setROP2(int mode) override;
    void saveState() override;
    void restoreState() override;

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void rectangle(const mv::RECT& r) override;
    void ellipse(const mv::RECT& r) override;
    void polygon(const std::vector<mv::POINT>& points) override;
    void fillRect(const mv::RECT& r, mv::COLORREF color) override;
    void frameRect(const mv::RECT& r, mv::COLORREF color) override;
    void setPixel(int x, int y, mv::COLORREF color) override;
    void drawFocusRect(const mv::RECT& r) override;

    void textOut(int x, int y, std::string_view text) override;
    void drawText(std::string_view text, const mv::RECT& r, unsigned flags) override;
    mv::SIZE textExtent(std::string_view text) override;
    mv::TextMetrics textMetrics() override;

    void drawBitmap(int x, int y, const mv::BitmapRef& bitmap) override;
    void stretchBitmap(const mv::RECT& r, const mv::BitmapRef& bitmap) override;
    void drawImage(int x, int y, const mv::PixelImage& image) override;
    void stretchImage(const mv::RECT& r, const mv::PixelImage& image) override;

    const mv::CanvasMapping& mapping() const { return state_.mapping; }
    // The QFont the current font description gives on this device.
    QFont currentQFont() const;
    // How many drawing operations reached the device (0: nothing was drawn).
    int drawCalls() const { return drawCalls_; }

private:
    struct State {
        mv::FontDesc font;
        mv::PenDesc pen;
        mv::BrushDesc brush;
        mv::COLORREF textColor = 0;
        mv::COLORREF bkColor = 0xFFFFFF;
        int bkMode = mv::OPAQUE;
        int rop2 = mv::R2_COPYPEN;
        unsigned align = mv::TA_LEFT | mv::TA_TOP;
        mv::CanvasMapping mapping;
        mv::POINT position{};
    };

    void fillDevice(const QRect& r, mv::COLORREF color);
    void applyRop();
    QPen qpen() const;

    // The font made for a description and mapping, kept for the texts that follow.
    struct MadeFont {
        mv::FontDesc desc;
        int mapMode = 0;
        int dpiY = 0;
        QFont font;
        QFontMetrics metrics{QFont()};
    };
    const MadeFont& madeFont() const;

    QPainter& p_;
    State state_;
    std::vector<State> saved_;
    mutable std::optional<MadeFont> font_;
    int drawCalls_ = 0;
};

} // namespace xui
