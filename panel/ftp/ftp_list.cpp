#include "panel/ftp/ftp_dir_entry.h"

namespace ftp {

namespace {

std::string Cut(std::string_view text, std::size_t fieldSize) {
    return std::string(text.substr(0, fieldSize - 1));
}

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\r' || line[i] == '\n'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\r' && line[i] != '\n')
            ++i;
        if (i > start)
            tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

std::uint32_t DecimalSize(std::string_view token) {
    std::uint32_t value = 0;
    for (char c : token) {
        if (c < '0' || c > '9')
            break;
        value = value * 10u + static_cast<std::uint32_t>(c - '0'); // 32 bits, as the entry keeps
    }
    return value;
}

} // namespace

bool ParseListLine(std::string_view line, FtpDirEntry& entry) {
    const std::vector<std::string_view> tokens = Tokens(line);
    if (tokens.size() < 9)
        return false;
    entry = FtpDirEntry{};
    entry.attributes = tokens[0].front() == 'd' ? kAttrDirectory : kAttrFile;
    entry.owner = Cut(tokens[2], kOwnerFieldSize);
    entry.size = DecimalSize(tokens[4]);
    entry.month = Cut(tokens[5], kDateFieldSize);
    entry.day = Cut(tokens[6], kDateFieldSize);
    entry.timeOrYear = Cut(tokens[7], kDateFieldSize);
    std::string name;
    for (std::size_t i = 8; i < tokens.size(); ++i) {
        if (i > 8)
            name.push_back(' ');
        name.append(tokens[i]);
        if (name.size() >= kNameFieldSize - 1)
            break;
    }
    entry.name = Cut(name, kNameFieldSize);
    return true;
}

void ListParser::Feed(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            if (!line_.empty())
                EndLine();
            continue; // a run of CR and LF ends one line
        }
        if (line_.size() < kListLineSize - 1)
            line_.push_back(c);
    }
}

void ListParser::EndLine() {
    FtpDirEntry entry;
    if (ParseListLine(line_, entry))
        entries_.push_back(std::move(entry));
    line_.clear();
}

} // namespace ftp
