// The library object of X740_Core.
#pragma once

#include "services/common/x740_app.h"

namespace x740 {

CX740App& CoreApp();

// Function codes of X740_Core.
namespace core_code {
inline constexpr std::uint8_t kReadMemory = 14;
inline constexpr std::uint8_t kWriteMemory = 15;
inline constexpr std::uint8_t kSystemMetrics = 16;
inline constexpr std::uint8_t kSystemInfo = 22;
inline constexpr std::uint8_t kModulInfo = 23;
inline constexpr std::uint8_t kStatus = 24;
inline constexpr std::uint8_t kTimerStatus = 25;
inline constexpr std::uint8_t kTimerStatusMax = 26;
inline constexpr std::uint8_t kClearModulConfigs = 42;
inline constexpr std::uint8_t kClearNvram = 43;
inline constexpr std::uint8_t kStartFtpServer = 48;
inline constexpr std::uint8_t kResetModul = 49;
inline constexpr std::uint8_t kRtc = 50;
inline constexpr std::uint8_t kSysLog = 51;
inline constexpr std::uint8_t kReadModulConfig = 90;
inline constexpr std::uint8_t kWriteModulConfig = 91;
inline constexpr std::uint8_t kSystemConfig = 92;
inline constexpr std::uint8_t kStartFirmwareUpdate = 93;
inline constexpr std::uint8_t kReadForceInput = 100;
inline constexpr std::uint8_t kReadForceOutput = 101;
inline constexpr std::uint8_t kWriteForceInput = 102;
inline constexpr std::uint8_t kWriteForceOutput = 103;
inline constexpr std::uint8_t kReadMainService = 130;
inline constexpr std::uint8_t kWriteMainService = 131;
inline constexpr std::uint8_t kReadSerService = 140;
inline constexpr std::uint8_t kWriteSerService = 141;
inline constexpr std::uint8_t kDfmwItem = 150;
inline constexpr std::uint8_t kDfmwData = 151;
inline constexpr std::uint8_t kWriteDfmwItem = 152;
inline constexpr std::uint8_t kDfmwInput = 153;
inline constexpr std::uint8_t kIdentCode = 160;
inline constexpr std::uint8_t kDeleteIdentCode = 161;
inline constexpr std::uint8_t kDeleteIdentFile = 162;
inline constexpr std::uint8_t kStoreIdentFile = 163;
} // namespace core_code

// Limits of the requests that carry caller data.
inline constexpr int kMaxWriteMemory = 249;
inline constexpr int kMaxSystemMetrics = 251;
inline constexpr int kMaxForcePairs = 126;
inline constexpr int kMaxIdentCode = 245;

// Widths of the text fields.
inline constexpr int kSerialWidth = 8;
inline constexpr int kSerialBuffer = 12;
inline constexpr int kTextWidth = 16;
inline constexpr int kLongTextWidth = 32;

// Copies the 8-byte serial number field to a 12-byte buffer: its 8 bytes, then four 0 bytes.
void GetSerial(const CX740App& app, int offset, char* dest);
// Puts up to 8 characters of a serial number into its field (no terminator in the frame).
void PutSerial(CX740App& app, int offset, const char* serial);

// Plain requests without parameters and without reply fields.
std::uint16_t SimpleRequest(LinkHandle link, std::uint8_t direction, std::uint8_t code);

} // namespace x740
