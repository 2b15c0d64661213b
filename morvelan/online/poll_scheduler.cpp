#include "morvelan/online/poll_scheduler.h"

namespace morvelan {

int CPollScheduler::Start(int intervalSetting) {
    enabled_ = true;
    interval_ = intervalSetting;
    due_ = clock_.now() + interval_;
    return interval_;
}

TickResult CPollScheduler::Tick(int timerId, bool online, bool frameInFront) {
    TickResult result;
    result.interval = interval_;
    if (!enabled_)
        return result;
    if (!online) {
        enabled_ = false;
        result.action = TickAction::StopAndClose;
        return result;
    }
    if (timerId != kPollTimerId)
        return result;
    due_ = clock_.now() + interval_;
    if (frameInFront)
        Adapt(result);
    result.action = TickAction::Poll;
    return result;
}

void CPollScheduler::Adapt(TickResult& result) {
    if (probeState_ == kProbeOpen) {
        probeCounter_ = 1;
        tickCounter_ = kAdaptationTicks;
        probeState_ = kProbeRunning;
        return;
    }
    if (probeState_ != kProbeRunning)
        return;
    if (tickCounter_ > 0)
        --tickCounter_;
    if (tickCounter_ == 0 && probeCounter_ == 1) {
        interval_ += kIntervalStepMs;
        due_ = clock_.now() + interval_;
        probeState_ = kProbeOpen;
        result.restart = true;
        result.interval = interval_;
    }
}

void CPollScheduler::IdleNotice() {
    if (probeCounter_ > 0 && !Overdue())
        --probeCounter_;
}

} // namespace morvelan
