// Preloaded into a program the tests run: waits of half a second or more take a
// twenty-fifth of their time, so a run of the real program through its waits for the
// controller takes no seconds, while each wait still lets the simulated controller finish what
// it was sent (a command's quiet gap, a restart). Shorter waits (the transports' own pauses)
// stay as they are.
#include <dlfcn.h>
#include <time.h>

namespace {

constexpr long kQuickFromMs = 500;
constexpr long kQuickDivisor = 25;

using NanosleepFunction = int (*)(const timespec*, timespec*);

} // namespace

extern "C" __attribute__((visibility("default"))) int nanosleep(const timespec* request,
                                                                timespec* remaining) {
    static const auto real = reinterpret_cast<NanosleepFunction>(::dlsym(RTLD_NEXT, "nanosleep"));
    if (request != nullptr && request->tv_sec * 1000 + request->tv_nsec / 1000000 >= kQuickFromMs) {
        const long ms = (request->tv_sec * 1000 + request->tv_nsec / 1000000) / kQuickDivisor;
        const timespec shorter{ms / 1000, (ms % 1000) * 1000000};
        if (remaining != nullptr) {
            *remaining = timespec{};
        }
        return real(&shorter, nullptr);
    }
    return real(request, remaining);
}
