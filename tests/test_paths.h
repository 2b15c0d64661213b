// Folders the tests read from. The shared test main sets MV_SOURCE_DIR and MV_PROGRAM_DIR in
// every test program (a caller's own values win).
#pragma once

#include <cstdlib>
#include <string>

namespace mvtest {

// The source tree.
inline std::string SourceDir() {
    const char* dir = std::getenv("MV_SOURCE_DIR");
    return dir ? dir : ".";
}

// The program folder of the build (deliverables, libraries and the installation data).
inline std::string ProgramDir() {
    const char* dir = std::getenv("MV_PROGRAM_DIR");
    return dir ? dir : ".";
}

// The sample installation as shipped in the source tree.
inline std::string SampleDataDir() { return SourceDir() + "/data"; }

} // namespace mvtest
