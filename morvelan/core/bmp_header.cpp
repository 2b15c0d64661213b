#include "morvelan/core/bmp_header.h"

#include "platform/bmp_reader.h"
#include "platform/win_path.h"

#include <fstream>

bool ParseBmpHeader(const std::uint8_t* bytes, std::size_t size, BmpHeader& header,
                    std::string* error) {
    mv::DibLayout layout;
    if (!mv::ParseBmpHeaders(bytes, size, layout, error))
        return false;
    BmpHeader h;
    h.pixelOffset = static_cast<std::uint32_t>(layout.pixelOffset + mv::kBmpFileHeaderSize);
    h.headerSize = layout.headerSize;
    h.width = layout.width;
    h.height = layout.height;
    h.bitCount = layout.bitCount;
    header = h;
    return true;
}

bool ReadBmpHeader(const std::string& path, BmpHeader& header, std::string* error) {
    std::ifstream in(mv::resolvePath(path), std::ios::binary);
    if (!in) {
        if (error)
            *error = "cannot open the bitmap file";
        return false;
    }
    // The largest header with the bit field masks behind it.
    std::uint8_t bytes[mv::kBmpFileHeaderSize + mv::kBmpMaxHeaderSize + 12] = {};
    in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    return ParseBmpHeader(bytes, static_cast<std::size_t>(in.gcount()), header, error);
}
