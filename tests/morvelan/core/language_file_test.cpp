// The shipped language file holds every text number the code uses, in every language column.
// Numbers are collected from the sources (every GetText(<number>) and LanguageText(<number>),
// and every int constant named kText...) and from the list below, which takes numbers the code
// reaches another way.
#include "morvelan/core/language.h"
#include "tests/test_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Text numbers used without a literal GetText call (message captions passed around, ...).
const int kAlsoUsed[] = {
    5000,  // error caption of the message dialog
    10002, // information and question caption of the message dialog
    10000, // OK
    10001, // Cancel
    240,   // language dialog title
    241,   // language dialog label
    // main menu popups, items and tool tips, and the tree's context menu
    1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 13, 14, 15, 16, 18, 22, 23, 24, 25, 27, 28, 29, 31, 54, 57,
    58, 59, 60, 162,
};

fs::path sourceDir() { return mvtest::SourceDir(); }

std::set<int> numbersInSources() {
    std::set<int> out;
    const std::regex call(R"((?:GetText|LanguageText)\s*\(\s*([0-9]+)\s*\))");
    const std::regex constant(R"(constexpr\s+int\s+kText\w*\s*=\s*([0-9]+)\s*;)");
    for (const char* folder : {"morvelan", "panel", "xui"}) {
        const fs::path root = sourceDir() / folder;
        if (!fs::exists(root)) {
            continue;
        }
        for (const auto& e : fs::recursive_directory_iterator(root)) {
            const std::string ext = e.path().extension().string();
            if (!e.is_regular_file() || (ext != ".cpp" && ext != ".h")) {
                continue;
            }
            std::ifstream in(e.path());
            std::stringstream ss;
            ss << in.rdbuf();
            const std::string text = ss.str();
            for (const std::regex* re : {&call, &constant}) {
                for (std::sregex_iterator it(text.begin(), text.end(), *re), end; it != end; ++it) {
                    out.insert(std::stoi((*it)[1].str()));
                }
            }
        }
    }
    return out;
}

TEST(ShippedLanguageFile, HoldsEveryUsedNumberInEveryColumn) {
    const fs::path data = sourceDir() / "data";
    mv::CLanguage lang(data.string());
    const std::vector<std::string> languages = lang.LanguageNames();
    ASSERT_GE(languages.size(), 2u);
    EXPECT_EQ(languages[0], "English");
    EXPECT_EQ(languages[1], "Deutsch");

    std::set<int> used = numbersInSources();
    used.insert(std::begin(kAlsoUsed), std::end(kAlsoUsed));
    ASSERT_FALSE(used.empty());
    for (const std::string& language : languages) {
        ASSERT_EQ(lang.Load(language), 1) << language;
        ASSERT_EQ(lang.LanguageName(), language);
        for (int n : used) {
            const std::string text = lang.GetText(n);
            EXPECT_NE(text, "???") << language << " lacks " << n;
            EXPECT_NE(text, "?") << language << " has no text for " << n;
            EXPECT_FALSE(text.empty()) << language << " " << n;
        }
    }
}

// Splits at every ';', keeping empty fields (which the table would silently skip).
std::vector<std::string> rawFields(const std::string& line) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t end = line.find(';', pos);
        out.push_back(line.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
        if (end == std::string::npos) {
            return out;
        }
        pos = end + 1;
    }
}

TEST(ShippedLanguageFile, EveryLineHasEveryColumn) {
    std::ifstream in(sourceDir() / "data" / "Sprache.txt", std::ios::binary);
    ASSERT_TRUE(in);
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    const std::size_t columns = mv::CLanguage::SplitFields(line).size();
    EXPECT_EQ(rawFields(line).size(), columns) << "the header has an empty field";
    int lineNo = 1;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        ASSERT_FALSE(line.empty()) << "an empty line ends the file early, line " << lineNo;
        const std::vector<std::string> fields = rawFields(line);
        EXPECT_EQ(fields.size(), columns) << "line " << lineNo;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            EXPECT_FALSE(fields[i].empty()) << "line " << lineNo << " field " << i + 1;
        }
    }
}

} // namespace
