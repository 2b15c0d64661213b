// One entry of a directory listing (one LIST line), and the parser that cuts the listing's
// data stream into lines and lines into entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ftp {

constexpr std::uint32_t kAttrDirectory = 16;
constexpr std::uint32_t kAttrFile = 128;

// Field sizes of an entry (each holds one byte less than its size).
constexpr std::size_t kDateFieldSize = 20;
constexpr std::size_t kNameFieldSize = 260;
constexpr std::size_t kOwnerFieldSize = 256;
// The line buffer of the listing: longer lines are cut.
constexpr std::size_t kListLineSize = 252;

struct FtpDirEntry {
    std::uint32_t attributes = kAttrFile;
    std::uint32_t size = 0;
    std::string month;
    std::string day;
    std::string timeOrYear;
    std::string name;
    std::string owner;

    bool IsDirectory() const { return attributes == kAttrDirectory; }
};

// Parses one LIST line: permissions, (links), owner, (group), size, month, day, time or year,
// then the name (the rest, its blank-separated tokens joined by one blank). Runs of blanks are
// one separator. False (no entry) when the line has fewer than nine tokens.
bool ParseListLine(std::string_view line, FtpDirEntry& entry);

// Gathers the listing's bytes into lines (at CR or LF) and parses each.
class ListParser {
public:
    void Feed(const char* data, std::size_t size);
    std::vector<FtpDirEntry>& Entries() { return entries_; }

private:
    void EndLine();

    std::string line_;
    std::vector<FtpDirEntry> entries_;
};

} // namespace ftp
