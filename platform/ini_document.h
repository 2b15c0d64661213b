// One parsed INI text. Every line is kept byte for byte, so that a file written back differs
// from the one read only where a value was set or removed.
//
// Reading rules: section and key names are matched without regard to case (ASCII), blanks
// around names and values are ignored, the first section and the first key of a name win,
// lines starting with ';' and lines before the first section are never matched, and there
// are no inline comments. All bytes other than the line end are ordinary characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace mv {

class IniDocument {
public:
    // Line end used for every line this class adds.
    static constexpr std::string_view kNewLine = "\r\n";

    IniDocument() = default;
    static IniDocument parse(std::string_view bytes);
    std::string serialize() const;

    bool empty() const { return preamble_.empty() && sections_.empty(); }

    // The value as it stands in the file, blanks trimmed, quotes kept; nullptr when the
    // section or key is missing.
    const std::string* find(std::string_view section, std::string_view key) const;
    bool hasSection(std::string_view section) const;
    // Section names in file order, as written.
    std::vector<std::string> sectionNames() const;
    // Keys of the first section of that name, in file order, as written.
    std::vector<std::string> keyNames(std::string_view section) const;
    // (key, value) of every key line of the first section of that name, in file order.
    std::vector<std::pair<std::string, std::string>> sectionEntries(std::string_view section) const;

    // Sets a value: replaces the first key of that name in place, else appends the key at the
    // end of the first section of that name, else appends a new section. True when the text
    // changed.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);
    // Appends an empty section when none of that name exists (true when one was added).
    bool addSection(std::string_view section);
    // Removes the first key of that name (true when one was removed).
    bool removeKey(std::string_view section, std::string_view key);
    // Removes the first section of that name with all its lines (true when one was removed).
    bool removeSection(std::string_view section);

    // Upper-case ASCII copy, the form names are compared in.
    static std::string foldName(std::string_view name);
    // Removes spaces, tabs and the other ASCII blanks at both ends.
    static std::string_view trim(std::string_view text);

private:
    struct Line {
        std::string text; // the line without its end
        std::string end;  // "\r\n", "\n", "\r" or empty for a last line without end
        bool isKey = false;
        std::string key;   // trimmed key (key lines only)
        std::string value; // trimmed value (key lines only)
    };
    struct Section {
        Line header;
        std::string name;
        std::vector<Line> lines;
        // Folded key -> index of its first key line.
        std::unordered_map<std::string, std::size_t> keyIndex;
        void reindex();
    };

    static Line makeLine(std::string_view text, std::string_view end);
    Section* findSection(std::string_view section);
    const Section* findSection(std::string_view section) const;
    void reindexSections();

    bool byteOrderMark_ = false; // the text began with a UTF-8 byte-order mark
    std::vector<Line> preamble_;
    std::vector<Section> sections_;
    // Folded section name -> index of its first section.
    std::unordered_map<std::string, std::size_t> sectionIndex_;
};

} // namespace mv
