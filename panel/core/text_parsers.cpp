#include "panel/core/text_parsers.h"

namespace x740panel {

int ParseDecimal(std::string_view text, int& value) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return 0;
    }
    bool negative = false;
    if (text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    std::int64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return 0;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 0x80000000LL) {
            return 0;
        }
    }
    const std::int64_t v = negative ? -magnitude : magnitude;
    if (v > 0x7FFFFFFFLL) {
        return 0;
    }
    value = static_cast<int>(v);
    return 1;
}

int SplitCommaList(std::string_view text, std::vector<std::string>& fields) {
    fields.clear();
    if (text.size() >= kMaxCommaListText) {
        return 0;
    }
    int count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view field =
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                : comma - start);
        if (count < kMaxCommaFields) {
            fields.emplace_back(field);
        }
        ++count;
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return count;
}

int ParseIpAddress(std::string_view text, std::uint32_t& value) {
    std::uint32_t result = 0;
    int parts = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = text.find('.', start);
        const std::string_view part = text.substr(
            start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        int number = 0;
        if (++parts > 4 || ParseDecimal(part, number) == 0 || number < 0 || number > 255) {
            return 0;
        }
        result = (result << 8) | static_cast<std::uint32_t>(number);
        if (dot == std::string_view::npos) {
            break;
        }
        start = dot + 1;
    }
    if (parts != 4) {
        return 0;
    }
    value = result;
    return 1;
}

} // namespace x740panel
