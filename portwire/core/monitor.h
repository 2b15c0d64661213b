// Mirror of a serial link's traffic: one MonitorPipeMessage per complete write or read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace portwire {

inline constexpr std::size_t kMonitorMessageSize = 300;
inline constexpr std::size_t kMonitorBlockSize = 255;
inline constexpr std::size_t kMonitorLengthOffset = 255;
inline constexpr std::size_t kMonitorDirectionOffset = 259;

enum MonitorDirection : std::uint8_t { kMonitorWritten = 0, kMonitorRead = 1 };

// 300 bytes: the block (first 255 bytes at most), its length (32-bit little-endian) at 255,
// the direction at 259, 40 unused zero bytes.
struct MonitorPipeMessage {
    std::uint8_t bytes[kMonitorMessageSize];
};

MonitorPipeMessage BuildMonitorMessage(const std::uint8_t* block, std::size_t len, std::uint8_t direction);

class IMonitorSink {
public:
    virtual ~IMonitorSink() = default;
    virtual void Post(const MonitorPipeMessage& message) = 0;
};

// Sends every message to the monitor pipe (at most 1000 ms per message; nothing when no
// one listens).
IMonitorSink& pipeMonitor();

} // namespace portwire
