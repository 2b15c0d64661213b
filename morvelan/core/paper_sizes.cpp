#include "morvelan/core/paper_sizes.h"

#include <algorithm>

namespace mv {

SIZE PaperSize(int index, int userWidthMm, int userHeightMm) {
    static constexpr std::array<SIZE, kPaperCount - 1> kSizes = {{
        {2160, 2800}, {2160, 3550}, {2970, 4200}, {2100, 2970}, {1480, 2100}, {2500, 3540},
        {1820, 2570},
    }};
    if (index == kPaperUser)
        return SIZE{std::clamp(userWidthMm, kUserPaperMin, kUserPaperMax) * 10,
                    std::clamp(userHeightMm, kUserPaperMin, kUserPaperMax) * 10};
    if (index < 0 || index >= kPaperUser)
        index = kPaperA4;
    return kSizes[static_cast<std::size_t>(index)];
}

} // namespace mv
