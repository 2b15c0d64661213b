// The archive file: a read-only descriptor with positioned reads, closed on destruction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CZipBigFile {
public:
    CZipBigFile() = default;
    ~CZipBigFile();
    CZipBigFile(const CZipBigFile&) = delete;
    CZipBigFile& operator=(const CZipBigFile&) = delete;

    // Opens the file for reading. A path with no name, or a file that cannot be opened,
    // throws a CZipException (cause 4) naming the file.
    void Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    const std::string& GetFilePath() const { return m_path; }
    // The length the file had when it was opened.
    std::uint64_t GetLength() const { return m_length; }

    // Reads up to size bytes at offset; returns the count read (short only at the end of the
    // file). A read error of the system throws a CZipException (cause 4).
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const;

private:
    int m_fd = -1;
    std::uint64_t m_length = 0;
    std::string m_path;
};
