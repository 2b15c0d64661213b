// X740_Core: force lists and the digital filter (DFMW) requests.
#include <algorithm>

#include "services/core/core_app.h"
#include "services/include/X740_Core.h"

using namespace x740;

namespace {

std::uint16_t ReadForce(LinkHandle link, std::uint8_t code, uint8_t* first, uint8_t* second,
                        uint32_t* count) {
    if (count == nullptr) {
        return 0;
    }
    CX740App& app = CoreApp();
    app.Begin(kDirRead, code, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    if (first == nullptr || second == nullptr) {
        return 1;
    }
    const auto there = static_cast<std::uint32_t>(app.ReplyBytesFrom(2) / 2);
    const std::uint32_t n = std::min(*count, there);
    for (std::uint32_t i = 0; i < n; ++i) {
        first[i] = static_cast<uint8_t>(app.GetU8(2 + 2 * static_cast<int>(i)));
        second[i] = static_cast<uint8_t>(app.GetU8(3 + 2 * static_cast<int>(i)));
    }
    *count = n;
    return 1;
}

std::uint16_t WriteForce(LinkHandle link, std::uint8_t code, const uint8_t* first,
                         const uint8_t* second, int count) {
    if (count < 0 || (count > 0 && (first == nullptr || second == nullptr))) {
        return 0;
    }
    count = std::min(count, kMaxForcePairs);
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, code, 2 * count + 2);
    for (int i = 0; i < count; ++i) {
        app.PutU8(2 + 2 * i, first[i]);
        app.PutU8(3 + 2 * i, second[i]);
    }
    return app.Transact(link) ? 1 : 0;
}

} // namespace

extern "C" {

uint16_t A_X740_ReadForceInput(LinkHandle link, uint8_t* first, uint8_t* second, uint32_t* count) {
    return ReadForce(link, core_code::kReadForceInput, first, second, count);
}

uint16_t A_X740_ReadForceOutput(LinkHandle link, uint8_t* first, uint8_t* second, uint32_t* count) {
    return ReadForce(link, core_code::kReadForceOutput, first, second, count);
}

uint16_t A_X740_WriteForceInput(LinkHandle link, const uint8_t* first, const uint8_t* second,
                                int count) {
    return WriteForce(link, core_code::kWriteForceInput, first, second, count);
}

uint16_t A_X740_WriteForceOutput(LinkHandle link, const uint8_t* first, const uint8_t* second,
                                 int count) {
    return WriteForce(link, core_code::kWriteForceOutput, first, second, count);
}

uint16_t A_X740_ReadDFMWItem(LinkHandle link, int index, int* value1, int* value2, int* word) {
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kDfmwItem, 4);
    app.PutU16(2, static_cast<std::uint32_t>(index));
    if (!app.Transact(link)) {
        return 0;
    }
    if (value1 != nullptr)
        *value1 = static_cast<int>(app.GetU8(6));
    if (value2 != nullptr)
        *value2 = static_cast<int>(app.GetU8(7));
    if (word != nullptr)
        *word = static_cast<int>(app.GetU16(4));
    return 1;
}

uint16_t A_X740_ReadDFMWData(LinkHandle link, int16_t* values, uint32_t* count) {
    if (count == nullptr) {
        return 0;
    }
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kDfmwData, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    const auto there = static_cast<std::uint32_t>(app.ReplyBytesFrom(2) / 2);
    const std::uint32_t n = std::min(*count, there);
    if (values != nullptr) {
        for (std::uint32_t i = 0; i < n; ++i) {
            values[i] = static_cast<int16_t>(app.GetU16(2 + 2 * static_cast<int>(i)));
        }
    }
    *count = n;
    return 1;
}

uint16_t A_X740_ReadDFMWInput(LinkHandle link, uint8_t* dest, uint32_t* len) {
    if (len == nullptr) {
        return 0;
    }
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kDfmwInput, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    const std::uint32_t n = std::min(*len, static_cast<std::uint32_t>(app.ReplyBytesFrom(2)));
    app.GetBytes(2, dest, static_cast<int>(n));
    *len = n;
    return 1;
}

uint16_t A_X740_WriteDFMWItem(LinkHandle link, int index, int value1, int value2, int word) {
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kWriteDfmwItem, 8);
    app.PutU16(2, static_cast<std::uint32_t>(index));
    app.PutU16(4, static_cast<std::uint32_t>(word));
    app.PutU8(6, static_cast<std::uint32_t>(value1));
    app.PutU8(7, static_cast<std::uint32_t>(value2));
    return app.Transact(link) ? 1 : 0;
}

} // extern "C"
