// Reading INI files: names, blanks, quotes, buffers, defaults, integers and lists.
#include "ini_test_util.h"
#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using mvtest::TempDir;
using mvtest::writeBytes;

struct ReadCase {
    const char* what;
    const char* section;
    const char* key;
    const char* def;
    std::uint32_t size;
    std::string expected;
};

const std::string kSample = std::string("preamble=never\r\n"
                                        "[Setup]\r\n"
                                        "TIMER=500\r\n"
                                        "  Doku  =  JPG  \r\n"
                                        "Quoted=\"  with blanks  \"\r\n"
                                        "Single='x'\r\n"
                                        "Half=\"open\r\n"
                                        "Inline=12 ; not a comment\r\n"
                                        ";Hidden=1\r\n"
                                        "Dup=first\r\n"
                                        "dup=second\r\n"
                                        "Empty=\r\n"
                                        "NoEquals\r\n"
                                        "Long=0123456789\r\n"
                                        "Binary=a") +
                              char(26) + "b" + char(29) + "c\r\n" +
                              "[SETUP]\r\n"
                              "Later=hidden by the first section\r\n"
                              "[Other]\n"
                              "Unix=lf only\n"
                              "Last=no end";

class IniRead : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = dir_.file("sample.ini");
        writeBytes(file_, kSample);
    }
    std::string read(const char* section, const char* key, const char* def,
                     std::uint32_t size = 200) {
        std::vector<char> buf(size + 8, 'Z');
        const auto n = mv::GetPrivateProfileStringA(section, key, def, buf.data(), size,
                                                    file_.c_str());
        EXPECT_EQ(buf[n], '\0');
        return std::string(buf.data(), n);
    }
    TempDir dir_;
    std::string file_;
};

TEST_F(IniRead, ValuesFollowTheProfileRules) {
    const ReadCase cases[] = {
        {"plain value", "Setup", "TIMER", "x", 200, "500"},
        {"section and key ignore case", "setup", "timer", "x", 200, "500"},
        {"blanks around key and value", "Setup", "Doku", "x", 200, "JPG"},
        {"double quotes stripped, inner blanks kept", "Setup", "Quoted", "", 200,
         "  with blanks  "},
        {"single quotes stripped", "Setup", "Single", "", 200, "x"},
        {"unmatched quote kept", "Setup", "Half", "", 200, "\"open"},
        {"no inline comments", "Setup", "Inline", "", 200, "12 ; not a comment"},
        {"comment lines never match", "Setup", ";Hidden", "def", 200, "def"},
        {"first key wins", "Setup", "DUP", "", 200, "first"},
        {"empty value is not the default", "Setup", "Empty", "def", 200, ""},
        {"key without equals reads empty", "Setup", "NoEquals", "def", 200, ""},
        {"cut to size minus one", "Setup", "Long", "", 5, "0123"},
        {"buffer of one holds only the zero", "Setup", "Long", "", 1, ""},
        {"first section wins", "Setup", "Later", "def", 200, "def"},
        {"lines before the first section never match", "", "preamble", "def", 200, "def"},
        {"LF line ends", "Other", "Unix", "", 200, "lf only"},
        {"last line without end", "Other", "Last", "", 200, "no end"},
        {"missing key gives default", "Setup", "Nothing", "fallback", 200, "fallback"},
        {"default loses trailing blanks", "Setup", "Nothing", "fb  ", 200, "fb"},
        {"null default is empty", "Setup", "Nothing", nullptr, 200, ""},
        {"default is cut too", "Setup", "Nothing", "abcdef", 4, "abc"},
        {"missing section gives default", "Nope", "TIMER", "d", 200, "d"},
    };
    for (const ReadCase& c : cases)
        EXPECT_EQ(read(c.section, c.key, c.def, c.size), c.expected) << c.what;
}

TEST_F(IniRead, ControlBytesAreOrdinaryCharacters) {
    const std::string expected = std::string("a") + char(26) + "b" + char(29) + "c";
    EXPECT_EQ(read("Setup", "Binary", ""), expected);
    EXPECT_EQ(read("Other", "Last", ""), "no end"); // lines after them are still found
}

TEST_F(IniRead, MissingFileGivesDefaults) {
    const std::string missing = dir_.file("none.ini");
    char buf[16];
    EXPECT_EQ(mv::GetPrivateProfileStringA("A", "B", "dflt", buf, sizeof buf, missing.c_str()), 4u);
    EXPECT_STREQ(buf, "dflt");
    EXPECT_EQ(mv::GetPrivateProfileIntA("A", "B", 77, missing.c_str()), 77);
}

TEST_F(IniRead, IntegersAreLeadingSignedDecimals) {
    writeBytes(file_, "[N]\r\na=42\r\nb=-17xyz\r\nc= +8 \r\nd=abc\r\ne=\r\nf=0x10\r\ng=\"12\"\r\n"
                      "h=4294967295\r\n");
    const char* f = file_.c_str();
    EXPECT_EQ(mv::GetPrivateProfileIntA("N", "a", -1, f), 42);
    EXPECT_EQ(mv::GetPrivateProfileIntA("N", "b", -1, f), -17);
    EXPECT_EQ(mv::GetPrivateProfileIntA("N", "c", -1, f), 8);
    EXPECT_EQ(mv::GetPrivateProfileIntA("N", "d", -1, f), 0) << "no digits";
    EXPECT_EQ(mv::GetPrivateProfileIntA("N", "e", -1, f), -1) << "empty gives default";
    EXPECT_EQ(mv::GetPrivateProfileIntA("N", "f", -1, f), 0) << "no hexadecimal";
    EXPECT_EQ(mv::GetPrivateProfileIntA("N", "g", -1, f), 12) << "quotes stripped first";
    EXPECT_EQ(mv::GetPrivateProfileIntA("N", "h", 0, f), -1) << "32-bit wrap";
    EXPECT_EQ(mv::GetPrivateProfileIntA("N", "missing", 500, f), 500);
}

TEST_F(IniRead, ListsSectionsKeysAndWholeSectionsInFileOrder) {
    writeBytes(file_, "[B]\r\nz=1\r\n;c=2\r\ny = 2 \r\n[a]\r\n[C]\r\nk\r\n");
    char buf[64];
    std::uint32_t n = mv::GetPrivateProfileSectionNamesA(buf, sizeof buf, file_.c_str());
    EXPECT_EQ(std::string(buf, n + 1), std::string("B\0a\0C\0", 7));
    n = mv::GetPrivateProfileStringA("b", nullptr, "", buf, sizeof buf, file_.c_str());
    EXPECT_EQ(std::string(buf, n + 1), std::string("z\0y\0", 5));
    n = mv::GetPrivateProfileSectionA("B", buf, sizeof buf, file_.c_str());
    EXPECT_EQ(std::string(buf, n + 1), std::string("z=1\0y=2\0", 9));
    EXPECT_EQ(mv::iniSectionNames(file_), (std::vector<std::string>{"B", "a", "C"}));
    n = mv::GetPrivateProfileSectionA("a", buf, sizeof buf, file_.c_str());
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(buf[0], '\0');
}

TEST_F(IniRead, ListCutShortEndsWithTwoZeros) {
    writeBytes(file_, "[First]\r\n[Second]\r\n");
    char buf[9];
    std::memset(buf, 'Z', sizeof buf);
    const auto n = mv::GetPrivateProfileSectionNamesA(buf, sizeof buf, file_.c_str());
    EXPECT_EQ(n, 7u);
    EXPECT_EQ(std::string(buf, 9), std::string("First\0S\0\0", 9));
}

TEST_F(IniRead, CppHelpersMatchTheCalls) {
    EXPECT_EQ(mv::iniReadString(file_, "SETUP", "doku"), "JPG");
    EXPECT_EQ(mv::iniReadString(file_, "SETUP", "Long", "", 3), "01");
    EXPECT_EQ(mv::iniReadInt(file_, "Setup", "TIMER", 0), 500);
    const auto entries = mv::iniReadSection(file_, "other");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].first, "Unix");
    EXPECT_EQ(entries[1].second, "no end");
}

TEST(IniPath, MixedCaseComponentsAndBackslashesAreFound) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("Modul/pdf"));
    writeBytes(dir.file("Modul/X740.kvn"), "[MORVELAN]\r\nID=12\r\n");
    const std::string asked = dir.path() + "\\modul\\x740.KVN";
    EXPECT_EQ(mv::iniResolvePath(asked), dir.file("Modul/X740.kvn"));
    EXPECT_EQ(mv::GetPrivateProfileIntA("morvelan", "id", 0, asked.c_str()), 12);
    // A name that is nowhere keeps its spelling, so that it can be created.
    EXPECT_EQ(mv::iniResolvePath(dir.path() + "/modul/New.ini"), dir.file("Modul/New.ini"));
    EXPECT_TRUE(mv::iniWriteString(dir.path() + "/MODUL/New.ini", "S", "k", "v"));
    EXPECT_EQ(mvtest::readBytes(dir.file("Modul/New.ini")), "[S]\r\nk=v\r\n");
}

} // namespace
