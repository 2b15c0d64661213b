// Reading a file that comes from outside the program. Only a regular file is read, opened
// without blocking (a named pipe never holds the reader up) and checked on the descriptor that
// is read; a file larger than the caller's limit is refused before anything is allocated, and
// one that grows past it while read is refused too. So a folder, a device, a pipe or a huge
// file gives a reason, never a hang or an allocation beyond the limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace mv {

// Why `path` cannot be read as a regular file of at most `maxBytes`: empty when it can; else
// "not a regular file", "larger than N MiB" (N bytes for a limit that is not whole MiB) or the
// system's text ("No such file or directory", "Permission denied", ...). The path is taken as
// it stands.
std::string fileUnreadableReason(const std::string& path, std::uint64_t maxBytes);

// Whether `path` is a regular file this process may read, of any size. Nothing is opened, so
// a pipe never holds the question up.
bool canReadRegularFile(const std::string& path);

// Reads a regular file of at most `maxBytes` whole. False with the reason in `why` (texts as
// above) and errno set: EISDIR for a folder, EINVAL for another file that is not regular,
// EFBIG beyond the limit, else the system's code.
bool readRegularFile(const std::string& path, std::uint64_t maxBytes, std::string& bytes,
                     std::string* why = nullptr);
bool readRegularFile(const std::string& path, std::uint64_t maxBytes,
                     std::vector<std::uint8_t>& bytes, std::string* why = nullptr);

// Reads the first `count` bytes of a regular file of any size (fewer when it is shorter).
bool readRegularFileStart(const std::string& path, std::size_t count,
                          std::vector<std::uint8_t>& bytes, std::string* why = nullptr);

// Opens a file for writing without blocking: created when missing (0666 less the umask), then
// emptied, or with `append` written at its end. Only a regular file is written: for anything
// else nullptr, with the reason in `why` ("not a regular file" or the system's text) and errno
// set. The caller closes the stream.
std::FILE* openRegularFileForWriting(const std::string& path, bool append,
                                     std::string* why = nullptr);

} // namespace mv
