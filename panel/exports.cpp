// The two entry points of the X740Panel plug-in.
#include "panel/ui/panel_session.h"

#include <cstdint>

namespace {

LinkHandle Run(LinkHandle handle) {
    try {
        return x740panel::RunPanel(handle);
    } catch (...) {
        return handle; // nothing crosses the C boundary
    }
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) void StartDLL(int handle) {
    Run(static_cast<LinkHandle>(handle));
}

__attribute__((visibility("default"))) void StartDLL2(int* handle) {
    if (handle == nullptr) {
        return;
    }
    *handle = static_cast<int>(Run(static_cast<LinkHandle>(*handle)));
}

} // extern "C"
