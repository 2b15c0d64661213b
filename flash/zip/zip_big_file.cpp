#include "flash/zip/zip_big_file.h"

#include "flash/zip/zip_exception.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CZipBigFile::~CZipBigFile() { Close(); }

void CZipBigFile::Open(const std::string& path) {
    Close();
    if (path.empty() || path.back() == '/')
        throw CZipException(CZipException::errNo, path, "the path names no file");
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);  // a pipe never blocks
    if (fd < 0)
        throw CZipException(CZipException::errNo, path, std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        throw CZipException(CZipException::errNo, path, std::strerror(err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw CZipException(CZipException::errNo, path, "not a regular file");
    }
    m_fd = fd;
    m_length = static_cast<std::uint64_t>(st.st_size);
    m_path = path;
    // The reader walks the data front to back.
    ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

void CZipBigFile::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_length = 0;
}

std::size_t CZipBigFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    if (m_fd < 0)
        throw CZipException(CZipException::errNo, m_path, "the archive is not open");
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::pread(m_fd, out + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw CZipException(CZipException::errNo, m_path, std::strerror(errno));
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}
