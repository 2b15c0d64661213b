// A canvas that records what is drawn as an enhanced metafile (EMF): bitmaps as
// EMR_STRETCHDIBITS with the file's own DIB, texts as EMR_EXTTEXTOUTW in fonts made by
// EMR_EXTCREATEFONTINDIRECTW. The header gives the bounds and the 0.01-mm frame of what was
// drawn on a fixed 96-dpi reference device. Only bitmaps, images and texts are recorded: lines,
// shapes and fills draw nothing here. Every text is anti-aliased.
#pragma once

#include "platform/canvas.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mv {

// Record types.
constexpr std::uint32_t EMR_HEADER = 1;
constexpr std::uint32_t EMR_EOF = 14;
constexpr std::uint32_t EMR_SETBKMODE = 18;
constexpr std::uint32_t EMR_SETTEXTALIGN = 22;
constexpr std::uint32_t EMR_SETTEXTCOLOR = 24;
constexpr std::uint32_t EMR_SELECTOBJECT = 37;
constexpr std::uint32_t EMR_DELETEOBJECT = 40;
constexpr std::uint32_t EMR_STRETCHDIBITS = 81;
constexpr std::uint32_t EMR_EXTCREATEFONTINDIRECTW = 82;
constexpr std::uint32_t EMR_EXTTEXTOUTW = 84;
constexpr std::uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t kEmfHeaderSize = 108;
constexpr std::uint32_t kSrcCopy = 0x00CC0020;
constexpr std::uint8_t kAntialiasedQuality = 4;
// The reference device: 1920 x 1080 pixels at 96 dpi.
constexpr int kEmfDeviceWidth = 1920;
constexpr int kEmfDeviceHeight = 1080;
constexpr int kEmfDpi = 96;

class EmfCanvas final : public Canvas {
public:
    EmfCanvas();

    FontDesc selectFont(const FontDesc& font) override;
    PenDesc selectPen(const PenDesc& pen) override;
    BrushDesc selectBrush(const BrushDesc& brush) override;
    COLORREF setTextColor(COLORREF color) override;
    COLORREF setBkColor(COLORREF color) override;
    int setBkMode(int mode) override;
    unsigned setTextAlign(unsigned align) override;
    int setMapMode(int mode) override;
    void setViewportOrg(POINT org) override;
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
    // Estimated: each character half the em height wide.
    SIZE textExtent(std::string_view text) override;
    TextMetrics textMetrics() override;

    // A bitmap file's DIB at (x, y) in its own size; resources and unreadable files draw
    // nothing (the reason is kept in lastError()).
    void drawBitmap(int x, int y, const BitmapRef& bitmap) override;
    void stretchBitmap(const RECT& r, const BitmapRef& bitmap) override;
    void drawImage(int x, int y, const PixelImage& image) override;
    void stretchImage(const RECT& r, const PixelImage& image) override;

    // The whole file: header, the records drawn, EOF.
    std::vector<std::uint8_t> Finish() const;
    const std::string& lastError() const { return lastError_; }

private:
    void Record(std::uint32_t type, const std::vector<std::uint32_t>& words);
    void Append(std::vector<std::uint8_t> record);
    void Extend(const RECT& r);
    void StretchDib(const RECT& dest, const std::uint8_t* bmi, std::size_t bmiSize,
                    const std::uint8_t* bits, std::size_t bitsSize, int width, int height);
    void FlushState();

    std::vector<std::uint8_t> records_;
    std::uint32_t recordCount_ = 0;
    RECT bounds_{0, 0, -1, -1};
    bool drawn_ = false;
    FontDesc font_;
    bool fontDirty_ = true;
    std::uint32_t fontHandle_ = 0;
    COLORREF textColor_ = 0;
    int bkMode_ = OPAQUE;
    unsigned textAlign_ = TA_LEFT | TA_TOP;
    COLORREF written_[3] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}; // colour, mode, align as recorded
    std::vector<FontDesc> savedFonts_;
    std::string lastError_;
};

// Writes bytes as a file through a temporary beside it, renamed at the end: on failure no
// partial file stays and an existing file is untouched. False with the cause.
bool WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& bytes,
                        std::string* error = nullptr);

} // namespace mv
