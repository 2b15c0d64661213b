// The record a log line may carry: which record of which data file the line names. Owned by
// its line; double-clicking the line opens the record's editor by its type.
#pragma once

#include <cstdint>
#include <string>

namespace x740panel {

// Record types.
inline constexpr std::int32_t kLogItemSsiSection = 0;
inline constexpr std::int32_t kLogItemNswSetup = 1;
inline constexpr std::int32_t kLogItemBlockConfig = 2;
inline constexpr std::int32_t kLogItemBitConfig = 3;
inline constexpr std::int32_t kLogItemCam = 4;

struct LogItemRecord {
    std::int32_t type = 0;
    std::string file; // full path of the data file
    std::string name; // type 0: the section ("SSI_%d"); types 2-4: the key in [NSW128]
};

} // namespace x740panel
