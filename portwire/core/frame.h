// The module frame: 2 lead bytes, direction, length n, n data bytes, checksum.
#pragma once

#include <cstddef>
#include <cstdint>

namespace portwire {

inline constexpr std::uint8_t kDirRead = 0x40;
inline constexpr std::uint8_t kDirWrite = 0x20;
inline constexpr std::uint8_t kDirDeviceError = 0x10;  // bit in a reply's direction byte

inline constexpr std::size_t kFrameHeaderSize = 4;
inline constexpr std::size_t kMaxFrameData = 255;
inline constexpr std::size_t kMaxFrameSize = kMaxFrameData + 5;  // header, data, checksum
inline constexpr std::size_t kFixedRequestSize = 13;
// Caller bytes a write frame can carry behind its code and the 0 byte.
inline constexpr int kMaxCallerData = static_cast<int>(kMaxFrameData) - 2;

// Module function codes sent by the library itself.
enum ModuleFunctionCode : std::uint8_t {
    kFnAnnounce = 1,
    kFnReadId = 11,
    kFnControllerId = 12,
    kFnModuleParameters = 13,
    kFnReadMemory = 14,
    kFnReadInputs = 20,
    kFnModuleInfo = 23,
    kFnSetOutputs = 30,
    kFnFieldbus = 40,
    kFnSavedModuleParameters = 41,
    kFnClearFlash = 42,
    kFnModuleConfiguration = 44,
};

// Checksum of a block: c = 0xAA, then c = ((c ^ b) << 1) & 0xFF for every byte. The count is
// a 16-bit value, as on the wire.
std::uint8_t FrameChecksum(const std::uint8_t* block, std::uint16_t count);

// The 13-byte fixed request: all zero but direction, length 8, code and the checksum.
void BuildFixedRequest(std::uint8_t direction, std::uint8_t code, std::uint8_t out[kFixedRequestSize]);

// A variable frame of n data bytes (n taken modulo 256) into out (room for n + 5 bytes);
// returns the frame size.
std::size_t BuildVariableFrame(std::uint8_t direction, const std::uint8_t* data, std::size_t n,
                               std::uint8_t* out);

// The 8 data bytes announcing a frame that carries len caller bytes: [1, m, m, 0, 0, 0, 0, 0]
// with m = (len + 7) & 0xFF.
void BuildAnnounceData(int callerLen, std::uint8_t out[8]);

} // namespace portwire
