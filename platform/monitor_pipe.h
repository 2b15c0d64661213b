// Client side of the frame monitor pipe: an AF_UNIX SOCK_SEQPACKET socket named MORVELAN-PIPE
// in $XDG_RUNTIME_DIR (else /tmp). Whoever listens there receives one packet per message and
// answers each with a short acknowledgement.
#pragma once

#include <cstddef>
#include <string>

namespace mv {

inline constexpr const char* kMonitorPipeName = "MORVELAN-PIPE";
inline constexpr int kMonitorPipeWaitMs = 1000;

// Full path of the monitor pipe socket.
std::string monitorPipePath();

// Sends one message and waits for the listener's answer (at most 4 bytes, ignored), the whole
// call bounded by timeoutMs. Returns at once when nobody listens. True when the message went out.
bool callMonitorPipe(const void* message, std::size_t len, int timeoutMs = kMonitorPipeWaitMs);

} // namespace mv
