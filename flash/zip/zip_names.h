// Entry names: code page 437 to UTF-8, and the checks that keep extraction inside its folder.
#pragma once

#include <string>
#include <vector>

namespace mv::zip {

// Converts a name stored in code page 437 (the archive's default) to UTF-8.
std::string Cp437ToUtf8(const std::string& name);

// Splits a stored entry name into the path components to create below the target folder.
// Backslashes count as '/'; empty and "." components are dropped. Returns false (and leaves
// components empty) for a name that could reach outside the folder: an absolute name, a drive
// letter, a ".." component or a NUL byte. With fullPath false only the last component is kept.
bool SplitEntryPath(const std::string& name, bool fullPath, std::vector<std::string>& components);

} // namespace mv::zip
