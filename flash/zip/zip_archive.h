// A ZIP archive opened for reading: its central directory, reading of one entry at a time
// (stored or raw deflate, CRC-32 checked) and extraction below a folder.
#pragma once

#include "flash/zip/zip_central_dir.h"
#include "flash/zip/zip_entry_header.h"
#include "flash/zip/zip_exception.h"
#include "flash/zip/zip_memory.h"
#include "flash/zip/zip_volume.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Called after each block written by ExtractFile with the entry's size and the bytes so far;
// returning false stops the extraction.
using ZipCallback = bool (*)(std::uint64_t total, std::uint64_t done, void* userData);

class CZipArchive {
public:
    enum OpenMode : int { zipOpenReadOnly = CZipVolume::openReadOnly };
    static constexpr unsigned kDefaultBufferSize = 65535;
    // Compressed data is read from the archive in pieces of this size.
    static constexpr std::size_t kReadBufferSize = 256 * 1024;

    // CloseFile results.
    static constexpr int kCloseOk = 1;
    static constexpr int kCloseNotAllRead = -1;
    static constexpr int kCloseNoAttributes = -2;

    CZipArchive();
    ~CZipArchive();
    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;

    // Opens the archive and reads its central directory (mode 0). Does nothing when an archive
    // is already open. volumeSize is for spanned archives, which are not read. Throws a
    // CZipException (cause 18: no end of central directory; 10: bad or unsupported archive;
    // 4: the file cannot be opened).
    void Open(const std::string& name, int mode = zipOpenReadOnly, int volumeSize = 0);
    bool IsClosed() const { return !m_volume.IsOpen(); }
    // Closes the archive file and frees the directory (and an open entry).
    void Close(bool afterException = false);

    int GetCount() const { return m_centralDir.GetCount(); }
    // Copies entry index into header; false when the index is out of range.
    bool GetFileInfo(CZipEntryHeader& header, int index) const;
    const std::string& GetGlobalComment() const { return m_centralDir.m_szComment; }
    const CZipCentralDir& GetCentralDir() const { return m_centralDir; }
    const std::string& GetArchivePath() const { return m_volume.GetFilePath(); }

    // Opens entry index for reading. False when the index is out of range, no archive is open,
    // an entry is already open, or the entry is encrypted (no password is carried). A local
    // header that does not match the directory, or a method other than stored or deflated,
    // throws cause 10.
    bool OpenFile(int index);
    // Reads up to size bytes of the open entry; fewer only at its end. Damaged data throws:
    // a zlib error with its cause, cause 10 for data longer than the entry's size.
    std::size_t ReadFile(void* buffer, std::size_t size);
    // Ends reading. When all data was read, a size or CRC-32 that differs from the header
    // throws (cause 10, 11). Returns 1, -1 when not all data was read, or -2 when the DOS
    // time and attributes could not be given to fileName (when a name is given).
    int CloseFile(const std::string& fileName = {});

    // Extracts entry index below folder: with fullPath the stored path, else the file name
    // only; newName replaces the stored name. Folders are created, never left through: a name
    // that is absolute, has a drive letter or a ".." component throws cause 10, and no
    // symbolic link is followed. An operating system failure throws cause 4. Returns false when
    // folder is empty, bufferSize is 0, the entry cannot be opened or the callback stops it.
    bool ExtractFile(int index, const std::string& folder, bool fullPath = true,
                     const std::string& newName = {}, ZipCallback callback = nullptr,
                     void* userData = nullptr, unsigned bufferSize = kDefaultBufferSize);

private:
    struct Entry;

    [[noreturn]] void ThrowError(int code, const std::string& detail = {}) const;
    int EndEntryChecked();
    void AbandonEntry();
    void FeedInput();
    void FinishStream();
    void CheckDescriptor(const CZipEntryHeader& header);
    int ApplyAttributes(int fd, const CZipEntryHeader& header) const;
    bool ExtractDirectory(int folderFd, const std::vector<std::string>& parts,
                          const CZipEntryHeader& header, const std::string& target);

    CZipVolume m_volume;
    CZipCentralDir m_centralDir;
    std::unique_ptr<Entry> m_entry;
    std::vector<std::uint8_t> m_readBuffer;
};
