// Reading the dimensions of a BMP file from its headers, without decoding the pixels.
#pragma once

#include <cstdint>
#include <string>

struct BmpHeader {
    std::uint32_t pixelOffset = 0;  // bfOffBits
    std::uint32_t headerSize = 0;   // 12 (core header) or 40 and above
    std::int32_t width = 0;
    std::int32_t height = 0;        // negative: rows top-down
    std::uint16_t bitCount = 0;
};

// Parses the file header and the bitmap header from the first bytes of a file (through the
// platform's BMP reader). False (with a
// reason in `error` when given) for anything that is not a BMP: too short, no "BM", an unknown
// header size, a width not above 0, a height of 0 or a bit count outside 1, 4, 8, 16, 24, 32.
bool ParseBmpHeader(const std::uint8_t* bytes, std::size_t size, BmpHeader& header,
                    std::string* error = nullptr);
// The same for a file on disk (path resolved without regard to case).
bool ReadBmpHeader(const std::string& path, BmpHeader& header, std::string* error = nullptr);
