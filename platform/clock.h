// Monotonic time and sleeping, injectable so that tests of waits and retries run at once.
// Deadlines of real I/O use the system's monotonic time directly, whatever clock is injected.
#pragma once

#include <cstdint>
#include <functional>

namespace mv {

// Milliseconds of a monotonic clock (never the wall clock).
using MonoMs = std::int64_t;

// The system's monotonic time, and the deadline timeoutMs from now (negative counts as 0).
MonoMs monotonicNow();
MonoMs deadlineAfter(int timeoutMs);

// Waits until fd is ready for the poll events or the deadline passes. Returns 1 ready,
// 0 time-out, -1 error or hang-up without the wanted event.
int waitReady(int fd, short events, MonoMs deadline);

class Clock {
public:
    virtual ~Clock() = default;
    virtual MonoMs now() const = 0;
    virtual void sleep(int ms) = 0;
};

// The real clock: CLOCK_MONOTONIC and nanosleep.
class SystemClock final : public Clock {
public:
    MonoMs now() const override;
    void sleep(int ms) override;
};

// A clock for tests: sleep() advances the time at once and records the request.
class FakeClock final : public Clock {
public:
    MonoMs now() const override { return now_; }
    void sleep(int ms) override;
    void advance(int ms) { now_ += ms; }
    // Sum and count of all sleep() calls so far.
    std::int64_t slept() const { return slept_; }
    int sleeps() const { return sleeps_; }

private:
    MonoMs now_ = 1000000;
    std::int64_t slept_ = 0;
    int sleeps_ = 0;
};

// The process-wide clock used where no clock is passed in. Tests may replace it;
// passing nullptr restores the system clock.
Clock& processClock();
void setProcessClock(Clock* clock);

} // namespace mv
