// The version block reader: blocks found among other bytes, damaged blocks refused, queries by
// language block, and the deliverables the build stamped.
#include "platform/settings_store.h"
#include "platform/version_block.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace std::string_literals;

std::string block(const std::string& payload) {
    std::string b = "MVVERBLK";
    const auto n = static_cast<std::uint32_t>(payload.size());
    for (int i = 0; i < 4; ++i)
        b += static_cast<char>((n >> (8 * i)) & 0xFF);
    return b + payload;
}

const std::string kPayload = "040704B0\0ProductName\0Morvelan Toolkit\0FileVersion\0"
                             "3.2.1\0LegalCopyright\0(C) Kelvane\0\0"s;

TEST(VersionBlock, FoundAmongOtherBytes) {
    const std::string bytes = "\x7f"
                              "ELF junk MVVERBLK\xff\xff\xff\xff"s +
                              block(kPayload) + "tail"s;
    const auto v = mv::VersionBlock::fromBytes(bytes);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->language(), "040704B0");
    EXPECT_EQ(v->value("FileVersion"), "3.2.1");
    EXPECT_EQ(v->value("ProductName"), "Morvelan Toolkit");
    EXPECT_EQ(v->value("CompanyName"), "") << "missing values read empty";
    EXPECT_EQ(v->values().size(), 3u);
    EXPECT_EQ(v->query("\\StringFileInfo\\040704B0\\LegalCopyright"), "(C) Kelvane");
    EXPECT_FALSE(v->query("\\StringFileInfo\\040904B0\\LegalCopyright")) << "other language";
    EXPECT_FALSE(v->query("\\StringFileInfo\\040704B0\\Comments"));
    EXPECT_FALSE(v->query("FileVersion"));
}

TEST(VersionBlock, DamagedBlocksAreRefused) {
    const std::string cases[] = {
        ""s,
        "MVVERBLK"s,
        "MVVERBLK\x05\0\0\0abc"s,                          // length past the end
        block("040704B0\0Name\0Value"s),                   // value without its zero
        block("040704B0\0Name\0Value\0"s),                 // no closing zero
        block("\0Name\0Value\0\0"s),                       // no language
        block("040704B0\0Name\0Value\0\0extra"s),          // bytes after the end
        "MVVERBLK\xff\xff\0\0"s + std::string(70000, 'x'), // longer than any block
    };
    for (const std::string& c : cases)
        EXPECT_FALSE(mv::VersionBlock::fromBytes(c)) << c.size();
    // A damaged marker before a good block does not hide it.
    EXPECT_TRUE(mv::VersionBlock::fromBytes(block("040704B0\0A\0"s) + block(kPayload)));
}

TEST(VersionBlock, MissingFileReadsEmpty) {
    EXPECT_FALSE(mv::VersionBlock::fromFile("/nonexistent/morvelan"));
    EXPECT_EQ(mv::readVersionValue("/nonexistent/morvelan", "FileVersion"), "");
}

TEST(VersionBlock, FilesWithoutTheSectionAreSearchedWhole) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("mv-version-" + std::to_string(::getpid())))
            .string();
    // A plain file, and files that begin like an ELF program but whose headers lead nowhere:
    // cut short, impossible entry sizes, a section table far past the end.
    const std::string elf64 = "\x7f"
                              "ELF\x02\x01"s;
    std::string farTable = elf64 + std::string(58, '\0');
    farTable[0x2D] = '\x7f'; // table offset 0x7f0000000000
    farTable[0x3A] = 64;     // entry size
    farTable[0x3C] = 1;      // one section
    for (const std::string& head : {"plain "s, elf64, elf64 + std::string(58, '\xff'),
                                    elf64 + std::string(58, '\0'), farTable}) {
        std::ofstream(path, std::ios::binary) << head << std::string(100, 'x') << block(kPayload);
        const auto v = mv::VersionBlock::fromFile(path);
        ASSERT_TRUE(v) << head.size();
        EXPECT_EQ(v->value("FileVersion"), "3.2.1");
    }
    std::filesystem::remove(path);
}

TEST(VersionBlock, BuiltDeliverablesCarryTheirTexts) {
    const std::string program = mv::programFolder() + "/morvelan";
    if (!std::filesystem::exists(program))
        GTEST_SKIP() << "morvelan is not built";
    const auto v = mv::VersionBlock::fromFile(program);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->value("ProductName"), "Morvelan Toolkit");
    EXPECT_FALSE(v->value("FileVersion").empty());
    EXPECT_FALSE(v->value("LegalCopyright").empty());
    EXPECT_EQ(v->query("\\StringFileInfo\\040704B0\\CompanyName"), "Kelvane");
    // Read from its section, the block is the one a search of the whole file finds (in a
    // small deliverable, so the test stays quick).
    const std::string library = mv::programFolder() + "/libX740_Logic.so";
    const auto fromSection = mv::VersionBlock::fromFile(library);
    ASSERT_TRUE(fromSection);
    std::ifstream in(library, std::ios::binary);
    std::string whole(static_cast<std::size_t>(std::filesystem::file_size(library)), '\0');
    ASSERT_TRUE(in.read(whole.data(), static_cast<std::streamsize>(whole.size())));
    const auto searched = mv::VersionBlock::fromBytes(whole);
    ASSERT_TRUE(searched);
    EXPECT_EQ(searched->values(), fromSection->values());
}

} // namespace
