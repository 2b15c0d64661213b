#include "platform/ini_document.h"

namespace mv {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

} // namespace

std::string IniDocument::foldName(std::string_view name) {
    std::string out(trim(name));
    for (char& c : out)
        c = upper(c);
    return out;
}

std::string_view IniDocument::trim(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

IniDocument::Line IniDocument::makeLine(std::string_view text, std::string_view end) {
    Line line;
    line.text.assign(text);
    line.end.assign(end);
    const std::string_view body = trim(text);
    if (body.empty() || body.front() == ';' || body.front() == '[')
        return line;
    line.isKey = true;
    const std::size_t eq = body.find('=');
    if (eq == std::string_view::npos) {
        line.key.assign(body);
    } else {
        line.key.assign(trim(body.substr(0, eq)));
        line.value.assign(trim(body.substr(eq + 1)));
    }
    return line;
}

void IniDocument::Section::reindex() {
    keyIndex.clear();
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].isKey)
            keyIndex.emplace(foldName(lines[i].key), i);
}

void IniDocument::reindexSections() {
    sectionIndex_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i)
        sectionIndex_.emplace(foldName(sections_[i].name), i);
}

IniDocument IniDocument::parse(std::string_view bytes) {
    IniDocument doc;
    std::size_t pos = 0;
    // A UTF-8 byte-order mark is kept as written but is no part of the first line.
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        doc.byteOrderMark_ = true;
        pos = kByteOrderMark.size();
    }
    while (pos < bytes.size()) {
        // Lines end with LF, CR LF or a lone CR.
        const std::size_t nl = bytes.find_first_of("\r\n", pos);
        std::string_view text;
        std::string_view end;
        if (nl == std::string_view::npos) {
            text = bytes.substr(pos);
            pos = bytes.size();
        } else {
            text = bytes.substr(pos, nl - pos);
            if (bytes[nl] == '\n') {
                end = "\n";
                pos = nl + 1;
            } else if (nl + 1 < bytes.size() && bytes[nl + 1] == '\n') {
                end = "\r\n";
                pos = nl + 2;
            } else {
                end = "\r";
                pos = nl + 1;
            }
        }
        const std::string_view body = trim(text);
        if (!body.empty() && body.front() == '[') {
            Section section;
            section.header.text.assign(text);
            section.header.end.assign(end);
            std::string_view name = body.substr(1);
            const std::size_t close = name.find(']');
            if (close != std::string_view::npos)
                name = name.substr(0, close);
            section.name.assign(trim(name));
            doc.sections_.push_back(std::move(section));
            continue;
        }
        Line line = makeLine(text, end);
        if (doc.sections_.empty()) {
            line.isKey = false; // lines before the first section are never matched
            doc.preamble_.push_back(std::move(line));
        } else {
            doc.sections_.back().lines.push_back(std::move(line));
        }
    }
    for (Section& s : doc.sections_)
        s.reindex();
    doc.reindexSections();
    return doc;
}

std::string IniDocument::serialize() const {
    std::string out(byteOrderMark_ ? kByteOrderMark : std::string_view());
    bool pendingEnd = false; // the line written last had no end
    auto put = [&](const Line& line) {
        if (pendingEnd)
            out += kNewLine;
        out += line.text;
        out += line.end;
        pendingEnd = line.end.empty();
    };
    for (const Line& line : preamble_)
        put(line);
    for (const Section& s : sections_) {
        put(s.header);
        for (const Line& line : s.lines)
            put(line);
    }
    return out;
}

const IniDocument::Section* IniDocument::findSection(std::string_view section) const {
    const auto it = sectionIndex_.find(foldName(section));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniDocument::Section* IniDocument::findSection(std::string_view section) {
    const auto it = sectionIndex_.find(foldName(section));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const std::string* IniDocument::find(std::string_view section, std::string_view key) const {
    const Section* s = findSection(section);
    if (!s)
        return nullptr;
    const auto it = s->keyIndex.find(foldName(key));
    return it == s->keyIndex.end() ? nullptr : &s->lines[it->second].value;
}

bool IniDocument::hasSection(std::string_view section) const {
    return findSection(section) != nullptr;
}

std::vector<std::string> IniDocument::sectionNames() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const Section& s : sections_)
        names.push_back(s.name);
    return names;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
    std::vector<std::string> names;
    if (const Section* s = findSection(section))
        for (const Line& line : s->lines)
            if (line.isKey)
                names.push_back(line.key);
    return names;
}

std::vector<std::pair<std::string, std::string>>
IniDocument::sectionEntries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    if (const Section* s = findSection(section))
        for (const Line& line : s->lines)
            if (line.isKey)
                entries.emplace_back(line.key, line.value);
    return entries;
}

bool IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    std::string text;
    Section* s = findSection(section);
    if (s) {
        const auto it = s->keyIndex.find(foldName(key));
        if (it != s->keyIndex.end()) {
            Line& line = s->lines[it->second];
            // The key keeps the spelling it has in the file.
            text = line.key + "=" + std::string(value);
            if (line.text == text)
                return false;
            Line fresh = makeLine(text, line.end.empty() ? kNewLine : std::string_view(line.end));
            line = std::move(fresh);
            return true;
        }
    } else {
        addSection(section);
        s = &sections_.back();
    }
    // New keys go after the last line of the section that is not blank.
    std::size_t at = s->lines.size();
    while (at > 0 && trim(s->lines[at - 1].text).empty())
        --at;
    text = std::string(key) + "=" + std::string(value);
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), makeLine(text, kNewLine));
    if (at + 1 == s->lines.size()) {
        s->keyIndex.emplace(foldName(key), at);
    } else {
        s->reindex();
    }
    return true;
}

bool IniDocument::addSection(std::string_view section) {
    if (findSection(section))
        return false;
    Section fresh;
    fresh.name.assign(trim(section));
    fresh.header.text = "[" + std::string(section) + "]";
    fresh.header.end.assign(kNewLine);
    sections_.push_back(std::move(fresh));
    sectionIndex_.emplace(foldName(section), sections_.size() - 1);
    return true;
}

bool IniDocument::removeKey(std::string_view section, std::string_view key) {
    Section* s = findSection(section);
    if (!s)
        return false;
    const auto it = s->keyIndex.find(foldName(key));
    if (it == s->keyIndex.end())
        return false;
    s->lines.erase(s->lines.begin() + static_cast<std::ptrdiff_t>(it->second));
    s->reindex();
    return true;
}

bool IniDocument::removeSection(std::string_view section) {
    const auto it = sectionIndex_.find(foldName(section));
    if (it == sectionIndex_.end())
        return false;
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
    reindexSections();
    return true;
}

} // namespace mv
