#include "panel/ftp/ftp_path.h"

namespace ftp {

void EnsureTrailingSeparator(std::string& path, char separator) {
    if (!path.empty() && (path.back() == '/' || path.back() == '\\')) {
        path.back() = separator;
        return;
    }
    path.push_back(separator);
}

std::string_view BaseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos;
}

} // namespace ftp
