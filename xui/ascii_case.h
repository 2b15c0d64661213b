// Names of window classes and font faces compare without regard to the case of ASCII letters;
// other bytes compare as they are.
#pragma once

#include <string>
#include <string_view>

namespace xui {

inline char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string asciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        c = asciiUpper(c);
    }
    return out;
}

inline bool sameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace xui
