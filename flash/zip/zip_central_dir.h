// The central directory: the end record's values and the entries in directory order.
#pragma once

#include "flash/zip/zip_entry_header.h"

#include <cstdint>
#include <string>
#include <vector>

class CZipVolume;

class CZipCentralDir {
public:
    static constexpr std::uint32_t kEndSignature = 0x06054B50;       // 50 4B 05 06
    static constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
    static constexpr std::size_t kEndSize = 22;
    static constexpr std::size_t kMaxCommentSize = 0xFFFF;
    static constexpr std::size_t kZip64LocatorSize = 20;

    // Finds the end record within the last 22 + 65535 bytes and reads the whole directory,
    // checking every offset, size and count against the file. Throws a CZipException:
    // cause 18 when there is no end record, cause 10 for anything inconsistent or unsupported
    // (spanned, split or ZIP64 archives).
    void Read(const CZipVolume& volume);
    void Clear();

    int GetCount() const { return static_cast<int>(m_headers.size()); }
    const CZipEntryHeader& operator[](int index) const { return m_headers[static_cast<std::size_t>(index)]; }
    // Bytes in front of the archive (a self-extracting stub), added to every stored offset.
    std::uint64_t GetBytesBefore() const { return m_uBytesBefore; }
    // Where the central directory starts in the file (stub included).
    std::uint64_t GetDirectoryStart() const { return m_uDirOffset + m_uBytesBefore; }

    std::uint16_t m_uThisVolume = 0;
    std::uint16_t m_uDirVolume = 0;
    std::uint16_t m_uVolumeEntries = 0;
    std::uint16_t m_uEntries = 0;
    std::uint32_t m_uDirSize = 0;
    std::uint32_t m_uDirOffset = 0;
    std::string m_szComment;

private:
    std::uint64_t FindEndRecord(const CZipVolume& volume) const;
    void ReadHeaders(const CZipVolume& volume);

    std::uint64_t m_uBytesBefore = 0;
    std::vector<CZipEntryHeader> m_headers;
};
