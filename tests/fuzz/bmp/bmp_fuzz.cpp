// Fuzz target of the BMP reader: any bytes are checked as a file and as a packed DIB, and what
// passes the checks decodes to exactly width x rows pixels without reading outside the bytes.
#include "platform/bmp_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

void decodeIfValid(const std::uint8_t* dib, const mv::DibLayout& layout) {
    const mv::PixelImage image = mv::DecodeDib(dib, layout);
    check(image.width == layout.width);
    check(image.height == layout.rows());
    check(image.pixels.size() ==
          static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mv::DibLayout layout;
    if (mv::ParseBmpFile(data, size, layout)) {
        check(size >= mv::kBmpFileHeaderSize);
        check(layout.pixelOffset + layout.imageSize <= size - mv::kBmpFileHeaderSize);
        decodeIfValid(data + mv::kBmpFileHeaderSize, layout);
    }
    mv::DibLayout headers;
    if (mv::ParseBmpHeaders(data, size, headers))
        check(headers.width > 0 && headers.rows() > 0);
    mv::DibLayout packed;
    if (mv::ParseDib(data, size, 0, packed)) {
        check(packed.pixelOffset + packed.imageSize <= size);
        decodeIfValid(data, packed);
    }
    return 0;
}
