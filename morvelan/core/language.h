// The language text table: every user-visible text of the program that is not fixed in the
// code, fetched by its number from Sprache.txt in the program directory. The file is a
// semicolon-separated table: a header naming the languages, then one line per text number
// with one text per language. Texts are Windows-1252 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mv {

// The list a language choice is made in (a combo box at the widget edge).
class LanguageList {
public:
    virtual ~LanguageList() = default;
    virtual void ResetContent() = 0;
    virtual void AddString(const std::string& text) = 0;
    virtual void SetCurSel(int index) = 0;
};

class CLanguage {
public:
    static constexpr const char* kFileName = "Sprache.txt";
    static constexpr const char* kFallbackLanguage = "English";
    static constexpr const char* kMissingText = "???";
    static constexpr const char* kMissingColumn = "?";
    // A larger file is not a language table: it is refused before it is read.
    static constexpr std::uint64_t kMaxFileBytes = std::uint64_t{16} << 20;

    struct Entry {
        std::int32_t number = 0;
        std::string text;
    };

    explicit CLanguage(std::string programDirectory = {});

    void SetProgramDirectory(std::string directory) { programDirectory_ = std::move(directory); }
    // The language file's path (program directory + Sprache.txt, resolved without regard to case).
    std::string FilePath() const;

    // Loads the column of a language; a name the header lacks loads "English". Result 1 on
    // success; 0 when the file cannot be read, neither language is in the header, or an empty
    // line ends the file early. A failed load leaves the previous table and name unchanged.
    int Load(const std::string& name);
    // Why the last Load could not read the file at FilePath() ("not a regular file", ...);
    // empty when it could.
    const std::string& LoadProblem() const { return loadProblem_; }

    // The text of the first entry with the number; "???" when there is none.
    std::string GetText(int number) const;

    // The language names of the file's header (every field after the first); empty when the
    // file cannot be read.
    std::vector<std::string> LanguageNames() const;

    // Empties the list, adds the language names and selects the first.
    void FillLanguageCombo(LanguageList& list) const;

    // Frees all entries.
    void Clear();

    const std::string& LanguageName() const { return languageName_; }
    const std::vector<Entry>& Entries() const { return entries_; }

    // Splits a line at ';' with runs of separators counted as one (an empty field does not
    // count as a column).
    static std::vector<std::string> SplitFields(std::string_view line);

private:
    // The whole file when it is a regular file within kMaxFileBytes; else false and why.
    bool ReadFile(std::string& text, std::string* why) const;

    std::string programDirectory_;
    std::string loadProblem_;
    std::vector<Entry> entries_;
    std::unordered_map<std::int32_t, std::size_t> firstIndex_;
    std::string languageName_;
};

} // namespace mv
