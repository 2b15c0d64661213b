// The language table: loading a column, fallbacks, failures and lookups.
#include "morvelan/core/language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class LanguageFile : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/mv_lang_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }
    void write(const std::string& body, const char* name = "Sprache.txt") {
        std::ofstream(dir_ / name, std::ios::binary) << body;
    }
    fs::path dir_;
};

const char* kTable = "ID;English;Deutsch\r\n"
                     "1;One;Eins\r\n"
                     "2;Two;Zwei\r\n"
                     "2;Second two;Zweite zwei\r\n"
                     "3;Only English\r\n"
                     "4;;Shifted\r\n";

class Recorder : public mv::LanguageList {
public:
    void ResetContent() override { items.clear(), ++resets; }
    void AddString(const std::string& s) override { items.push_back(s); }
    void SetCurSel(int i) override { selected = i; }
    std::vector<std::string> items{"stale"};
    int resets = 0;
    int selected = -1;
};

TEST_F(LanguageFile, LoadsTheChosenColumn) {
    write(kTable);
    mv::CLanguage lang(dir_.string());
    ASSERT_EQ(lang.Load("Deutsch"), 1);
    EXPECT_EQ(lang.LanguageName(), "Deutsch");
    EXPECT_EQ(lang.GetText(1), "Eins");
    EXPECT_EQ(lang.Entries().size(), 5u);
}

TEST_F(LanguageFile, FirstOfTwoEqualNumbersWins) {
    write(kTable);
    mv::CLanguage lang(dir_.string());
    ASSERT_EQ(lang.Load("English"), 1);
    EXPECT_EQ(lang.GetText(2), "Two");
}

TEST_F(LanguageFile, MissingNumberGivesQuestionMarks) {
    write(kTable);
    mv::CLanguage lang(dir_.string());
    ASSERT_EQ(lang.Load("English"), 1);
    EXPECT_EQ(lang.GetText(99999), "???");
}

TEST_F(LanguageFile, ShortLineGivesOneQuestionMark) {
    write(kTable);
    mv::CLanguage lang(dir_.string());
    ASSERT_EQ(lang.Load("Deutsch"), 1);
    EXPECT_EQ(lang.GetText(3), "?");
}

TEST_F(LanguageFile, EmptyFieldDoesNotCountAsAColumn) {
    write(kTable);
    mv::CLanguage lang(dir_.string());
    ASSERT_EQ(lang.Load("English"), 1);
    EXPECT_EQ(lang.GetText(4), "Shifted");
}

TEST_F(LanguageFile, UnknownLanguageLoadsEnglish) {
    write(kTable);
    mv::CLanguage lang(dir_.string());
    ASSERT_EQ(lang.Load("Klingon"), 1);
    EXPECT_EQ(lang.LanguageName(), "English");
    EXPECT_EQ(lang.GetText(1), "One");
}

TEST_F(LanguageFile, NameFoundOnlyInsideAFieldAlsoLoadsEnglish) {
    write(kTable);
    mv::CLanguage lang(dir_.string());
    ASSERT_EQ(lang.Load("Deut"), 1);
    EXPECT_EQ(lang.LanguageName(), "English");
    EXPECT_EQ(lang.GetText(2), "Two");
}

TEST_F(LanguageFile, NoEnglishColumnAndNoMatchFails) {
    write("ID;Deutsch\r\n1;Eins\r\n");
    mv::CLanguage lang(dir_.string());
    EXPECT_EQ(lang.Load("Francais"), 0);
    EXPECT_EQ(lang.GetText(1), "???");
}

TEST_F(LanguageFile, MissingFileFailsAndKeepsTheTable) {
    write(kTable);
    mv::CLanguage lang(dir_.string());
    ASSERT_EQ(lang.Load("English"), 1);
    fs::remove(dir_ / "Sprache.txt");
    EXPECT_EQ(lang.Load("Deutsch"), 0);
    EXPECT_EQ(lang.GetText(1), "One");
    EXPECT_EQ(lang.LanguageName(), "English");
}

TEST_F(LanguageFile, EmptyLineEndsTheLoadAndKeepsThePreviousTable) {
    write(kTable);
    mv::CLanguage lang(dir_.string());
    ASSERT_EQ(lang.Load("English"), 1);
    write("ID;English;Deutsch\n1;One;Eins\n\n2;Two;Zwei\n");
    EXPECT_EQ(lang.Load("Deutsch"), 0);
    EXPECT_EQ(lang.GetText(1), "One");
    EXPECT_EQ(lang.GetText(4), "Shifted");
    EXPECT_EQ(lang.LanguageName(), "English");
}

TEST_F(LanguageFile, FileNameIsFoundWithoutRegardToCase) {
    write(kTable, "sprache.TXT");
    mv::CLanguage lang(dir_.string());
    EXPECT_EQ(lang.Load("English"), 1);
}

TEST_F(LanguageFile, NumbersAreReadLikeTheCLibrary) {
    write("ID;English\n  12abc;Twelve\n-5;Minus\nxyz;Zero\n99999999999;Big\n");
    mv::CLanguage lang(dir_.string());
    ASSERT_EQ(lang.Load("English"), 1);
    EXPECT_EQ(lang.GetText(12), "Twelve");
    EXPECT_EQ(lang.GetText(-5), "Minus");
    EXPECT_EQ(lang.GetText(0), "Zero");
    EXPECT_EQ(lang.GetText(2147483647), "Big");
}

TEST_F(LanguageFile, ComboGetsTheHeaderNames) {
    write(kTable);
    mv::CLanguage lang(dir_.string());
    Recorder list;
    lang.FillLanguageCombo(list);
    EXPECT_EQ(list.resets, 1);
    EXPECT_EQ(list.items, (std::vector<std::string>{"English", "Deutsch"}));
    EXPECT_EQ(list.selected, 0);
}

TEST_F(LanguageFile, ComboIsEmptyWithoutAFile) {
    mv::CLanguage lang(dir_.string());
    Recorder list;
    lang.FillLanguageCombo(list);
    EXPECT_TRUE(list.items.empty());
    EXPECT_EQ(list.selected, -1);
}

TEST_F(LanguageFile, ClearEmptiesTheTable) {
    write(kTable);
    mv::CLanguage lang(dir_.string());
    ASSERT_EQ(lang.Load("English"), 1);
    lang.Clear();
    EXPECT_EQ(lang.GetText(1), "???");
}

TEST(LanguageFields, RunsOfSeparatorsCountAsOne) {
    EXPECT_EQ(mv::CLanguage::SplitFields(";;a;;b;"), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(mv::CLanguage::SplitFields(";;;").empty());
    EXPECT_TRUE(mv::CLanguage::SplitFields("").empty());
}

} // namespace
