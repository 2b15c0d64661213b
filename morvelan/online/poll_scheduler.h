// The polling state of online mode: whether ticks of the frame's timer 1 poll, the polling
// interval, and how the interval adapts to the load of the user interface. Fed with go-online,
// ticks, idle notices, pause and resume and the result of each poll, it answers what the frame
// does next. No Qt: time comes from an injected clock, so the adaptation is tested tick by tick.
#pragma once

#include "platform/clock.h"

namespace morvelan {

// The frame's polling timer.
constexpr int kPollTimerId = 1;
// Ticks of one adaptation window and the growth of the interval after a window without idle time.
constexpr int kAdaptationTicks = 4;
constexpr int kIntervalStepMs = 50;
// Idle-probe states: open a new window at the next tick, or a window running (or frozen).
constexpr int kProbeOpen = 0;
constexpr int kProbeRunning = 10;

enum class TickAction {
    PassOn,       // not a polling tick: default handling
    StopAndClose, // online mode was left: kill the timer and close the link
    Poll,         // run the input cycle
};

struct TickResult {
    TickAction action = TickAction::PassOn;
    // The timer is to be started again with `interval` (the interval grew).
    bool restart = false;
    int interval = 0;
};

class CPollScheduler {
public:
    explicit CPollScheduler(const mv::Clock& clock) : clock_(clock) {}

    // Step 2 of going online, also when going online is refused afterwards.
    void ResetIdleProbe() { probeState_ = kProbeOpen; }
    // Polling starts: enabled, the interval is the setting. Returns the period of timer 1.
    int Start(int intervalSetting);
    // A tick of a frame timer. `online` is the application's online flag, `frameInFront` true
    // while the frame itself receives input (no dialog in front of it).
    TickResult Tick(int timerId, bool online, bool frameInFront);
    // The message loop ran out of work (the application's idle time, a modal loop's enter-idle).
    // Counted only while the poll timer is not overdue: a loop that waits for nothing but an
    // overdue tick has no idle time.
    void IdleNotice();
    // Polling stops (failed poll, the tick of going offline).
    void Stop() { enabled_ = false; }

    void Pause() { enabled_ = false; }
    void Resume() { enabled_ = true; }
    bool IsEnabled() const { return enabled_; }

    int Interval() const { return interval_; }
    int IdleProbeState() const { return probeState_; }
    int TickCounter() const { return tickCounter_; }
    int ProbeCounter() const { return probeCounter_; }
    // The next tick is due (or past due) by the clock.
    bool Overdue() const { return clock_.now() >= due_; }

private:
    void Adapt(TickResult& result);

    const mv::Clock& clock_;
    bool enabled_ = false;
    int interval_ = 0;
    int probeState_ = kProbeOpen;
    int tickCounter_ = 0;
    int probeCounter_ = 0;
    mv::MonoMs due_ = 0;
};

} // namespace morvelan
