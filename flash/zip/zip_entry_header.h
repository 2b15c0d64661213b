// One entry of the central directory, and the local header check made before its data is read.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <sys/types.h>
#include <vector>

namespace mv::zip {
class ByteReader;
}

class CZipEntryHeader {
public:
    static constexpr std::uint32_t kCentralSignature = 0x02014B50;  // 50 4B 01 02
    static constexpr std::uint32_t kLocalSignature = 0x04034B50;    // 50 4B 03 04
    static constexpr std::uint32_t kDescriptorSignature = 0x08074B50; // 50 4B 07 08
    static constexpr std::size_t kCentralSize = 46;
    static constexpr std::size_t kLocalSize = 30;

    static constexpr std::uint16_t kFlagEncrypted = 0x0001;
    static constexpr std::uint16_t kFlagDescriptor = 0x0008;
    static constexpr std::uint16_t kFlagUtf8Name = 0x0800;
    static constexpr std::uint16_t kMethodStored = 0;
    static constexpr std::uint16_t kMethodDeflated = 8;

    // Host systems of "version made by" whose external attributes carry a Unix mode.
    static constexpr int kHostUnix = 3;
    static constexpr int kHostMacOsX = 19;

    // Reads one central directory entry at the reader's position. Returns false when the
    // record is cut short or lacks its signature. A name from a system that stores names in
    // the DOS code page is converted to UTF-8; a name flagged as UTF-8, or from any other
    // system, is kept as its bytes.
    bool Read(mv::zip::ByteReader& in);

    bool IsEncrypted() const { return (m_uFlag & kFlagEncrypted) != 0; }
    bool HasDataDescriptor() const { return (m_uFlag & kFlagDescriptor) != 0; }
    // A folder: the name ends with a slash, or the attributes say so.
    bool IsDirectory() const;
    // The modification time as a calendar time of the local zone; -1 when the fields are invalid.
    std::time_t GetTime() const;
    // The permission bits to give the extracted file or folder (see zip_entry_header.cpp).
    mode_t GetSystemMode() const;
    int GetHostSystem() const { return m_uVersionMadeBy >> 8; }

    std::uint32_t m_uSignature = 0;
    std::uint16_t m_uVersionMadeBy = 0;
    std::uint16_t m_uVersionNeeded = 0;
    std::uint16_t m_uFlag = 0;
    std::uint16_t m_uMethod = 0;
    std::uint16_t m_uModTime = 0;
    std::uint16_t m_uModDate = 0;
    std::uint32_t m_uCrc32 = 0;
    std::uint32_t m_uComprSize = 0;
    std::uint32_t m_uUncomprSize = 0;
    std::uint16_t m_uDiskStart = 0;
    std::uint16_t m_uInternalAttr = 0;
    std::uint32_t m_uExternalAttr = 0;
    std::uint32_t m_uOffset = 0;          // of the local header, as stored
    std::uint16_t m_uStoredNameSize = 0;  // name length as stored (before conversion)
    std::string m_szFileName;             // UTF-8
    std::vector<std::uint8_t> m_aExtraField;
    std::string m_szComment;
};

namespace mv::zip {
// Decodes DOS date and time fields to a calendar time of the local zone (-1 when invalid).
std::time_t DosToTime(std::uint16_t date, std::uint16_t time);
} // namespace mv::zip
