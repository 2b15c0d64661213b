// Directions, function codes and reply sizes of the panel's raw telegrams.
#pragma once

#include <cstdint>

namespace x740panel {

inline constexpr int kHeaderSize = 4;

inline constexpr std::uint8_t kDirRead = 0x40;
inline constexpr std::uint8_t kDirWrite = 0x20;
inline constexpr std::uint8_t kDirIdentify = 0x80;
inline constexpr std::uint8_t kDirDeviceError = 0x10;

// Service telegrams (payload byte 0).
inline constexpr std::uint8_t kCodeReadSsiSetup = 0x78;
inline constexpr std::uint8_t kCodeWriteSsiSetup = 0x79;
inline constexpr std::uint8_t kCodeReadSsiOffset = 0x7A;
inline constexpr std::uint8_t kCodeWriteSsiOffset = 0x7B;
inline constexpr std::uint8_t kCodeReadNswSetup = 0x72;
inline constexpr std::uint8_t kCodeWriteNswSetup = 0x73;
inline constexpr std::uint8_t kCodeReadBlockConfig = 0x6E;
inline constexpr std::uint8_t kCodeWriteBlockConfig = 0x70;
inline constexpr std::uint8_t kCodeReadBitConfig = 0x74;
inline constexpr std::uint8_t kCodeWriteBitConfig = 0x75;

// Fixed 13-byte requests.
inline constexpr std::uint8_t kCodeProtocolId = 0;
inline constexpr std::uint8_t kCodeControllerId = 12;
inline constexpr std::uint8_t kCodeInputs = 20;
inline constexpr std::uint8_t kCodeStatus = 24;

// The shortest reply payload each read takes all its fields from.
inline constexpr std::size_t kMinSsiSetupReply = 32;
inline constexpr std::size_t kMinSsiOffsetReply = 7;
inline constexpr std::size_t kMinNswSetupReply = 5;
inline constexpr std::size_t kMinBlockConfigReply = 5;
inline constexpr std::size_t kMinBitConfigReply = 5;
inline constexpr std::size_t kMinControllerIdReply = 4;
inline constexpr std::size_t kMinProtocolIdReply = 2;
inline constexpr std::size_t kMinStatusReply = 24;

// Value 9 of an SSI setup when the reply does not carry it.
inline constexpr std::int32_t kSsiValueMaskDefault = 0x3FFFFFFF;

} // namespace x740panel
