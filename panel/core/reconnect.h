// The panel's reconnect machine as one pure function: from the state, the counter, the
// progress text, the settings and this tick's probe or open result to the next state and the
// actions the panel carries out. A 1000 ms timer drives it (see the panel dialog).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace x740panel {

// States.
inline constexpr int kReconnectIdle = 0;
inline constexpr int kReconnectStart = 100;
inline constexpr int kReconnectDots = 101;
inline constexpr int kReconnectChoose = 102;
inline constexpr int kReconnectProbe = 105;
inline constexpr int kReconnectOpenNet = 106;
inline constexpr int kReconnectCheck = 110;
inline constexpr int kReconnectOpenCom = 120;

// Ticks of the dots shown before connecting (the counter counts down from this to 0).
inline constexpr int kReconnectDotTicks = 5;
// The controller's service port.
inline constexpr int kServicePort = 32000;
// A port value below this is a COM port number; from it on, an IPv4 address.
inline constexpr std::uint32_t kFirstNetworkPort = 256;
// Pause between a reachable probe and the open.
inline constexpr int kReachableSettleMs = 500;

inline constexpr const char* kReconnectFailedLine = "E\tError connecting to modul";

inline bool IsComPort(std::uint32_t port) { return port < kFirstNetworkPort; }

struct ReconnectState {
    int state = kReconnectIdle;
    int counter = 0;
    std::string progress;
};

// What the adapter must find out before the tick: nothing, a probe with 1 s, A_OpenNet
// (port, 32000), A_Open (port), or whether the handle is nonzero.
enum class ReconnectIo { None, Probe, OpenNet, OpenCom, CheckHandle };
ReconnectIo ReconnectIoFor(int state);

struct ReconnectAction {
    enum Kind {
        AddLog,          // text: a new log line
        ReplaceLastLine, // text: replaces the last log line
        CreateProbe,     // a probe for the port
        DiscardProbe,
        Wait,            // ms
        SetComTimeout,   // the write time-out on the new handle
        EnableControls,
    };
    Kind kind;
    std::string text;
    int ms = 0;

    bool operator==(const ReconnectAction&) const = default;
};

struct ReconnectStep {
    ReconnectState next;
    std::vector<ReconnectAction> actions;
};

// One tick. ioOk is this tick's result of ReconnectIoFor(state): probe reachable, open
// returned a handle, handle nonzero; ignored for the other states. The wait cursor is held
// while the resulting state is not idle.
ReconnectStep ReconnectTick(const ReconnectState& current, int reconnectTimeout,
                            std::uint32_t port, bool ioOk);

} // namespace x740panel
