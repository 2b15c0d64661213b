#include "morvelan/core/language.h"

#include "platform/regular_file.h"
#include "platform/win_path.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sstream>

namespace mv {
namespace {

// Reads one line without its line end (LF or CRLF); false at the end of the file.
bool readLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

// The number of a field as the C library reads it: leading blanks, a sign, digits; the
// rest ignored; 0 when there are no digits. Clamped to 32 bits.
std::int32_t toNumber(const std::string& field) {
    const long long v = std::strtoll(field.c_str(), nullptr, 10);
    if (v > INT32_MAX) {
        return INT32_MAX;
    }
    if (v < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(v);
}

// The 1-based column of the first field equal to name; 0 when there is none.
std::size_t fieldColumn(const std::vector<std::string>& fields, const std::string& name) {
    const auto it = std::find(fields.begin(), fields.end(), name);
    return it == fields.end() ? 0 : static_cast<std::size_t>(it - fields.begin()) + 1;
}

} // namespace

CLanguage::CLanguage(std::string programDirectory)
    : programDirectory_(std::move(programDirectory)) {}

std::string CLanguage::FilePath() const {
    return resolvePath(joinPath(programDirectory_, kFileName));
}

std::vector<std::string> CLanguage::SplitFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        std::size_t end = line.find(';', pos);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        if (end > pos) {
            fields.emplace_back(line.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    return fields;
}

bool CLanguage::ReadFile(std::string& text, std::string* why) const {
    return readRegularFile(FilePath(), kMaxFileBytes, text, why);
}

int CLanguage::Load(const std::string& name) {
    std::string text;
    if (!ReadFile(text, &loadProblem_)) {
        return 0;
    }
    loadProblem_.clear();
    std::istringstream in(std::move(text));
    std::string line;
    if (!readLine(in, line)) {
        return 0;
    }
    const std::vector<std::string> header = SplitFields(line);

    // The wanted language must be a whole field of the header; otherwise English.
    std::string chosen = name;
    std::size_t column = fieldColumn(header, chosen); // 1-based; the number column is 1
    if (column == 0) {
        chosen = kFallbackLanguage;
        column = fieldColumn(header, chosen);
        if (column == 0) {
            return 0;
        }
    }

    // The new table is built aside and takes the place of the old one only on success.
    std::vector<Entry> entries;
    std::unordered_map<std::int32_t, std::size_t> index;
    while (readLine(in, line)) {
        const std::vector<std::string> fields = SplitFields(line);
        if (fields.empty()) {
            return 0; // an empty line ends the load
        }
        Entry e;
        e.number = toNumber(fields[0]);
        e.text = fields.size() >= column ? fields[column - 1] : std::string(kMissingColumn);
        index.emplace(e.number, entries.size());
        entries.push_back(std::move(e));
    }
    entries_ = std::move(entries);
    firstIndex_ = std::move(index);
    languageName_ = chosen;
    return 1;
}

std::string CLanguage::GetText(int number) const {
    auto it = firstIndex_.find(number);
    if (it == firstIndex_.end()) {
        return kMissingText;
    }
    return entries_[it->second].text;
}

std::vector<std::string> CLanguage::LanguageNames() const {
    std::string text;
    if (!ReadFile(text, nullptr)) {
        return {};
    }
    std::istringstream in(std::move(text));
    std::string line;
    if (!readLine(in, line)) {
        return {};
    }
    std::vector<std::string> fields = SplitFields(line);
    if (fields.empty()) {
        return {};
    }
    fields.erase(fields.begin());
    return fields;
}

void CLanguage::FillLanguageCombo(LanguageList& list) const {
    list.ResetContent();
    const std::vector<std::string> names = LanguageNames();
    for (const std::string& n : names) {
        list.AddString(n);
    }
    if (!names.empty()) {
        list.SetCurSel(0);
    }
}

void CLanguage::Clear() {
    entries_.clear();
    firstIndex_.clear();
}

} // namespace mv
