// Paths written the platform's way ("Modul\\X.kvn") used on a case-sensitive file system.
#pragma once

#include <string>
#include <string_view>

namespace mv {

// Backslashes become '/'.
std::string toSlashPath(std::string_view path);

// Joins two parts with exactly one '/' between them (either part may end or start with a
// separator of either kind). An empty part gives the other one unchanged.
std::string joinPath(std::string_view dir, std::string_view name);

// The path with '/' separators; when it does not exist as written, each component that is
// missing is looked up in its folder without regard to case (ASCII letters), so "modul/x.KVN"
// finds "Modul/X.kvn". Components that cannot be found are kept as written, so the result
// can still be used to create a file.
std::string resolvePath(std::string_view path);

} // namespace mv
