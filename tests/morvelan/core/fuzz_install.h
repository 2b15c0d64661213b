// What the document fuzz targets share: one small installation (catalogue, hooks) for the
// whole run, and the file each input is written to before a reader takes it.
#pragma once

#include "fixtures/doc_test_util.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzdoc {

struct Rig {
    doctest::Install install;
    doctest::Hooks hooks{install};
    mvtest::RecordingHooks app;

    // Writes the input as a file of the installation (the cache forgets it first) and
    // returns its path.
    std::string put(const std::string& name, const std::uint8_t* data, std::size_t size) {
        const std::string path = install.dir() + "/" + name;
        mv::iniRemoveFile(path);
        doctest::WriteAll(path, std::string(reinterpret_cast<const char*>(data), size));
        app.messages.clear();
        return path;
    }
};

// The rig lives to the end of the process (its folder is removed at exit).
inline Rig& rig() {
    static Rig* instance = new Rig;
    static const bool removed = [] {
        std::atexit([] { delete instance; });
        return true;
    }();
    (void)removed;
    return *instance;
}

// A broken promise of a reader: the fuzzer stops at the input.
inline void check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace fuzzdoc
