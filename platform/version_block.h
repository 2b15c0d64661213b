// Version texts of a deliverable (file version, product name, copyright, ...). The build embeds
// them in each deliverable as one block of bytes (cmake/VersionBlock.cmake); this reader finds
// the block in a file's bytes and gives the texts back.
//
// Block layout: the 8 bytes "MVVERBLK", a 32-bit little-endian payload length, then the
// payload: the language block name ("040704B0") and name/value pairs, each text ending with a
// zero byte, and one more zero byte at the end.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mv {

// Language 1031 ("%04X") followed by code page 04B0: the block every deliverable carries.
inline constexpr const char* kVersionLanguageBlock = "040704B0";
inline constexpr std::size_t kVersionMaxPayload = 8192;

class VersionBlock {
public:
    // The first well-formed block in the bytes; nullopt when there is none.
    static std::optional<VersionBlock> fromBytes(std::string_view bytes);
    // The block of a file; nullopt when the file cannot be read or has no block.
    static std::optional<VersionBlock> fromFile(const std::string& path);

    const std::string& language() const { return language_; }
    const std::vector<std::pair<std::string, std::string>>& values() const { return values_; }
    // The value of a name (exact, as the names are fixed); empty when missing.
    std::string value(std::string_view name) const;
    // A value by its sub-block path "\StringFileInfo\<language>\<name>"; nullopt when the
    // language or the name is not there.
    std::optional<std::string> query(std::string_view subBlock) const;

private:
    std::string language_;
    std::vector<std::pair<std::string, std::string>> values_;
};

// Reads one value of a file's block, empty when the file, the block or the value is missing.
std::string readVersionValue(const std::string& path, std::string_view name);

} // namespace mv
