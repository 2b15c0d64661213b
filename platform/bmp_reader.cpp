#include "platform/bmp_reader.h"

#include "platform/regular_file.h"
#include "platform/win_path.h"

#include <vector>

namespace mv {

namespace {

// Reads little-endian values through one cursor over the bytes; an overrun sets `bad`.
class ByteCursor {
public:
    ByteCursor(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
    std::uint16_t u16(std::size_t at) {
        if (!fits(at, 2))
            return 0;
        return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }
    std::uint32_t u32(std::size_t at) {
        if (!fits(at, 4))
            return 0;
        return static_cast<std::uint32_t>(bytes_[at]) |
               (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) |
               (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
    }
    bool bad() const { return bad_; }

private:
    bool fits(std::size_t at, std::size_t n) {
        if (!bytes_ || at > size_ || size_ - at < n) {
            bad_ = true;
            return false;
        }
        return true;
    }
    const std::uint8_t* bytes_;
    std::size_t size_;
    bool bad_ = false;
};

bool Fail(std::string* error, const char* text) {
    if (error)
        *error = text;
    return false;
}

// Largest width or height we take (the classic 16-bit coordinate space, and far beyond any
// picture of the program).
constexpr std::int64_t kMaxDimension = 32767;

} // namespace

namespace {

bool ParseDibChecked(const std::uint8_t* dib, std::size_t size, std::size_t pixelOffset,
                     DibLayout& layout, std::string* error, bool withData) {
    ByteCursor in(dib, size);
    DibLayout l;
    l.headerSize = in.u32(0);
    if (in.bad())
        return Fail(error, "bitmap header cut short");
    if (l.headerSize == kBmpCoreHeaderSize) {
        l.width = in.u16(4);
        l.height = in.u16(6);
        l.bitCount = in.u16(10);
        l.colorEntrySize = 3;
    } else if (l.headerSize >= kBmpInfoHeaderSize && l.headerSize <= kBmpMaxHeaderSize) {
        l.width = static_cast<std::int32_t>(in.u32(4));
        l.height = static_cast<std::int32_t>(in.u32(8));
        l.bitCount = in.u16(14);
        l.compression = in.u32(16);
        l.colorCount = in.u32(32);
    } else {
        return Fail(error, "unknown bitmap header size");
    }
    if (in.bad() || l.headerSize > size)
        return Fail(error, "bitmap header cut short");
    if (l.width <= 0 || l.width > kMaxDimension)
        return Fail(error, "bitmap width out of range");
    if (l.height == 0 || l.height < -kMaxDimension || l.height > kMaxDimension)
        return Fail(error, "bitmap height out of range");
    switch (l.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        break;
    default:
        return Fail(error, "unsupported bits per pixel");
    }
    std::size_t afterHeader = l.headerSize;
    if (l.compression == kBiBitfields) {
        if (l.bitCount != 16 && l.bitCount != 32)
            return Fail(error, "bit fields need 16 or 32 bits per pixel");
        // The masks stand in the header from version 2 on, else right after it.
        const std::size_t at = l.headerSize >= 52 ? 40 : l.headerSize;
        for (int i = 0; i < 3; ++i)
            l.masks[i] = in.u32(at + 4 * static_cast<std::size_t>(i));
        if (in.bad())
            return Fail(error, "bit field masks cut short");
        if (l.masks[0] == 0 || l.masks[1] == 0 || l.masks[2] == 0)
            return Fail(error, "empty bit field mask");
        if (l.headerSize < 52)
            afterHeader += 12;
    } else if (l.compression != kBiRgb) {
        return Fail(error, "compressed bitmaps are not supported");
    }
    const std::uint32_t maxColors = l.bitCount <= 8 ? (1u << l.bitCount) : 0u;
    if (l.colorCount == 0) {
        l.colorCount = maxColors;
    } else if (l.bitCount <= 8 ? l.colorCount > maxColors : l.colorCount > 256) {
        return Fail(error, "colour count out of range");
    }
    l.colorOffset = afterHeader;
    const std::uint64_t tableEnd =
        static_cast<std::uint64_t>(afterHeader) +
        static_cast<std::uint64_t>(l.colorCount) * l.colorEntrySize;
    if (withData && tableEnd > size)
        return Fail(error, "colour table cut short");
    l.stride = static_cast<std::uint32_t>(
        ((static_cast<std::uint64_t>(l.width) * l.bitCount + 31) / 32) * 4);
    l.imageSize = static_cast<std::uint64_t>(l.stride) * static_cast<std::uint64_t>(l.rows());
    l.pixelOffset = pixelOffset == 0 ? static_cast<std::size_t>(tableEnd) : pixelOffset;
    if (withData && l.pixelOffset < tableEnd)
        return Fail(error, "pixels overlap the headers");
    if (withData && (l.pixelOffset > size || size - l.pixelOffset < l.imageSize))
        return Fail(error, "pixels cut short");
    layout = l;
    return true;
}

bool ParseFile(const std::uint8_t* bytes, std::size_t size, DibLayout& layout,
               std::string* error, bool withData) {
    ByteCursor in(bytes, size);
    const std::uint16_t magic = in.u16(0);
    const std::uint32_t offBits = in.u32(10);
    if (in.bad())
        return Fail(error, "file too short for a bitmap header");
    if (magic != kBmpSignature)
        return Fail(error, "not a bitmap file (no BM)");
    if (offBits < kBmpFileHeaderSize)
        return Fail(error, "pixel offset inside the file header");
    return ParseDibChecked(bytes + kBmpFileHeaderSize, size - kBmpFileHeaderSize,
                           offBits - kBmpFileHeaderSize, layout, error, withData);
}

} // namespace

bool ParseDib(const std::uint8_t* dib, std::size_t size, std::size_t pixelOffset,
              DibLayout& layout, std::string* error) {
    return ParseDibChecked(dib, size, pixelOffset, layout, error, true);
}

bool ParseBmpFile(const std::uint8_t* bytes, std::size_t size, DibLayout& layout,
                  std::string* error) {
    return ParseFile(bytes, size, layout, error, true);
}

bool ParseBmpHeaders(const std::uint8_t* bytes, std::size_t size, DibLayout& layout,
                     std::string* error) {
    return ParseFile(bytes, size, layout, error, false);
}

namespace {

int MaskShift(std::uint32_t mask) {
    int shift = 0;
    while (shift < 32 && !(mask & (1u << shift)))
        ++shift;
    return shift;
}

// A channel of a bit-field pixel in 8 bits: narrower fields are scaled by 256 / their range
// (5 bits: x 8), wider ones keep their top 8 bits.
int Channel(std::uint32_t value, std::uint32_t mask) {
    const int shift = MaskShift(mask);
    const std::uint64_t max = static_cast<std::uint64_t>(mask) >> shift;
    const std::uint64_t v = (static_cast<std::uint64_t>(value) & mask) >> shift;
    if (max == 0)
        return 0;
    if (max < 256)
        return static_cast<int>(v * (256 / (max + 1)));
    int width = 0;
    while ((max >> width) != 0)
        ++width;
    return static_cast<int>((v >> (width - 8)) & 0xFF);
}

} // namespace

PixelImage DecodeDib(const std::uint8_t* dib, const DibLayout& l) {
    PixelImage image;
    image.width = l.width;
    image.height = l.rows();
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    std::vector<COLORREF> palette(l.colorCount);
    for (std::uint32_t i = 0; i < l.colorCount; ++i) {
        const std::uint8_t* e = dib + l.colorOffset + static_cast<std::size_t>(i) * l.colorEntrySize;
        palette[i] = RGB(e[2], e[1], e[0]);
    }
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (l.compression == kBiBitfields) {
        masks[0] = l.masks[0];
        masks[1] = l.masks[1];
        masks[2] = l.masks[2];
    } else if (l.bitCount == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
    for (int y = 0; y < image.height; ++y) {
        const int stored = l.topDown() ? y : image.height - 1 - y;
        const std::uint8_t* row = dib + l.pixelOffset + static_cast<std::size_t>(stored) * l.stride;
        COLORREF* out = &image.pixels[static_cast<std::size_t>(y) * image.width];
        for (int x = 0; x < image.width; ++x) {
            COLORREF c = 0;
            switch (l.bitCount) {
            case 1:
            case 4:
            case 8: {
                const int bitPos = x * l.bitCount;
                const int byte = row[bitPos / 8];
                const int shift = 8 - l.bitCount - (bitPos % 8);
                const std::uint32_t index = (static_cast<std::uint32_t>(byte) >> shift) &
                                            ((1u << l.bitCount) - 1);
                c = index < palette.size() ? palette[index] : 0;
                break;
            }
            case 16: {
                const std::uint32_t v = static_cast<std::uint32_t>(row[2 * x] | (row[2 * x + 1] << 8));
                c = RGB(Channel(v, masks[0]), Channel(v, masks[1]), Channel(v, masks[2]));
                break;
            }
            case 24:
                c = RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            default: {
                const std::uint8_t* p = row + 4 * static_cast<std::size_t>(x);
                const std::uint32_t v = static_cast<std::uint32_t>(p[0]) |
                                        (static_cast<std::uint32_t>(p[1]) << 8) |
                                        (static_cast<std::uint32_t>(p[2]) << 16) |
                                        (static_cast<std::uint32_t>(p[3]) << 24);
                c = RGB(Channel(v, masks[0]), Channel(v, masks[1]), Channel(v, masks[2]));
                break;
            }
            }
            out[x] = c;
        }
    }
    return image;
}

bool ReadBmpFile(const std::string& path, PixelImage& image, std::string* error,
                 std::size_t maxBytes) {
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!readRegularFile(resolvePath(path), maxBytes, bytes, &why)) {
        if (error)
            *error = "cannot read the bitmap file: " + why;
        return false;
    }
    DibLayout layout;
    if (!ParseBmpFile(bytes.data(), bytes.size(), layout, error))
        return false;
    image = DecodeDib(bytes.data() + kBmpFileHeaderSize, layout);
    return true;
}

} // namespace mv
