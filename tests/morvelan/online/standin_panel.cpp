// A stand-in for a controller's service library: both entry points, the handle each received,
// and what it does with the link while it "runs its panel": keep it, close it and open a new
// one to the same station, or close it and hand back none. A test sets the behaviour and reads
// the record through StandInControl (it loads the same file the program loads).
#include "portwire/include/Portwire.h"

#include <cstdint>

extern "C" {

struct StandInControlBlock {
    int mode = 0; // 0 keep the link, 1 reopen it, 2 close it and hand back 0
    std::uint32_t ip = 0;
    int port = 0;
    int calls = 0;
    int lastEntry = 0; // 1 StartDLL, 2 StartDLL2
    int lastArgument = 0;
    // Called while the panel "runs" (a test ticks the frame's poll timer there).
    void (*during)(void* context) = nullptr;
    void* context = nullptr;
};

__attribute__((visibility("default"))) StandInControlBlock* StandInControl();
__attribute__((visibility("default"))) void StartDLL(int handle);
__attribute__((visibility("default"))) void StartDLL2(int* handle);

}

namespace {

StandInControlBlock block;

int RunPanel(int handle) {
    ++block.calls;
    block.lastArgument = handle;
    if (block.during)
        block.during(block.context);
    switch (block.mode) {
    case 1:
        A_Close(static_cast<LinkHandle>(handle));
        return static_cast<int>(A_OpenNet_NoReadID(block.ip, block.port));
    case 2:
        A_Close(static_cast<LinkHandle>(handle));
        return 0;
    default:
        return handle;
    }
}

} // namespace

StandInControlBlock* StandInControl() {
    return &block;
}

void StartDLL(int handle) {
    block.lastEntry = 1;
    RunPanel(handle);
}

void StartDLL2(int* handle) {
    block.lastEntry = 2;
    *handle = RunPanel(*handle);
}
