#include "platform/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Cp1252, LatinLettersAndEuroToUtf8) {
    EXPECT_EQ(mv::cp1252ToUtf8("Sprache w\xE4hlen"), "Sprache w\xC3\xA4hlen");
    EXPECT_EQ(mv::cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(mv::cp1252ToUtf8("\x9F"), "\xC5\xB8");
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(mv::utf8ToCp1252(mv::cp1252ToUtf8(all)), all);
}

TEST(Cp1252, UnknownCharactersAndBrokenSequencesBecomeTheReplacement) {
    EXPECT_EQ(mv::utf8ToCp1252("a\xE4\xB8\xAD" "b"), "a?b");  // a CJK character
    EXPECT_EQ(mv::utf8ToCp1252("x\xC3"), "x?");               // cut short
    EXPECT_EQ(mv::utf8ToCp1252("\xFF\xFE", '_'), "__");
    EXPECT_EQ(mv::utf8ToCp1252("\xC3\xB6"), "\xF6");
}

TEST(Cp1252, CodePointLookups) {
    EXPECT_EQ(mv::unicodeToCp1252(0x20AC), 0x80);
    EXPECT_EQ(mv::unicodeToCp1252(0x4E2D), -1);
    EXPECT_EQ(mv::cp1252ToUnicode(0x81), 0x81u);
}

} // namespace
