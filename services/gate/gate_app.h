// The library object of X740_Gate: the shared request object plus the two gateway lists that
// are kept between calls.
#pragma once

#include <array>
#include <cstdint>

#include "services/common/x740_app.h"

namespace x740 {

inline constexpr int kGateListSize = 16;

struct AccessControlEntry {
    std::uint32_t value1 = 0;
    std::uint32_t value2 = 0;
    std::uint8_t flag = 0;
};

struct PriorityEntry {
    std::uint32_t value1 = 0;
    std::uint32_t value2 = 0;
};

template <typename Entry> struct GateList {
    int count = 0;
    std::array<Entry, kGateListSize> entries{};

    void Clear() {
        count = 0;
        entries.fill(Entry{});
    }
    bool Has(int index) const { return index >= 0 && index < count; }
    // Sets entry index (0..15) and grows the count to cover it.
    bool Set(int index, const Entry& entry) {
        if (index < 0 || index >= kGateListSize) {
            return false;
        }
        entries[static_cast<std::size_t>(index)] = entry;
        count = count > index + 1 ? count : index + 1;
        return true;
    }
};

class CX740GateApp : public CX740App {
public:
    GateList<AccessControlEntry> accessControl;
    GateList<PriorityEntry> priority;
};

CX740GateApp& GateApp();

} // namespace x740
