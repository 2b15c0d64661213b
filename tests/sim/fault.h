// Faults the simulated station injects into its replies on request.
#pragma once

#include <cstddef>
#include <cstdint>

namespace x740sim {

enum class FaultKind {
    Silence,          // no reply at all
    BadChecksum,      // the reply's checksum byte is wrong
    ZeroLength,       // a 4-byte header with length 0 (optionally followed by the real reply)
    DeviceError,      // direction with bit 0x10 and the error byte as data[0]
    SplitHeaderBody,  // header and body in two writes, delayMs apart
    SplitBytes,       // one byte per write, delayMs apart
    Delay,            // the whole reply after delayMs
    Drop,             // no reply; the connection is reset
    ShortReply,       // only the first shortLength bytes of the reply
    TrailingBytes,    // the whole reply, then shortLength stray bytes in the same write; they
                      // start like a frame announcing 5 data bytes: 00 00 40 05 A5 A6 ...
};

struct Fault {
    FaultKind kind = FaultKind::Silence;
    int delayMs = 0;
    std::uint8_t errorByte = 0x07;
    int deviceDirection = -1;       // DeviceError: reply direction; -1 = request direction | 0x10
    std::size_t shortLength = 0;    // ShortReply: total bytes sent
    bool followWithReply = false;   // ZeroLength: send the real reply after the empty header

    static Fault silence() { return {FaultKind::Silence}; }
    static Fault badChecksum() { return {FaultKind::BadChecksum}; }
    static Fault zeroLength(bool thenReply = false)
    {
        Fault f{FaultKind::ZeroLength};
        f.followWithReply = thenReply;
        return f;
    }
    static Fault deviceError(std::uint8_t error, int direction = -1)
    {
        Fault f{FaultKind::DeviceError};
        f.errorByte = error;
        f.deviceDirection = direction;
        return f;
    }
    static Fault splitHeaderBody(int gapMs)
    {
        Fault f{FaultKind::SplitHeaderBody};
        f.delayMs = gapMs;
        return f;
    }
    static Fault splitBytes(int gapMs)
    {
        Fault f{FaultKind::SplitBytes};
        f.delayMs = gapMs;
        return f;
    }
    static Fault delay(int ms)
    {
        Fault f{FaultKind::Delay};
        f.delayMs = ms;
        return f;
    }
    static Fault drop() { return {FaultKind::Drop}; }
    static Fault trailingBytes(std::size_t count)
    {
        Fault f{FaultKind::TrailingBytes};
        f.shortLength = count;
        return f;
    }
    static Fault shortReply(std::size_t totalLength)
    {
        Fault f{FaultKind::ShortReply};
        f.shortLength = totalLength;
        return f;
    }
};

} // namespace x740sim
