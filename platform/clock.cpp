#include "platform/clock.h"

#include <cerrno>
#include <ctime>

namespace mv {

MonoMs SystemClock::now() const {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<MonoMs>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void SystemClock::sleep(int ms) {
    if (ms <= 0)
        return;
    timespec req{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    timespec rem{};
    while (nanosleep(&req, &rem) != 0 && errno == EINTR)
        req = rem;
}

void FakeClock::sleep(int ms) {
    if (ms < 0)
        ms = 0;
    now_ += ms;
    slept_ += ms;
    ++sleeps_;
}

namespace {
SystemClock g_systemClock;
Clock* g_clock = &g_systemClock;
} // namespace

Clock& processClock() { return *g_clock; }

void setProcessClock(Clock* clock) { g_clock = clock ? clock : &g_systemClock; }

} // namespace mv
