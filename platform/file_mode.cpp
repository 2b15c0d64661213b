#include "platform/file_mode.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace mv {

mode_t CurrentUmask() {
    // umask() can only be read by setting it, which would race with files other threads
    // create at that moment; the kernel tells it without that.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        unsigned mask = 0;
        if (std::sscanf(line.c_str(), "Umask: %o", &mask) == 1)
            return static_cast<mode_t>(mask & 0777);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

mode_t ReplacementMode(const std::string& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        return old.st_mode & 07777;
    return 0666 & ~CurrentUmask();
}

bool ApplyReplacementMode(int fd, const std::string& target) {
    return ::fchmod(fd, ReplacementMode(target)) == 0;
}

} // namespace mv
