#include "platform/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mv {
namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::size_t kChunk = 65536;

std::string tooLarge(std::uint64_t maxBytes) {
    return maxBytes % kMiB == 0 ? "larger than " + std::to_string(maxBytes / kMiB) + " MiB"
                                : "larger than " + std::to_string(maxBytes) + " bytes";
}

// The reason a stat result cannot be read, with errno set; empty when it can.
std::string refusal(const struct stat& st, std::uint64_t maxBytes) {
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return "not a regular file";
    }
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        errno = EFBIG;
        return tooLarge(maxBytes);
    }
    return {};
}

bool fail(std::string* why, std::string text) {
    const int code = errno;
    if (why)
        *why = std::move(text);
    errno = code;
    return false;
}

// Reads the first `count` bytes, or the whole file when `count` is SIZE_MAX: then up to one
// chunk past the limit, so a file that grew while read is seen. `out` changes only on success.
template <typename Bytes>
bool readFile(const std::string& path, std::uint64_t maxBytes, std::size_t count, Bytes& out,
              std::string* why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fail(why, std::strerror(errno));
    struct stat st {};
    std::string problem = ::fstat(fd, &st) == 0 ? refusal(st, maxBytes) : std::strerror(errno);
    if (problem.empty()) {
        const bool whole = count == SIZE_MAX;
        const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
        Bytes bytes;
        bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, size)));
        char chunk[kChunk];
        for (;;) {
            std::size_t room = kChunk;
            if (!whole)
                room = std::min(room, count - bytes.size());
            if (room == 0)
                break;
            const ssize_t n = ::read(fd, chunk, room);
            if (n == 0)
                break;
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                problem = std::strerror(errno);
                break;
            }
            bytes.insert(bytes.end(), chunk, chunk + n);
            if (whole && bytes.size() > maxBytes) {
                errno = EFBIG;
                problem = tooLarge(maxBytes); // grew while it was read
                break;
            }
        }
        if (problem.empty())
            out = std::move(bytes);
    }
    const int code = errno;
    ::close(fd);
    errno = code;
    return problem.empty() || fail(why, std::move(problem));
}

} // namespace

std::string fileUnreadableReason(const std::string& path, std::uint64_t maxBytes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::strerror(errno);
    if (std::string why = refusal(st, maxBytes); !why.empty())
        return why;
    if (::access(path.c_str(), R_OK) != 0)
        return std::strerror(errno);
    return {};
}

bool canReadRegularFile(const std::string& path) {
    return fileUnreadableReason(path, UINT64_MAX).empty();
}

bool readRegularFile(const std::string& path, std::uint64_t maxBytes, std::string& bytes,
                     std::string* why) {
    return readFile(path, maxBytes, SIZE_MAX, bytes, why);
}

bool readRegularFile(const std::string& path, std::uint64_t maxBytes,
                     std::vector<std::uint8_t>& bytes, std::string* why) {
    return readFile(path, maxBytes, SIZE_MAX, bytes, why);
}

bool readRegularFileStart(const std::string& path, std::size_t count,
                          std::vector<std::uint8_t>& bytes, std::string* why) {
    return readFile(path, UINT64_MAX, count, bytes, why);
}

std::FILE* openRegularFileForWriting(const std::string& path, bool append, std::string* why) {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | (append ? O_APPEND : 0);
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0)
        return fail(why, std::strerror(errno)), nullptr;
    struct stat st {};
    std::string problem = ::fstat(fd, &st) == 0 ? refusal(st, UINT64_MAX) : std::strerror(errno);
    if (problem.empty() && !append && ::ftruncate(fd, 0) != 0)
        problem = std::strerror(errno);
    std::FILE* file = problem.empty() ? ::fdopen(fd, append ? "a" : "w") : nullptr;
    if (file)
        return file;
    if (problem.empty())
        problem = std::strerror(errno);
    const int code = errno;
    ::close(fd);
    errno = code;
    return fail(why, std::move(problem)), nullptr;
}

} // namespace mv
