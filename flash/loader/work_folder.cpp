#include "flash/loader/work_folder.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace flash {

namespace {

// Empties the directory open as dirFd (the descriptor is consumed).
bool EmptyDirectory(int dirFd, int depth) {
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return false;
    }
    bool ok = depth < 64;
    std::vector<std::string> names;
    while (ok) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            ok = errno == 0;
            break;
        }
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    const int fd = ::dirfd(dir);
    for (const std::string& name : names) {
        if (!ok) {
            break;
        }
        struct stat st {};
        if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            ok = errno == ENOENT;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            const int child =
                ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            ok = child >= 0 && EmptyDirectory(child, depth + 1) &&
                 ::unlinkat(fd, name.c_str(), AT_REMOVEDIR) == 0;
        } else {
            ok = ::unlinkat(fd, name.c_str(), 0) == 0;
        }
    }
    ::closedir(dir);
    return ok;
}

} // namespace

bool RemoveTree(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return errno == ENOENT;
    }
    if (!S_ISDIR(st.st_mode)) {
        return ::unlink(path.c_str()) == 0;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 || !EmptyDirectory(fd, 0)) {
        return false;
    }
    return ::rmdir(path.c_str()) == 0;
}

bool CWorkFolder::Make() {
    Remove();
    const char* base = std::getenv("TMPDIR");
    std::string pattern = (base && *base) ? base : "/tmp";
    pattern += "/X740Flash.XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) {
        return false;
    }
    m_Path = buffer.data();
    return true;
}

void CWorkFolder::Remove() {
    if (m_Path.empty()) {
        return;
    }
    RemoveTree(m_Path);
    m_Path.clear();
}

} // namespace flash
