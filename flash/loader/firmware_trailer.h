// The 128-byte trailer at the end of a firmware binary: a mark and a version text.
#pragma once

#include <string>

namespace flash {

inline constexpr int kTrailerSize = 128;
inline constexpr int kTrailerVersionOffset = 60;

struct FirmwareTrailer {
    // The trailer begins with "KVN".
    bool marked = false;
    // The version text read as a decimal number (0 when it holds none).
    double version = 0;
};

// Reads the trailer of the file. False when the file cannot be opened; a file shorter than
// the trailer has none (not marked, version 0).
bool ReadFirmwareTrailer(const std::string& path, FirmwareTrailer& trailer);

// The leading decimal number of a text as C's atof reads it, in the C locale; 0 when none.
double ParseVersionNumber(const std::string& text);

} // namespace flash
