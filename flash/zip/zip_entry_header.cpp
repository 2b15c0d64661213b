#include "flash/zip/zip_entry_header.h"

#include "flash/zip/byte_reader.h"
#include "flash/zip/zip_names.h"

#include <sys/stat.h>

namespace {

constexpr std::uint32_t kDosReadOnly = 0x01;
constexpr std::uint32_t kDosDirectory = 0x10;
constexpr mode_t kFileMode = 0644;
constexpr mode_t kFolderMode = 0755;
constexpr mode_t kWriteBits = 0222;
constexpr mode_t kPermissionBits = 0777;
// Always kept, so that later entries can be written and the work folder removed.
constexpr mode_t kOwnerFile = 0600;
constexpr mode_t kOwnerFolder = 0700;

// Hosts of "version made by" whose archivers store names in the DOS code page: FAT, OS/2
// HPFS, NTFS (numbered 10, and 11 by some archivers) and VFAT. Every other host (Unix, OS X,
// ...) stores the bytes of its own names, kept as they are.
bool StoresDosNames(int host) {
    return host == 0 || host == 6 || host == 10 || host == 11 || host == 14;
}

} // namespace

bool CZipEntryHeader::Read(mv::zip::ByteReader& in) {
    m_uSignature = in.u32();
    m_uVersionMadeBy = in.u16();
    m_uVersionNeeded = in.u16();
    m_uFlag = in.u16();
    m_uMethod = in.u16();
    m_uModTime = in.u16();
    m_uModDate = in.u16();
    m_uCrc32 = in.u32();
    m_uComprSize = in.u32();
    m_uUncomprSize = in.u32();
    std::uint16_t nameSize = in.u16();
    std::uint16_t extraSize = in.u16();
    std::uint16_t commentSize = in.u16();
    m_uDiskStart = in.u16();
    m_uInternalAttr = in.u16();
    m_uExternalAttr = in.u32();
    m_uOffset = in.u32();
    std::string name = in.text(nameSize);
    m_aExtraField = in.bytes(extraSize);
    m_szComment = in.text(commentSize);
    if (!in.ok() || m_uSignature != kCentralSignature)
        return false;
    m_uStoredNameSize = nameSize;
    const bool dosName = !(m_uFlag & kFlagUtf8Name) && StoresDosNames(GetHostSystem());
    m_szFileName = dosName ? mv::zip::Cp437ToUtf8(name) : name;
    return true;
}

bool CZipEntryHeader::IsDirectory() const {
    if (!m_szFileName.empty() && (m_szFileName.back() == '/' || m_szFileName.back() == '\\'))
        return true;
    int host = GetHostSystem();
    if ((host == kHostUnix || host == kHostMacOsX) && (m_uExternalAttr >> 16) != 0)
        return S_ISDIR(m_uExternalAttr >> 16);
    return (m_uExternalAttr & kDosDirectory) != 0;
}

std::time_t CZipEntryHeader::GetTime() const { return mv::zip::DosToTime(m_uModDate, m_uModTime); }

// DOS attributes: read-only clears the write bits. Unix modes: only the permission bits are
// kept (never a link, device or set-id bit). Owner read and write (and search on folders)
// always stay.
mode_t CZipEntryHeader::GetSystemMode() const {
    bool folder = IsDirectory();
    mode_t mode;
    int host = GetHostSystem();
    if ((host == kHostUnix || host == kHostMacOsX) && (m_uExternalAttr >> 16) != 0) {
        mode = static_cast<mode_t>(m_uExternalAttr >> 16) & kPermissionBits;
    } else {
        mode = folder ? kFolderMode : kFileMode;
        if (m_uExternalAttr & kDosReadOnly)
            mode &= ~kWriteBits;
    }
    return mode | (folder ? kOwnerFolder : kOwnerFile);
}

namespace mv::zip {

std::time_t DosToTime(std::uint16_t date, std::uint16_t time) {
    int day = date & 0x1F;
    int month = (date >> 5) & 0x0F;
    int year = 1980 + (date >> 9);
    int seconds = (time & 0x1F) * 2;
    int minutes = (time >> 5) & 0x3F;
    int hours = time >> 11;
    if (day < 1 || month < 1 || month > 12 || hours > 23 || minutes > 59 || seconds > 59)
        return -1;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hours;
    tm.tm_min = minutes;
    tm.tm_sec = seconds;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

} // namespace mv::zip
