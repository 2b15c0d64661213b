#include "morvelan/core/bmp_header.h"

#include "platform/bmp_reader.h"
#include "platform/regular_file.h"
#include "platform/win_path.h"

#include <vector>

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
    // The largest header with the bit field masks behind it.
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!mv::readRegularFileStart(mv::resolvePath(path),
                                  mv::kBmpFileHeaderSize + mv::kBmpMaxHeaderSize + 12, bytes,
                                  &why)) {
        if (error)
            *error = "cannot read the bitmap file: " + why;
        return false;
    }
    return ParseBmpHeader(bytes.data(), bytes.size(), header, error);
}
