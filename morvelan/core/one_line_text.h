// Texts that the project file holds on one line each (every text but the project comment): each
// line break in them, CR LF or a lone CR or LF, becomes one blank before the text reaches the
// document, so the project can always be saved.
#pragma once

#include <string>
#include <string_view>

namespace mv {

inline std::string OneLineText(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            line += ' ';
        } else {
            line += text[i];
        }
    }
    return line;
}

} // namespace mv
