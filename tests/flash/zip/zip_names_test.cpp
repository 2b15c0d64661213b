// Entry names: code page 437 and the split of stored paths into safe components.
#include "flash/zip/zip_names.h"

#include <gtest/gtest.h>

using mv::zip::Cp437ToUtf8;
using mv::zip::SplitEntryPath;

TEST(ZipNames, CodePage437ToUtf8) {
    EXPECT_EQ(Cp437ToUtf8("plain/name.bin"), "plain/name.bin");
    EXPECT_EQ(Cp437ToUtf8("\x81\x84\x94\xE1"), "\xC3\xBC\xC3\xA4\xC3\xB6\xC3\x9F");  // u a o umlauts, sharp s
    EXPECT_EQ(Cp437ToUtf8("\x9E"), "\xE2\x82\xA7");  // peseta sign
    EXPECT_EQ(Cp437ToUtf8("\xB0\xC9\xFF"), "\xE2\x96\x91\xE2\x95\x94\xC2\xA0");
}

TEST(ZipNames, SafePathsAreSplit) {
    std::vector<std::string> parts;
    ASSERT_TRUE(SplitEntryPath("a/b\\c.txt", true, parts));
    EXPECT_EQ(parts, (std::vector<std::string>{"a", "b", "c.txt"}));
    ASSERT_TRUE(SplitEntryPath("./a//b/./", true, parts));
    EXPECT_EQ(parts, (std::vector<std::string>{"a", "b"}));
    ASSERT_TRUE(SplitEntryPath("a/b/c.txt", false, parts));
    EXPECT_EQ(parts, (std::vector<std::string>{"c.txt"}));
    ASSERT_TRUE(SplitEntryPath("..file/x..", true, parts));
    EXPECT_EQ(parts, (std::vector<std::string>{"..file", "x.."}));
}

TEST(ZipNames, EscapingPathsAreRefused) {
    std::vector<std::string> parts;
    for (const char* bad : {"/etc/x", "\\x", "C:x", "c:/x", "..", "a/../b", "a\\..\\..\\b", "../x"})
        EXPECT_FALSE(SplitEntryPath(bad, true, parts)) << bad;
    EXPECT_FALSE(SplitEntryPath(std::string("a\0b", 3), true, parts));
    EXPECT_FALSE(SplitEntryPath("../x", false, parts));
}
