#include "platform/version_block.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace mv {

namespace {

// The marker is kept scrambled here so that the reader's own bytes never look like a block.
constexpr std::uint8_t kScramble = 0x5A;
constexpr std::array<std::uint8_t, 8> kMarkerScrambled = {
    'M' ^ kScramble, 'V' ^ kScramble, 'V' ^ kScramble, 'E' ^ kScramble,
    'R' ^ kScramble, 'B' ^ kScramble, 'L' ^ kScramble, 'K' ^ kScramble};

std::string marker() {
    std::string m(kMarkerScrambled.size(), '\0');
    for (std::size_t i = 0; i < m.size(); ++i)
        m[i] = static_cast<char>(kMarkerScrambled[i] ^ kScramble);
    return m;
}

// Reads zero-terminated texts from the payload; false when one runs past its end.
class TextCursor {
public:
    explicit TextCursor(std::string_view bytes) : bytes_(bytes) {}
    bool next(std::string& out) {
        const std::size_t end = bytes_.find('\0', pos_);
        if (end == std::string_view::npos)
            return false;
        out.assign(bytes_.substr(pos_, end - pos_));
        pos_ = end + 1;
        return true;
    }
    bool atEnd() const { return pos_ == bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

bool parsePayload(std::string_view payload, std::string& language,
                  std::vector<std::pair<std::string, std::string>>& values) {
    TextCursor cur(payload);
    if (!cur.next(language) || language.empty())
        return false;
    for (;;) {
        std::string name;
        if (!cur.next(name))
            return false;
        if (name.empty())
            return cur.atEnd();
        std::string value;
        if (!cur.next(value))
            return false;
        values.emplace_back(std::move(name), std::move(value));
    }
}

// Reads `size` bytes at `offset`; false when the file ends before.
bool readAt(std::ifstream& in, std::uint64_t offset, std::uint64_t size, std::string& out) {
    in.clear();
    if (!in.seekg(static_cast<std::streamoff>(offset)))
        return false;
    out.resize(static_cast<std::size_t>(size));
    in.read(out.data(), static_cast<std::streamsize>(size));
    return static_cast<std::uint64_t>(in.gcount()) == size;
}

std::uint64_t littleEndian(std::string_view bytes, std::size_t at, int size) {
    std::uint64_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

// The bytes of the section ".mv_version" of a 64-bit little-endian ELF file, where the build
// puts the block; nullopt for any other file, or when a header does not fit the file.
std::optional<std::string> versionSection(std::ifstream& in) {
    constexpr std::size_t kHeaderSize = 64, kSectionHeaderSize = 64;
    constexpr std::uint64_t kMaxSectionCount = 4096, kMaxNamesSize = 1 << 20;
    constexpr std::string_view kSectionName(".mv_version\0", 12);
    std::string header;
    if (!readAt(in, 0, kHeaderSize, header) ||
        header.compare(0, 4,
                       "\x7f"
                       "ELF") != 0 ||
        header[4] != 2 || header[5] != 1)
        return std::nullopt;
    const std::uint64_t tableAt = littleEndian(header, 0x28, 8);
    const std::uint64_t entrySize = littleEndian(header, 0x3A, 2);
    const std::uint64_t count = littleEndian(header, 0x3C, 2);
    const std::uint64_t namesIndex = littleEndian(header, 0x3E, 2);
    if (entrySize != kSectionHeaderSize || count == 0 || count > kMaxSectionCount ||
        namesIndex >= count)
        return std::nullopt;
    std::string table;
    if (!readAt(in, tableAt, count * entrySize, table))
        return std::nullopt;
    const auto sectionAt = [&](std::uint64_t index) {
        return std::string_view(table).substr(static_cast<std::size_t>(index * entrySize),
                                              kSectionHeaderSize);
    };
    const std::string_view names = sectionAt(namesIndex);
    const std::uint64_t namesSize = littleEndian(names, 0x20, 8);
    std::string nameBytes;
    if (namesSize > kMaxNamesSize ||
        !readAt(in, littleEndian(names, 0x18, 8), namesSize, nameBytes))
        return std::nullopt;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::string_view section = sectionAt(i);
        const std::uint64_t nameAt = littleEndian(section, 0, 4);
        if (nameAt >= nameBytes.size() ||
            std::string_view(nameBytes).substr(static_cast<std::size_t>(nameAt),
                                               kSectionName.size()) != kSectionName)
            continue;
        const std::uint64_t size = littleEndian(section, 0x20, 8);
        std::string bytes;
        if (size > kVersionMaxPayload + 12 ||
            !readAt(in, littleEndian(section, 0x18, 8), size, bytes))
            return std::nullopt;
        return bytes;
    }
    return std::nullopt;
}

std::optional<std::string> valueOf(const std::vector<std::pair<std::string, std::string>>& values,
                                   std::string_view name) {
    for (const auto& [n, v] : values)
        if (n == name)
            return v;
    return std::nullopt;
}

} // namespace

std::optional<VersionBlock> VersionBlock::fromBytes(std::string_view bytes) {
    const std::string m = marker();
    for (std::size_t at = bytes.find(m); at != std::string_view::npos; at = bytes.find(m, at + 1)) {
        const std::size_t lenAt = at + m.size();
        if (bytes.size() - lenAt < 4)
            break;
        std::uint32_t len = 0;
        for (int i = 3; i >= 0; --i)
            len =
                (len << 8) | static_cast<std::uint8_t>(bytes[lenAt + static_cast<std::size_t>(i)]);
        if (len == 0 || len > kVersionMaxPayload || bytes.size() - lenAt - 4 < len)
            continue;
        VersionBlock block;
        if (parsePayload(bytes.substr(lenAt + 4, len), block.language_, block.values_))
            return block;
    }
    return std::nullopt;
}

std::optional<VersionBlock> VersionBlock::fromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    // A deliverable's block is in its own section: only the headers and that section are
    // read. Any other file, or a section without a good block, is searched whole.
    if (const auto section = versionSection(in)) {
        if (auto block = fromBytes(*section))
            return block;
    }
    in.clear();
    in.seekg(0);
    // Read in large blocks: a program file is tens of megabytes.
    std::string bytes;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    return fromBytes(bytes);
}

std::string VersionBlock::value(std::string_view name) const {
    return valueOf(values_, name).value_or(std::string());
}

std::optional<std::string> VersionBlock::query(std::string_view subBlock) const {
    constexpr std::string_view prefix = "\\StringFileInfo\\";
    if (subBlock.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    subBlock.remove_prefix(prefix.size());
    const std::size_t slash = subBlock.find('\\');
    if (slash == std::string_view::npos || subBlock.substr(0, slash) != language_)
        return std::nullopt;
    return valueOf(values_, subBlock.substr(slash + 1));
}

std::string readVersionValue(const std::string& path, std::string_view name) {
    const auto block = VersionBlock::fromFile(path);
    return block ? block->value(name) : std::string();
}

} // namespace mv
