#include "platform/os_name.h"

#include <sys/utsname.h>

namespace mv {

std::string operatingSystemName() {
    utsname u{};
    if (::uname(&u) != 0) {
        return "Unknown";
    }
    // Kernel release "6.1.0-18-amd64" gives "6.1".
    std::string release = u.release;
    const std::size_t dot = release.find('.');
    if (dot != std::string::npos) {
        std::size_t end = dot + 1;
        while (end < release.size() && release[end] >= '0' && release[end] <= '9') {
            ++end;
        }
        release.resize(end);
    }
    return std::string(u.sysname) + " " + release;
}

} // namespace mv
