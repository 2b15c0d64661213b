#include "panel/core/reconnect.h"

#include <algorithm>

namespace x740panel {
namespace {

using A = ReconnectAction;

// Counts down one failed tick; true when the counter was 0 before (no attempt left).
bool Exhausted(ReconnectState& s) { return s.counter-- <= 0; }

void Dot(ReconnectStep& step) {
    step.next.progress += ".";
    step.actions.push_back({A::ReplaceLastLine, step.next.progress});
}

void Fail(ReconnectStep& step) {
    step.actions.push_back({A::AddLog, kReconnectFailedLine});
    step.actions.push_back({A::EnableControls, {}});
    step.next.state = kReconnectIdle;
}

} // namespace

ReconnectIo ReconnectIoFor(int state) {
    switch (state) {
    case kReconnectProbe:
        return ReconnectIo::Probe;
    case kReconnectOpenNet:
        return ReconnectIo::OpenNet;
    case kReconnectOpenCom:
        return ReconnectIo::OpenCom;
    case kReconnectCheck:
        return ReconnectIo::CheckHandle;
    default:
        return ReconnectIo::None;
    }
}

ReconnectStep ReconnectTick(const ReconnectState& current, int reconnectTimeout,
                            std::uint32_t port, bool ioOk) {
    ReconnectStep step{current, {}};
    ReconnectState& s = step.next;
    switch (current.state) {
    case kReconnectStart:
        step.actions.push_back({A::AddLog, "Connecting to X740 "});
        s.progress = "Please Wait ";
        step.actions.push_back({A::AddLog, s.progress});
        s.counter = kReconnectDotTicks;
        s.state = kReconnectDots;
        break;
    case kReconnectDots:
        Dot(step);
        if (Exhausted(s)) {
            s.state = kReconnectChoose;
        }
        break;
    case kReconnectChoose:
        // A time-out below 0 counts as 0: one attempt, and the reconnect always ends.
        s.counter = std::max(0, reconnectTimeout);
        if (IsComPort(port)) {
            s.state = kReconnectOpenCom;
        } else {
            step.actions.push_back({A::CreateProbe, {}});
            s.state = kReconnectProbe;
        }
        break;
    case kReconnectProbe:
        if (ioOk) {
            step.actions.push_back({A::DiscardProbe, {}});
            step.actions.push_back({A::Wait, {}, kReachableSettleMs});
            s.state = kReconnectOpenNet;
            break;
        }
        Dot(step);
        if (Exhausted(s)) {
            step.actions.push_back({A::DiscardProbe, {}});
            Fail(step);
        }
        break;
    case kReconnectOpenNet:
        if (ioOk) {
            step.actions.push_back({A::SetComTimeout, {}});
            s.state = kReconnectCheck;
            break;
        }
        Dot(step);
        if (Exhausted(s)) {
            Fail(step);
        }
        break;
    case kReconnectCheck:
        if (ioOk) {
            step.actions.push_back({A::AddLog, "OK"});
            step.actions.push_back({A::EnableControls, {}});
            s.state = kReconnectIdle;
        } else if (Exhausted(s)) {
            Fail(step);
        }
        break;
    case kReconnectOpenCom:
        if (ioOk) {
            step.actions.push_back({A::SetComTimeout, {}});
            step.actions.push_back({A::AddLog, "OK"});
            step.actions.push_back({A::EnableControls, {}});
            s.state = kReconnectIdle;
            break;
        }
        Dot(step);
        if (Exhausted(s)) {
            Fail(step);
        }
        break;
    default:
        break;
    }
    return step;
}

} // namespace x740panel
