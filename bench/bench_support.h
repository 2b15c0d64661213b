// What the benchmark programs share beside their subject: timing, number arguments and the
// scratch folder they work in. Standard library only, so every benchmark can use it.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace bench {

// Milliseconds from `start` until now.
inline double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// A positive whole number below an hour's milliseconds; `fallback` for anything else.
inline int NumberArgument(const char* text, int fallback) {
    if (!text)
        return fallback;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    return (*end == '\0' && v > 0 && v < 3600000) ? static_cast<int>(v) : fallback;
}

// A new folder below /tmp named after `name`; empty (and said on stderr) when none was made.
inline std::string MakeScratchFolder(const char* name) {
    std::string pattern = std::string("/tmp/") + name + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return {};
    }
    return pattern;
}

} // namespace bench
