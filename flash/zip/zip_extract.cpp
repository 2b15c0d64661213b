// Extraction of one entry below a folder. Every folder of the target is opened relative to
// its parent with O_NOFOLLOW, so neither a stored name nor a link planted in the folder can
// lead the write elsewhere.
#include "flash/zip/zip_archive.h"

#include "flash/zip/zip_names.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kNewFolderMode = 0755;
constexpr mode_t kNewFileMode = 0600;

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset();
            m_fd = other.release();
        }
        return *this;
    }
    int get() const { return m_fd; }
    int release() {
        int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

[[noreturn]] void throwSystem(const std::string& archive, const std::string& what, int err) {
    throw CZipException(CZipException::errNo, archive, what + ": " + std::strerror(err));
}

// Opens (creating when missing) the folder the caller named; it is trusted as given.
UniqueFd openRootFolder(const std::string& folder, const std::string& archive) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0)
        throwSystem(archive, "cannot open folder " + folder, errno);
    return fd;
}

// Opens the folder name inside parent, creating it when missing; never follows a link.
UniqueFd openSubFolder(int parent, const std::string& name, const std::string& shown,
                       const std::string& archive) {
    if (::mkdirat(parent, name.c_str(), kNewFolderMode) != 0 && errno != EEXIST)
        throwSystem(archive, "cannot create folder " + shown, errno);
    UniqueFd fd(::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.get() < 0)
        throwSystem(archive, "cannot open folder " + shown, errno);
    return fd;
}

void writeAll(int fd, const std::uint8_t* data, std::size_t size, const std::string& shown,
              const std::string& archive) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throwSystem(archive, "cannot write " + shown, errno);
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

} // namespace

bool CZipArchive::ExtractDirectory(int folderFd, const std::vector<std::string>& parts,
                                   const CZipEntryHeader& header, const std::string& target) {
    // The caller's own folder keeps its attributes; only folders of the archive get them.
    if (!parts.empty() && ApplyAttributes(folderFd, header) != kCloseOk)
        throwSystem(GetArchivePath(), "cannot set attributes of " + target, errno);
    return true;
}

bool CZipArchive::ExtractFile(int index, const std::string& folder, bool fullPath,
                              const std::string& newName, ZipCallback callback, void* userData,
                              unsigned bufferSize) {
    if (folder.empty() || bufferSize == 0)
        return false;
    if (IsClosed() || m_entry || index < 0 || index >= GetCount())
        return false;
    const CZipEntryHeader& header = m_centralDir[index];
    const std::string& name = newName.empty() ? header.m_szFileName : newName;
    std::vector<std::string> parts;
    if (!mv::zip::SplitEntryPath(name, fullPath, parts))
        ThrowError(mv::zip::kErrBadArchive, "unsafe entry name \"" + name + "\"");
    const bool directory = header.IsDirectory();
    if (!directory && parts.empty())
        ThrowError(mv::zip::kErrBadArchive, "entry without a file name");

    std::string root = folder;
    for (char& c : root)
        if (c == '\\')
            c = '/';
    std::string target = root;
    UniqueFd dir = openRootFolder(root, GetArchivePath());
    const std::size_t folders = directory ? parts.size() : parts.size() - 1;
    for (std::size_t i = 0; i < folders; ++i) {
        target += "/" + parts[i];
        dir = openSubFolder(dir.get(), parts[i], target, GetArchivePath());
    }
    if (directory)
        return ExtractDirectory(dir.get(), parts, header, target);

    const std::string& leaf = parts.back();
    target += "/" + leaf;
    if (!OpenFile(index))
        return false;
    UniqueFd out(::openat(dir.get(), leaf.c_str(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, kNewFileMode));
    if (out.get() < 0) {
        int err = errno;
        AbandonEntry();
        throwSystem(GetArchivePath(), "cannot create " + target, err);
    }
    const CZipEntryHeader entryHeader = header;
    int result = kCloseNotAllRead;
    try {
        std::vector<std::uint8_t> buffer(bufferSize);
        const std::uint64_t total = entryHeader.m_uUncomprSize;
        std::uint64_t done = 0;
        for (;;) {
            std::size_t n = ReadFile(buffer.data(), buffer.size());
            writeAll(out.get(), buffer.data(), n, target, GetArchivePath());
            done += n;
            if (callback && !callback(total, done, userData))
                break;
            if (n < buffer.size())
                break;
        }
        result = EndEntryChecked();
    } catch (...) {
        AbandonEntry();
        out.reset();
        ::unlinkat(dir.get(), leaf.c_str(), 0);
        throw;
    }
    if (result != kCloseOk) {
        out.reset();
        ::unlinkat(dir.get(), leaf.c_str(), 0);
        return false;
    }
    if (ApplyAttributes(out.get(), entryHeader) != kCloseOk)
        return false;
    if (::close(out.release()) != 0)
        throwSystem(GetArchivePath(), "cannot write " + target, errno);
    return true;
}
