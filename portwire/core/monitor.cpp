#include "portwire/core/monitor.h"

#include <algorithm>
#include <cstring>

#include "platform/monitor_pipe.h"

namespace portwire {

MonitorPipeMessage BuildMonitorMessage(const std::uint8_t* block, std::size_t len, std::uint8_t direction) {
    MonitorPipeMessage m{};
    const std::size_t copied = std::min(len, kMonitorBlockSize);
    if (copied)
        std::memcpy(m.bytes, block, copied);
    const auto n = static_cast<std::uint32_t>(len);
    m.bytes[kMonitorLengthOffset + 0] = static_cast<std::uint8_t>(n);
    m.bytes[kMonitorLengthOffset + 1] = static_cast<std::uint8_t>(n >> 8);
    m.bytes[kMonitorLengthOffset + 2] = static_cast<std::uint8_t>(n >> 16);
    m.bytes[kMonitorLengthOffset + 3] = static_cast<std::uint8_t>(n >> 24);
    m.bytes[kMonitorDirectionOffset] = direction;
    return m;
}

namespace {

class PipeMonitor final : public IMonitorSink {
public:
    // The mirror is best effort: nothing of it may fail the transfer it reports.
    void Post(const MonitorPipeMessage& message) noexcept override {
        try {
            (void)mv::callMonitorPipe(message.bytes, sizeof message.bytes, mv::kMonitorPipeWaitMs);
        } catch (...) {
        }
    }
};

} // namespace

IMonitorSink& pipeMonitor() {
    static PipeMonitor monitor;
    return monitor;
}

} // namespace portwire
