// The one reader of BMP bytes: file headers, packed DIBs and their pixels. Every field is
// checked against the bytes present before it is used, so a hostile file gives a failure with
// a reason, never a read outside its bytes or an allocation beyond its size.
#pragma once

#include "platform/canvas.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace mv {

constexpr std::size_t kBmpFileHeaderSize = 14;
constexpr std::uint32_t kBmpCoreHeaderSize = 12;
constexpr std::uint32_t kBmpInfoHeaderSize = 40;
// The newest header (BITMAPV5HEADER); larger sizes are not a bitmap we know.
constexpr std::uint32_t kBmpMaxHeaderSize = 124;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
// The "BM" of the file header as the little-endian word it is read as.
constexpr std::uint16_t kBmpSignature = 0x4D42;

// What the headers of a packed DIB say, checked against its bytes. Offsets count from the
// start of the DIB (its bitmap header).
struct DibLayout {
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // as stored: negative = rows top-down
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorCount = 0;  // entries of the colour table
    std::uint32_t colorEntrySize = 4; // RGBQUAD; 3 (RGBTRIPLE) for the core header
    std::uint32_t masks[3] = {0, 0, 0}; // red, green, blue for BI_BITFIELDS
    std::uint32_t stride = 0;      // bytes per row, padded to 32 bits
    std::uint64_t imageSize = 0;   // stride x rows
    std::size_t colorOffset = 0;   // the colour table
    std::size_t pixelOffset = 0;   // the first pixel row

    int rows() const { return height < 0 ? -height : height; }
    bool topDown() const { return height < 0; }
};

// Checks a packed DIB (bitmap header, colour table, pixels) of `size` bytes. `pixelOffset`
// places the pixels (0: right after the colour table). False with a reason when a field does
// not fit the bytes or is not one this reader knows.
bool ParseDib(const std::uint8_t* dib, std::size_t size, std::size_t pixelOffset,
              DibLayout& layout, std::string* error = nullptr);

// Checks a whole BMP file: the 14-byte file header ("BM", bfOffBits, which places the pixels)
// and the DIB after it. Offsets in `layout` still count from the DIB's start.
bool ParseBmpFile(const std::uint8_t* bytes, std::size_t size, DibLayout& layout,
                  std::string* error = nullptr);
// The same for the first bytes of a file only: the headers are checked, the colour table and
// the pixels are not looked for.
bool ParseBmpHeaders(const std::uint8_t* bytes, std::size_t size, DibLayout& layout,
                     std::string* error = nullptr);

// The pixels of a checked DIB as colours, top row first.
PixelImage DecodeDib(const std::uint8_t* dib, const DibLayout& layout);

// Reads a BMP file whole and decodes it; false with a reason when it cannot be read or checked.
// At most `maxBytes` are read.
bool ReadBmpFile(const std::string& path, PixelImage& image, std::string* error = nullptr,
                 std::size_t maxBytes = std::size_t{64} << 20);

} // namespace mv
