#include "flash/zip/zip_archive.h"

#include "flash/zip/byte_reader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

using mv::zip::ByteReader;
using mv::zip::kErrBadArchive;
using mv::zip::kErrBadCrc;

// The state of the entry being read.
struct CZipArchive::Entry {
    int index = -1;
    CZipEntryHeader header;
    std::uint64_t dataStart = 0;     // first byte of compressed data in the file
    std::uint64_t dataPos = 0;       // next compressed byte to read
    std::uint64_t comprLeft = 0;     // compressed bytes not yet read from the file
    std::uint64_t uncomprLeft = 0;   // bytes the entry may still deliver
    std::uint64_t delivered = 0;
    std::uint32_t crc = 0;
    bool ended = false;              // inflate reported the end of the stream
    bool inflating = false;          // stream initialised
    z_stream stream{};
    mv::zip::ZipMemory memory;

    ~Entry() {
        if (inflating)
            inflateEnd(&stream);
    }
};

CZipArchive::CZipArchive() = default;

CZipArchive::~CZipArchive() { Close(true); }

void CZipArchive::ThrowError(int code, const std::string& detail) const {
    m_volume.ThrowError(code, detail);
}

void CZipArchive::Open(const std::string& name, int mode, int /*volumeSize*/) {
    if (!IsClosed())
        return;
    m_volume.Open(name, mode);
    try {
        m_centralDir.Read(m_volume);
        m_readBuffer.resize(kReadBufferSize);
    } catch (...) {
        Close(true);
        throw;
    }
}

void CZipArchive::Close(bool /*afterException*/) {
    AbandonEntry();
    m_centralDir.Clear();
    m_volume.Close();
    m_readBuffer.clear();
    m_readBuffer.shrink_to_fit();
}

bool CZipArchive::GetFileInfo(CZipEntryHeader& header, int index) const {
    if (index < 0 || index >= GetCount())
        return false;
    header = m_centralDir[index];
    return true;
}

bool CZipArchive::OpenFile(int index) {
    if (IsClosed() || m_entry || index < 0 || index >= GetCount())
        return false;
    const CZipEntryHeader& central = m_centralDir[index];
    const std::uint64_t limit = m_centralDir.GetDirectoryStart();
    const std::uint64_t pos = central.m_uOffset + m_centralDir.GetBytesBefore();

    std::uint8_t raw[CZipEntryHeader::kLocalSize];
    m_volume.ReadExact(pos, raw, sizeof raw);
    ByteReader in(raw, sizeof raw);
    std::uint32_t signature = in.u32();
    in.u16();  // version needed
    std::uint16_t flag = in.u16();
    std::uint16_t method = in.u16();
    in.u16();  // time
    in.u16();  // date
    std::uint32_t crc = in.u32();
    std::uint32_t comprSize = in.u32();
    std::uint32_t uncomprSize = in.u32();
    std::uint16_t nameSize = in.u16();
    std::uint16_t extraSize = in.u16();

    if (signature != CZipEntryHeader::kLocalSignature)
        ThrowError(kErrBadArchive, "local header signature missing");
    if (flag != central.m_uFlag || method != central.m_uMethod || nameSize != central.m_uStoredNameSize)
        ThrowError(kErrBadArchive, "local header differs from the central directory");
    if (!(flag & CZipEntryHeader::kFlagDescriptor) &&
        (crc != central.m_uCrc32 || comprSize != central.m_uComprSize ||
         uncomprSize != central.m_uUncomprSize))
        ThrowError(kErrBadArchive, "local header sizes differ from the central directory");
    if (method != CZipEntryHeader::kMethodStored && method != CZipEntryHeader::kMethodDeflated)
        ThrowError(kErrBadArchive, "unsupported compression method " + std::to_string(method));
    const std::uint64_t dataStart = pos + CZipEntryHeader::kLocalSize + nameSize + extraSize;
    if (dataStart > limit || central.m_uComprSize > limit - dataStart)
        ThrowError(kErrBadArchive, "entry data runs past its place");
    if (central.IsEncrypted())
        return false;
    if (method == CZipEntryHeader::kMethodStored && central.m_uComprSize != central.m_uUncomprSize)
        ThrowError(kErrBadArchive, "stored entry with differing sizes");

    auto entry = std::make_unique<Entry>();
    entry->index = index;
    entry->header = central;
    entry->dataStart = dataStart;
    entry->dataPos = dataStart;
    entry->comprLeft = central.m_uComprSize;
    entry->uncomprLeft = central.m_uUncomprSize;
    entry->crc = static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0));
    if (method == CZipEntryHeader::kMethodDeflated) {
        entry->stream.zalloc = &mv::zip::ZipMemory::Alloc;
        entry->stream.zfree = &mv::zip::ZipMemory::Free;
        entry->stream.opaque = &entry->memory;
        // Raw deflate: negative window bits, no zlib header. The macro passes the version text
        // and z_stream size of the library we compiled against. zlib checks both: a hard-coded
        // size from a 32-bit build (56 bytes; 112 here) is refused with a version error.
        int err = inflateInit2(&entry->stream, -MAX_WBITS);
        if (err != Z_OK)
            ThrowError(err, "inflate initialisation failed");
        entry->inflating = true;
    }
    m_entry = std::move(entry);
    return true;
}

std::size_t CZipArchive::ReadFile(void* buffer, std::size_t size) {
    if (!m_entry || size == 0)
        return 0;
    Entry& e = *m_entry;
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size, e.uncomprLeft));
    std::size_t got = 0;
    if (!e.inflating) {
        m_volume.ReadExact(e.dataPos, out, want);
        e.dataPos += want;
        e.comprLeft -= want;
        got = want;
    } else {
        z_stream& s = e.stream;
        // zlib counts in unsigned int: feed the output in pieces it can take.
        while (got < want && !e.ended) {
            FeedInput();
            std::size_t room = std::min<std::size_t>(want - got, 1u << 30);
            s.next_out = out + got;
            s.avail_out = static_cast<uInt>(room);
            int err = inflate(&s, Z_SYNC_FLUSH);
            got += room - s.avail_out;
            if (err == Z_STREAM_END)
                e.ended = true;
            else if (err != Z_OK)
                ThrowError(err, s.msg ? s.msg : "inflate failed");
        }
    }
    e.crc = static_cast<std::uint32_t>(crc32_z(e.crc, out, got));
    e.uncomprLeft -= got;
    e.delivered += got;
    if (e.inflating && e.uncomprLeft == 0 && !e.ended)
        FinishStream();
    return got;
}

// Hands the next piece of compressed data to the stream once it has used up the last one.
void CZipArchive::FeedInput() {
    Entry& e = *m_entry;
    z_stream& s = e.stream;
    if (s.avail_in != 0 || e.comprLeft == 0)
        return;
    const std::size_t piece =
        static_cast<std::size_t>(std::min<std::uint64_t>(m_readBuffer.size(), e.comprLeft));
    m_volume.ReadExact(e.dataPos, m_readBuffer.data(), piece);
    e.dataPos += piece;
    e.comprLeft -= piece;
    s.next_in = m_readBuffer.data();
    s.avail_in = static_cast<uInt>(piece);
}

// All bytes the header announces were delivered: the stream must end here. A stream that
// still yields data is longer than its entry.
void CZipArchive::FinishStream() {
    Entry& e = *m_entry;
    z_stream& s = e.stream;
    std::uint8_t spare[64];
    while (!e.ended) {
        FeedInput();
        s.next_out = spare;
        s.avail_out = sizeof spare;
        int err = inflate(&s, Z_SYNC_FLUSH);
        if (s.avail_out != sizeof spare)
            ThrowError(kErrBadArchive, "entry data longer than its size");
        if (err == Z_STREAM_END)
            e.ended = true;
        else if (err != Z_OK)
            ThrowError(err, s.msg ? s.msg : "inflate failed");
    }
}

// The data descriptor after the data repeats the CRC-32 and sizes; with its optional
// signature the CRC-32 comes 4 bytes later. Only the CRC-32 and the compressed size are
// compared: their places are the same in the 32-bit and 64-bit forms.
void CZipArchive::CheckDescriptor(const CZipEntryHeader& header) {
    const std::uint64_t pos = m_entry->dataStart + header.m_uComprSize;
    std::uint8_t raw[16] = {};
    const std::uint64_t length = m_volume.GetLength();
    std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof raw, length > pos ? length - pos : 0));
    if (size < 12)
        ThrowError(kErrBadArchive, "data descriptor missing");
    m_volume.ReadExact(pos, raw, size);
    ByteReader in(raw, size);
    std::uint32_t first = in.u32();
    if (first == CZipEntryHeader::kDescriptorSignature && size >= 16)
        first = in.u32();
    std::uint32_t comprSize = in.u32();
    if (first != header.m_uCrc32 || comprSize != header.m_uComprSize)
        ThrowError(kErrBadArchive, "data descriptor differs from the central directory");
}

int CZipArchive::EndEntryChecked() {
    if (!m_entry)
        return kCloseNotAllRead;
    Entry& e = *m_entry;
    bool finished = e.inflating ? e.ended : e.comprLeft == 0;
    if (!finished) {
        AbandonEntry();
        return kCloseNotAllRead;
    }
    try {
        if (e.delivered != e.header.m_uUncomprSize)
            ThrowError(kErrBadArchive, "entry data shorter than its size");
        if (e.crc != e.header.m_uCrc32)
            ThrowError(kErrBadCrc, "CRC-32 mismatch in " + e.header.m_szFileName);
        if (e.header.HasDataDescriptor())
            CheckDescriptor(e.header);
    } catch (...) {
        AbandonEntry();
        throw;
    }
    AbandonEntry();
    return kCloseOk;
}

void CZipArchive::AbandonEntry() { m_entry.reset(); }

int CZipArchive::ApplyAttributes(int fd, const CZipEntryHeader& header) const {
    bool ok = ::fchmod(fd, header.GetSystemMode()) == 0;
    std::time_t when = header.GetTime();
    if (when != -1) {
        struct timespec times[2];
        times[0].tv_sec = 0;
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = when;
        times[1].tv_nsec = 0;
        ok = ::futimens(fd, times) == 0 && ok;
    }
    return ok ? kCloseOk : kCloseNoAttributes;
}

int CZipArchive::CloseFile(const std::string& fileName) {
    if (!m_entry)
        return kCloseNotAllRead;
    CZipEntryHeader header = m_entry->header;
    int result = EndEntryChecked();
    if (!fileName.empty()) {
        int fd = ::open(fileName.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        int applied = fd >= 0 ? ApplyAttributes(fd, header) : kCloseNoAttributes;
        if (fd >= 0)
            ::close(fd);
        if (applied != kCloseOk && result == kCloseOk)
            result = kCloseNoAttributes;
    }
    return result;
}
