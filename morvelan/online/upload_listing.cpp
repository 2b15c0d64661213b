#include "morvelan/online/upload_listing.h"

namespace morvelan {

namespace {

constexpr int kPayloadHead = 2;
constexpr int kFirstId = 4;
constexpr int kListStep = 2;
constexpr int kEntryStep = 6;

int Word(const std::uint8_t* bytes, int at) {
    return bytes[at] | (bytes[at + 1] << 8);
}

} // namespace

std::vector<std::uint16_t> SavedConfigurationIds(const std::uint8_t* bytes, int payloadLength) {
    std::vector<std::uint16_t> ids;
    const int received = payloadLength - kPayloadHead;
    if (!bytes || received < kFirstId)
        return ids;
    const int count = static_cast<std::int16_t>(Word(bytes, 2));
    if (count <= 0)
        return ids;
    const int step = payloadLength == 6 + 2 * count ? kListStep : kEntryStep;
    for (int k = 0; k < count; ++k) {
        const int at = kFirstId + k * step;
        if (at + 2 > received)
            break;
        ids.push_back(static_cast<std::uint16_t>(Word(bytes, at)));
    }
    return ids;
}

std::vector<std::string> FillerNames(std::uint16_t id, int mode) {
    switch (id) {
    case 14:
        return {"@Zero", "@D615", "@Zero"};
    case 15:
        return {"@Zero", "@D619", "@Zero"};
    case 643:
        if (mode == kUploadLive)
            return {"@Zero"};
        return {};
    default:
        return {};
    }
}

} // namespace morvelan
