#include "platform/recording_canvas.h"

#include <utility>

namespace mv {

DrawCall& RecordingCanvas::record(DrawOp op) {
    DrawCall call;
    call.op = op;
    call.state = state_;
    calls_.push_back(std::move(call));
    return calls_.back();
}

FontDesc RecordingCanvas::selectFont(const FontDesc& font) {
    return std::exchange(state_.font, font);
}

PenDesc RecordingCanvas::selectPen(const PenDesc& pen) { return std::exchange(state_.pen, pen); }

BrushDesc RecordingCanvas::selectBrush(const BrushDesc& brush) {
    return std::exchange(state_.brush, brush);
}

COLORREF RecordingCanvas::setTextColor(COLORREF color) {
    return std::exchange(state_.textColor, color);
}

COLORREF RecordingCanvas::setBkColor(COLORREF color) {
    return std::exchange(state_.bkColor, color);
}

int RecordingCanvas::setBkMode(int mode) { return std::exchange(state_.bkMode, mode); }

unsigned RecordingCanvas::setTextAlign(unsigned align) {
    return std::exchange(state_.textAlign, align);
}

int RecordingCanvas::setMapMode(int mode) {
    return std::exchange(state_.mapMode, mode == MM_LOMETRIC ? MM_LOMETRIC : MM_TEXT);
}

void RecordingCanvas::setViewportOrg(POINT org) { state_.viewportOrg = org; }

int RecordingCanvas::setROP2(int mode) { return std::exchange(state_.rop2, mode); }

void RecordingCanvas::saveState() { saved_.push_back(state_); }

void RecordingCanvas::restoreState() {
    if (!saved_.empty()) {
        state_ = saved_.back();
        saved_.pop_back();
    }
}

void RecordingCanvas::moveTo(int x, int y) { state_.position = POINT{x, y}; }

void RecordingCanvas::lineTo(int x, int y) {
    DrawCall& c = record(DrawOp::Line);
    c.from = state_.position;
    c.to = POINT{x, y};
    state_.position = c.to;
}

void RecordingCanvas::rectangle(const RECT& r) { record(DrawOp::Rectangle).rect = r; }

void RecordingCanvas::ellipse(const RECT& r) { record(DrawOp::Ellipse).rect = r; }

void RecordingCanvas::polygon(const std::vector<POINT>& points) {
    record(DrawOp::Polygon).points = points;
}

void RecordingCanvas::fillRect(const RECT& r, COLORREF color) {
    DrawCall& c = record(DrawOp::FillRect);
    c.rect = r;
    c.color = color;
}

void RecordingCanvas::frameRect(const RECT& r, COLORREF color) {
    DrawCall& c = record(DrawOp::FrameRect);
    c.rect = r;
    c.color = color;
}

void RecordingCanvas::setPixel(int x, int y, COLORREF color) {
    DrawCall& c = record(DrawOp::SetPixel);
    c.from = POINT{x, y};
    c.color = color;
}

void RecordingCanvas::drawFocusRect(const RECT& r) { record(DrawOp::FocusRect).rect = r; }

void RecordingCanvas::textOut(int x, int y, std::string_view text) {
    DrawCall& c = record(DrawOp::TextOut);
    c.from = POINT{x, y};
    c.text = std::string(text);
}

void RecordingCanvas::drawText(std::string_view text, const RECT& r, unsigned flags) {
    DrawCall& c = record(DrawOp::DrawText);
    c.rect = r;
    c.text = std::string(text);
    c.flags = flags;
}

TextMetrics RecordingCanvas::textMetrics() {
    int em = 0;
    if (state_.font.height < 0) {
        em = -state_.font.height;
    } else if (state_.font.height > 0) {
        em = state_.font.height * 4 / 5;
    } else {
        em = state_.mapMode == MM_LOMETRIC ? 28 : 11;
    }
    if (em < 1) {
        em = 1;
    }
    TextMetrics m;
    m.height = em;
    m.ascent = em * 4 / 5;
    m.descent = em - m.ascent;
    m.averageCharWidth = em / 2 > 0 ? em / 2 : 1;
    return m;
}

SIZE RecordingCanvas::textExtent(std::string_view text) {
    const TextMetrics m = textMetrics();
    return SIZE{static_cast<int>(text.size()) * m.averageCharWidth, m.height};
}

void RecordingCanvas::drawBitmap(int x, int y, const BitmapRef& bitmap) {
    DrawCall& c = record(DrawOp::Bitmap);
    c.from = POINT{x, y};
    c.bitmap = bitmap;
}

void RecordingCanvas::stretchBitmap(const RECT& r, const BitmapRef& bitmap) {
    DrawCall& c = record(DrawOp::StretchBitmap);
    c.rect = r;
    c.bitmap = bitmap;
}

void RecordingCanvas::drawImage(int x, int y, const PixelImage& image) {
    DrawCall& c = record(DrawOp::Image);
    c.from = POINT{x, y};
    c.imageSize = SIZE{image.width, image.height};
}

void RecordingCanvas::stretchImage(const RECT& r, const PixelImage& image) {
    DrawCall& c = record(DrawOp::StretchImage);
    c.rect = r;
    c.imageSize = SIZE{image.width, image.height};
}

std::vector<DrawCall> RecordingCanvas::callsOf(DrawOp op) const {
    std::vector<DrawCall> out;
    for (const DrawCall& c : calls_) {
        if (c.op == op) {
            out.push_back(c);
        }
    }
    return out;
}

std::vector<std::string> RecordingCanvas::texts() const {
    std::vector<std::string> out;
    for (const DrawCall& c : calls_) {
        if (c.op == DrawOp::TextOut || c.op == DrawOp::DrawText) {
            out.push_back(c.text);
        }
    }
    return out;
}

} // namespace mv
