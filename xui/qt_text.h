// Windows-1252 bytes to QString and back, at the widget edge.
#pragma once

#include "platform/cp1252.h"

#include <QString>

#include <string>
#include <string_view>

namespace xui {

inline QString fromCp1252(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) {
        out.append(QChar(static_cast<char16_t>(mv::cp1252ToUnicode(static_cast<unsigned char>(c)))));
    }
    return out;
}

// Characters the code page lacks become '?'.
inline std::string toCp1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        const int b = mv::unicodeToCp1252(ch.unicode());
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

} // namespace xui
