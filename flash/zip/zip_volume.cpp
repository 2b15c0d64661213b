#include "flash/zip/zip_volume.h"

#include "flash/zip/zip_exception.h"

void CZipVolume::Open(const std::string& path, int mode) {
    if (mode != openReadOnly)
        throw CZipException(CZipException::generic, path, "only reading is supported");
    m_file.Open(path);
    m_mode = mode;
    m_currentVolume = -1;
}

void CZipVolume::Close() { m_file.Close(); }

void CZipVolume::ReadExact(std::uint64_t offset, void* buffer, std::size_t size) const {
    if (size == 0)
        return;
    if (offset > GetLength() || size > GetLength() - offset)
        ThrowError(mv::zip::kErrBadArchive, "data runs past the end of the file");
    if (m_file.ReadAt(offset, buffer, size) != size)
        ThrowError(mv::zip::kErrBadArchive, "short read");
}

void CZipVolume::ThrowError(int code, const std::string& detail) const {
    CZipException::Throw(code, GetFilePath(), detail);
}
