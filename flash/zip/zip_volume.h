// The storage of an archive: its file, the open mode and the volume it is on.
#pragma once

#include "flash/zip/zip_big_file.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CZipVolume {
public:
    // Open modes. Only reading is carried: the loader never writes an archive.
    enum Mode : int { openReadOnly = 0 };
    static constexpr std::size_t kDefaultChunkSize = 64 * 1024;

    void Open(const std::string& path, int mode);
    void Close();
    bool IsOpen() const { return m_file.IsOpen(); }

    const std::string& GetFilePath() const { return m_file.GetFilePath(); }
    std::uint64_t GetLength() const { return m_file.GetLength(); }
    int GetMode() const { return m_mode; }
    // -1: the archive is neither spanned nor split (the only kind this reader opens).
    int GetCurrentVolume() const { return m_currentVolume; }

    std::size_t GetChunkSize() const { return m_chunkSize; }
    // The size of the pieces read while searching the end of the central directory (at least 4).
    void SetChunkSize(std::size_t size) { m_chunkSize = size < 4 ? 4 : size; }

    // Reads exactly size bytes at offset; a short read throws bad archive data (cause 10).
    void ReadExact(std::uint64_t offset, void* buffer, std::size_t size) const;
    // Reads up to size bytes at offset and returns the count.
    std::size_t Read(std::uint64_t offset, void* buffer, std::size_t size) const {
        return m_file.ReadAt(offset, buffer, size);
    }

    // Throws a CZipException for an internal or zlib error code, naming this archive.
    [[noreturn]] void ThrowError(int code, const std::string& detail = {}) const;

private:
    CZipBigFile m_file;
    int m_mode = openReadOnly;
    int m_currentVolume = -1;
    std::size_t m_chunkSize = kDefaultChunkSize;
};
