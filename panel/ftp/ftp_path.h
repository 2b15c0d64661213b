// Path helpers of the FTP code.
#pragma once

#include <string>
#include <string_view>

namespace ftp {

// Makes the path end in exactly the separator ('/' or '\'): a different trailing separator is
// replaced, none is appended; an empty path becomes the separator.
void EnsureTrailingSeparator(std::string& path, char separator);

// The last component of a remote path (after its last '/').
std::string_view BaseName(std::string_view path);

// True for a name a download may use locally: not empty, not "." or "..", no '/' or '\'.
bool IsPlainFileName(std::string_view name);

} // namespace ftp
