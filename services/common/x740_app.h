// The library object shared by the X740 service libraries: one frame buffer, one last error and
// the request/reply routine that carries a service request over a Portwire link.
//
// Each service library builds this code into itself and owns one instance, so a failure in
// one library never changes the last error of another.
#pragma once

#include <array>
#include <cstdint>

#include "portwire/include/Portwire.h"

namespace x740 {

// Last-error values (32-bit).
inline constexpr std::uint32_t kErrorNone = 0;
inline constexpr std::uint32_t kErrorWrite = 0x80010001;  // request not written in the attempts
inline constexpr std::uint32_t kErrorHeader = 0x80010002; // no reply header in the attempts left
inline constexpr std::uint32_t kErrorBody = 0x80010003; // reply body not read in the attempts left
inline constexpr std::uint32_t kErrorDevice = 0x80000000; // + the device's error byte

// Frame layout.
inline constexpr int kFrameSize = 260;
inline constexpr int kHeaderSize = 4;
inline constexpr int kMaxDataLength = 255;
inline constexpr std::uint8_t kDirRead = 0x40;
inline constexpr std::uint8_t kDirWrite = 0x20;
inline constexpr std::uint8_t kDirDeviceError = 0x10;

// Attempts shared by all steps of one exchange, and the cap on length-0 headers skipped in a
// row (a line that delivers only zero bytes must not keep the routine busy for ever).
inline constexpr int kAttempts = 5;
inline constexpr int kMaxEmptyHeaders = 64;

// A reply field as the signed int the C interfaces hand out.
inline int AsInt(std::uint32_t value) {
    return static_cast<int>(static_cast<std::int32_t>(value));
}

// Stores a value through an out-pointer the caller may leave null.
inline void Set(int* out, int value) {
    if (out != nullptr)
        *out = value;
}

class CX740App {
public:
    CX740App() = default;
    CX740App(const CX740App&) = delete;
    CX740App& operator=(const CX740App&) = delete;
    virtual ~CX740App() = default;

    // Starts a request: zeroes the frame and sets direction, data length (clamped to 0..255),
    // the function code in data[0] and 0 in data[1].
    void Begin(std::uint8_t direction, std::uint8_t code, int dataLength);

    // Parameter writers; offsets count in the data (data[0] is the function code). Writes that
    // would leave the frame's data are dropped.
    // An unsigned little-endian field of width bytes (1, 2 or 4).
    void PutUInt(int offset, int width, std::uint32_t value);
    void PutU8(int offset, std::uint32_t value) { PutUInt(offset, 1, value); }
    void PutU16(int offset, std::uint32_t value) { PutUInt(offset, 2, value); }
    void PutU32(int offset, std::uint32_t value) { PutUInt(offset, 4, value); }
    void PutBytes(int offset, const std::uint8_t* src, int count);
    // A text in a field of width bytes: at most width-1 characters, the rest of the field 0.
    // A null text leaves the field 0.
    void PutText(int offset, int width, const char* text);

    // Runs the request built in the frame over the link and reads the reply into the frame.
    // On failure the last error is set; a success leaves it as it was.
    bool Transact(LinkHandle link);

    // Writes the request built in the frame up to five times until one write succeeds; reads
    // nothing and leaves the last error alone.
    bool SendOnly(LinkHandle link);

    // The error of the latest Transact (0 when it succeeded), beside the sticky last error.
    std::uint32_t CallError() const { return callError_; }
    std::uint32_t LastError() const { return lastError_; }

    // Reply access after a successful Transact. Everything behind the reply's data reads as 0.
    int ReplyLength() const { return frame_[3]; }
    // An unsigned little-endian field of width bytes (1, 2 or 4).
    std::uint32_t GetUInt(int offset, int width) const;
    std::uint32_t GetU8(int offset) const { return GetUInt(offset, 1); }
    std::uint32_t GetU16(int offset) const { return GetUInt(offset, 2); }
    std::uint32_t GetU32(int offset) const { return GetUInt(offset, 4); }
    // Copies count reply bytes from offset; bytes behind the frame's data read as 0.
    void GetBytes(int offset, std::uint8_t* dest, int count) const;
    // Copies the zero-terminated text of a field of width bytes: at most width-1 characters,
    // always terminated (dest must hold width bytes).
    void GetText(int offset, int width, char* dest) const;
    // Data bytes of the reply from offset on (0 when the reply is shorter).
    int ReplyBytesFrom(int offset) const;

    // The whole frame (for tests and for texts bounded by the reply).
    const std::uint8_t* Data() const { return frame_.data() + kHeaderSize; }

private:
    void Fail(std::uint32_t error);
    bool InData(int offset, int width) const;

    std::array<std::uint8_t, kFrameSize> frame_{};
    std::array<std::uint8_t, kFrameSize> request_{};
    std::uint32_t lastError_ = kErrorNone;
    std::uint32_t callError_ = kErrorNone;
};

} // namespace x740
