#include "flash/zip/zip_central_dir.h"

#include "flash/zip/byte_reader.h"
#include "flash/zip/zip_exception.h"
#include "flash/zip/zip_volume.h"

#include <algorithm>
#include <optional>

using mv::zip::ByteReader;
using mv::zip::kErrBadArchive;
using mv::zip::kErrNoCentralDir;

namespace {

constexpr std::uint32_t kSizeMarker = 0xFFFFFFFF;  // a ZIP64 size or offset follows elsewhere
constexpr std::uint16_t kDiskMarker = 0xFFFF;
constexpr std::uint8_t kSig[4] = {0x50, 0x4B, 0x05, 0x06};

std::uint16_t readU16(const CZipVolume& volume, std::uint64_t offset) {
    std::uint8_t b[2];
    volume.ReadExact(offset, b, 2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

} // namespace

void CZipCentralDir::Clear() {
    *this = CZipCentralDir();
}

// Searches backwards in pieces of the storage's chunk size that overlap by 3 bytes. An end
// record whose comment ends exactly at the end of the file wins; otherwise the last signature
// in the file is taken (a signature inside the comment itself must not hide the real record).
std::uint64_t CZipCentralDir::FindEndRecord(const CZipVolume& volume) const {
    const std::uint64_t length = volume.GetLength();
    const std::uint64_t floor = length > kEndSize + kMaxCommentSize ? length - (kEndSize + kMaxCommentSize) : 0;
    const std::size_t chunk = volume.GetChunkSize();
    std::vector<std::uint8_t> buffer(chunk + 3);
    std::optional<std::uint64_t> first;
    std::uint64_t end = length;
    while (end > floor) {
        std::uint64_t begin = end - std::min<std::uint64_t>(chunk, end - floor);
        std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(end + 3, length) - begin);
        if (volume.Read(begin, buffer.data(), size) != size)
            volume.ThrowError(kErrBadArchive, "short read while searching the end record");
        for (std::size_t i = size >= 4 ? size - 4 + 1 : 0; i-- > 0;) {
            if (!std::equal(kSig, kSig + 4, buffer.data() + i))
                continue;
            std::uint64_t pos = begin + i;
            if (!first)
                first = pos;
            if (pos + kEndSize <= length && pos + kEndSize + readU16(volume, pos + 20) == length)
                return pos;
        }
        end = begin;
    }
    if (!first)
        volume.ThrowError(kErrNoCentralDir, "end of central directory not found");
    return *first;
}

void CZipCentralDir::Read(const CZipVolume& volume) {
    Clear();
    const std::uint64_t pos = FindEndRecord(volume);
    std::uint8_t record[kEndSize];
    volume.ReadExact(pos, record, kEndSize);
    ByteReader in(record, kEndSize);
    in.u32();
    m_uThisVolume = in.u16();
    m_uDirVolume = in.u16();
    m_uVolumeEntries = in.u16();
    m_uEntries = in.u16();
    m_uDirSize = in.u32();
    m_uDirOffset = in.u32();
    std::uint16_t commentSize = in.u16();
    m_szComment.resize(commentSize);
    volume.ReadExact(pos + kEndSize, m_szComment.data(), commentSize);

    if (pos >= kZip64LocatorSize) {
        std::uint8_t b[4];
        volume.ReadExact(pos - kZip64LocatorSize, b, 4);
        if ((b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24)) ==
            kZip64LocatorSignature)
            volume.ThrowError(kErrBadArchive, "ZIP64 archives are not supported");
    }
    if (m_uThisVolume != 0 || m_uDirVolume != 0)
        volume.ThrowError(kErrBadArchive, "spanned and split archives are not supported");
    if (m_uVolumeEntries != m_uEntries)
        volume.ThrowError(kErrBadArchive, "entry counts differ");
    if (static_cast<std::uint64_t>(m_uDirOffset) + m_uDirSize > pos)
        volume.ThrowError(kErrBadArchive, "central directory overlaps its end record");
    m_uBytesBefore = pos - m_uDirSize - m_uDirOffset;
    if ((m_uDirSize == 0) != (m_uEntries == 0))
        volume.ThrowError(kErrBadArchive, "central directory size and entry count disagree");
    if (static_cast<std::uint64_t>(m_uEntries) * CZipEntryHeader::kCentralSize > m_uDirSize)
        volume.ThrowError(kErrBadArchive, "central directory too small for its entries");
    ReadHeaders(volume);
}

void CZipCentralDir::ReadHeaders(const CZipVolume& volume) {
    std::vector<std::uint8_t> dir(m_uDirSize);
    const std::uint64_t start = GetDirectoryStart();
    volume.ReadExact(start, dir.data(), dir.size());
    ByteReader in(dir.data(), dir.size());
    m_headers.resize(m_uEntries);
    for (auto& header : m_headers) {
        if (!header.Read(in))
            volume.ThrowError(kErrBadArchive, "bad central directory entry");
        if (header.m_uDiskStart == kDiskMarker || header.m_uComprSize == kSizeMarker ||
            header.m_uUncomprSize == kSizeMarker || header.m_uOffset == kSizeMarker)
            volume.ThrowError(kErrBadArchive, "ZIP64 entries are not supported");
        if (header.m_uDiskStart != 0)
            volume.ThrowError(kErrBadArchive, "entry on another volume");
        if (header.m_uOffset + m_uBytesBefore + CZipEntryHeader::kLocalSize > start)
            volume.ThrowError(kErrBadArchive, "local header offset out of range");
    }
}
