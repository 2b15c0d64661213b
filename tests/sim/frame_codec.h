// Frames of the module protocol as the simulated station sees them:
// [lead 0, lead 1, direction, n, n data bytes, checksum].
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace x740sim {

inline constexpr std::uint8_t kDirRead = 0x40;
inline constexpr std::uint8_t kDirWrite = 0x20;
inline constexpr std::uint8_t kDirDeviceErrorBit = 0x10;
inline constexpr std::uint8_t kDirIdentify = 0x80;
inline constexpr std::size_t kHeaderSize = 4;
inline constexpr std::size_t kMaxFrameSize = 260;

// Checksum of a block: start at 0xAA, then for each byte c = ((c ^ b) << 1) & 0xFF.
std::uint8_t blockChecksum(const std::uint8_t* data, std::size_t count);
std::uint8_t blockChecksum(const std::vector<std::uint8_t>& bytes);

// A whole frame with the given direction and data (at most 255 bytes; more is cut).
std::vector<std::uint8_t> buildFrame(std::uint8_t direction, const std::vector<std::uint8_t>& data,
                                     std::uint8_t lead0 = 0, std::uint8_t lead1 = 0);

// True when the last byte of the frame is the checksum of the bytes before it.
bool frameChecksumOk(const std::vector<std::uint8_t>& frame);

// Cuts a byte stream into frames: 4 header bytes, then the n data bytes and the checksum.
class FrameAssembler {
public:
    // Feeds bytes; every completed frame is appended to out.
    void feed(const std::uint8_t* data, std::size_t count, std::vector<std::vector<std::uint8_t>>& out);
    // Drops a partly received frame (for example after a reconnect).
    void reset() { partial_.clear(); }
    std::size_t pending() const { return partial_.size(); }

private:
    std::vector<std::uint8_t> partial_;
};

} // namespace x740sim
