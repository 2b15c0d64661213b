// The hand-over to a module's service library: a plug-in of the program folder
// ("<program folder>/<name>.so") whose entry point runs the library's own panel over the
// program's link. The library is loaded for one call only.
#pragma once

#include <functional>
#include <string>

namespace morvelan {

// True when a service library name names a file of the program folder (no path, no "..").
bool IsPlainLibraryName(const std::string& name);

// Loads "<programDir>/<name>.so" (RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE), looks the entry point
// `symbol` up and, when it is there, gives its address to `call`; unloads the library again.
// Returns an empty text when the library loaded (whether or not the entry was found), else the
// loader's reason. A name that is not a plain file name fails as a missing file would.
std::string CallServiceLibrary(const std::string& programDir, const std::string& name,
                               const char* symbol, const std::function<void(void* entry)>& call);

} // namespace morvelan
