#include "platform/clock.h"

#include <cerrno>
#include <climits>
#include <ctime>
#include <poll.h>

namespace mv {

MonoMs monotonicNow() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<MonoMs>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

MonoMs deadlineAfter(int timeoutMs) { return monotonicNow() + (timeoutMs > 0 ? timeoutMs : 0); }

int waitReady(int fd, short events, MonoMs deadline) {
    for (;;) {
        const MonoMs left = deadline - monotonicNow();
        if (left <= 0)
            return 0;
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, left > INT_MAX ? INT_MAX : static_cast<int>(left));
        if (rc < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (rc == 0)
            continue;  // re-check the clock
        if (p.revents & events)
            return 1;
        return -1;  // POLLERR / POLLHUP / POLLNVAL without the wanted event
    }
}

MonoMs SystemClock::now() const { return monotonicNow(); }

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
