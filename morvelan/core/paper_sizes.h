// The papers of the print selection: eight entries by index, the last one the user's own size
// in millimetres. Sizes are in 0.1 mm, width by height (portrait).
#pragma once

#include "platform/gdi_types.h"

#include <array>

namespace mv {

constexpr int kPaperCount = 8;
constexpr int kPaperA4 = 3;
constexpr int kPaperUser = 7;
// The user's size in millimetres: at least 1, at most 10000.
constexpr int kUserPaperMin = 1;
constexpr int kUserPaperMax = 10000;

// The combo texts, in index order (A3's text ends with a blank).
inline constexpr std::array<const char*, kPaperCount> kPaperTexts = {
    "Letter 8 1/2 x 11 in", "Legal 8 1/2 x 14 in", "A3 297 x 420 mm ", "A4 210 x 297 mm",
    "A5 148 x 210 mm",      "B4 (JIS) 250 x 354",  "B5 (JIS) 182 x 257 mm", "User",
};

// The page size of a paper index in 0.1 mm; "User" takes the user's millimetres (kept within
// 1 .. 10000) times 10. An index out of the table gives A4.
SIZE PaperSize(int index, int userWidthMm, int userHeightMm);

} // namespace mv
