#include "morvelan/online/service_library.h"

#include <dlfcn.h>

namespace morvelan {

bool IsPlainLibraryName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos &&
           name.find("..") == std::string::npos && name.find('\0') == std::string::npos;
}

std::string CallServiceLibrary(const std::string& programDir, const std::string& name,
                               const char* symbol, const std::function<void(void* entry)>& call) {
    const std::string file = programDir + "/" + name + ".so";
    if (!IsPlainLibraryName(name))
        return file + ": cannot open shared object file: No such file or directory";
    void* lib = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!lib) {
        const char* why = ::dlerror();
        return why ? why : "cannot load " + file;
    }
    if (void* entry = ::dlsym(lib, symbol)) {
        if (call)
            call(entry);
    }
    ::dlclose(lib);
    return {};
}

} // namespace morvelan
