#include "morvelan/core/bmp_header.h"

#include "platform/win_path.h"

#include <fstream>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
// Larger header sizes than the newest known one (124) are not a BMP we can read.
constexpr std::uint32_t kMaxHeaderSize = 124;

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool Fail(std::string* error, const char* text) {
    if (error)
        *error = text;
    return false;
}

} // namespace

bool ParseBmpHeader(const std::uint8_t* bytes, std::size_t size, BmpHeader& header,
                    std::string* error) {
    if (!bytes || size < kFileHeaderSize + 4)
        return Fail(error, "file too short for a bitmap header");
    if (bytes[0] != 'B' || bytes[1] != 'M')
        return Fail(error, "not a bitmap file (no BM)");
    BmpHeader h;
    h.pixelOffset = U32(bytes + 10);
    h.headerSize = U32(bytes + kFileHeaderSize);
    const std::uint8_t* info = bytes + kFileHeaderSize;
    if (h.headerSize == kCoreHeaderSize) {
        if (size < kFileHeaderSize + kCoreHeaderSize)
            return Fail(error, "bitmap header cut short");
        h.width = U16(info + 4);
        h.height = static_cast<std::int16_t>(U16(info + 6));
        h.bitCount = U16(info + 10);
    } else if (h.headerSize >= kInfoHeaderSize && h.headerSize <= kMaxHeaderSize) {
        if (size < kFileHeaderSize + kInfoHeaderSize)
            return Fail(error, "bitmap header cut short");
        h.width = static_cast<std::int32_t>(U32(info + 4));
        h.height = static_cast<std::int32_t>(U32(info + 8));
        h.bitCount = U16(info + 14);
    } else {
        return Fail(error, "unknown bitmap header size");
    }
    if (h.width <= 0 || h.height == 0)
        return Fail(error, "bitmap without pixels");
    switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        break;
    default:
        return Fail(error, "unsupported bits per pixel");
    }
    header = h;
    return true;
}

bool ReadBmpHeader(const std::string& path, BmpHeader& header, std::string* error) {
    std::ifstream in(mv::resolvePath(path), std::ios::binary);
    if (!in)
        return Fail(error, "cannot open the bitmap file");
    std::uint8_t bytes[kFileHeaderSize + kInfoHeaderSize] = {};
    in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    return ParseBmpHeader(bytes, static_cast<std::size_t>(in.gcount()), header, error);
}
