// The loader's log file: X740Flash_Log.txt in the current directory, opened for appending for
// every single write and closed after it, so a crash never loses earlier lines.
#pragma once

#include <string>
#include <string_view>

namespace flash {

inline constexpr const char* kLogFileName = "X740Flash_Log.txt";

class CLoadLog {
public:
    // Appends the text unchanged. 1, or 0 when the write failed; a log that cannot be opened
    // is skipped (result 1).
    int Write(std::string_view text);
    // Appends the text and "\n".
    int WriteLine(std::string_view text);
};

} // namespace flash
