#include "flash/loader/firmware_trailer.h"

#include <cctype>
#include <charconv>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace flash {

double ParseVersionNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    double value = 0;
    const auto result = std::from_chars(text.data() + i, text.data() + text.size(), value,
                                        std::chars_format::general);
    if (result.ec != std::errc()) {
        return 0;
    }
    return negative ? -value : value;
}

bool ReadFirmwareTrailer(const std::string& path, FirmwareTrailer& trailer) {
    trailer = {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    char bytes[kTrailerSize];
    const bool whole = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= kTrailerSize &&
                       ::pread(fd, bytes, kTrailerSize, st.st_size - kTrailerSize) == kTrailerSize;
    ::close(fd);
    if (!whole) {
        return true;
    }
    trailer.marked = bytes[0] == 'K' && bytes[1] == 'V' && bytes[2] == 'N';
    std::string version(bytes + kTrailerVersionOffset, kTrailerSize - kTrailerVersionOffset);
    version.resize(version.find('\0') == std::string::npos ? version.size() : version.find('\0'));
    trailer.version = ParseVersionNumber(version);
    return true;
}

} // namespace flash
