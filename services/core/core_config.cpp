// X740_Core: module, service and system configuration, clock, sys-log and ident code.
#include <algorithm>
#include <cstring>

#include "services/core/core_app.h"
#include "services/include/X740_Core.h"

using namespace x740;

namespace {

// Module configuration record (codes 90 and 91).
constexpr int kModulConfigLength = 59;
constexpr int kOffSerial = 2;
constexpr int kOffIp = 10;
constexpr int kOffMask = 26;
constexpr int kOffGateway = 42;
constexpr int kOffDhcp = 58;

// Main service record (codes 130 and 131).
constexpr int kMainServiceLength = 10;
// Serial service record (codes 140 and 141).
constexpr int kSerServiceLength = 32;
// System configuration record (code 92).
constexpr int kSystemConfigLength = 190;
constexpr int kSystemTextOffsets[8] = {10, 26, 42, 58, 74, 90, 106, 122};
constexpr int kOffValue10 = 138;
constexpr int kOffText11 = 142;
constexpr int kOffText12 = 174;
// Sys-log record (code 51).
constexpr int kSysLogLength = 25;
// Ident code request head: code, 0, a (32), b (32).
constexpr int kIdentHead = 10;

} // namespace

extern "C" {

uint16_t A_X740_ReadModulConfig(LinkHandle link, char* serial, char* ipAddress, char* subnetMask,
                                char* gateway, int* dhcp) {
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kReadModulConfig, 3);
    app.PutU8(2, 1);
    if (!app.Transact(link)) {
        return 0;
    }
    GetSerial(app, kOffSerial, serial);
    app.GetText(kOffIp, kTextWidth, ipAddress);
    app.GetText(kOffMask, kTextWidth, subnetMask);
    app.GetText(kOffGateway, kTextWidth, gateway);
    if (dhcp != nullptr)
        *dhcp = static_cast<int>(app.GetU8(kOffDhcp));
    return 1;
}

// Ordinal 39 is the very same function.
uint16_t A_X740_ReadAktModulConfig(LinkHandle link, char* serial, char* ipAddress, char* subnetMask,
                                   char* gateway, int* dhcp)
    __attribute__((alias("A_X740_ReadModulConfig")));

uint16_t A_X740_WriteModulConfig(LinkHandle link, const char* serial, const char* ipAddress,
                                 const char* subnetMask, const char* gateway, int dhcp) {
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kWriteModulConfig, kModulConfigLength);
    PutSerial(app, kOffSerial, serial);
    app.PutText(kOffIp, kTextWidth, ipAddress);
    app.PutText(kOffMask, kTextWidth, subnetMask);
    app.PutText(kOffGateway, kTextWidth, gateway);
    app.PutU8(kOffDhcp, static_cast<std::uint32_t>(dhcp));
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_ReadMainServiceConfig(LinkHandle link, int* portNumber, int* timeout,
                                      int* reconnectTimeout, int* idleTimeout) {
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kReadMainService, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    const int length = app.ReplyLength();
    if (portNumber != nullptr)
        *portNumber = static_cast<int>(app.GetU16(2));
    if (timeout != nullptr)
        *timeout = length <= 5 ? -1 : static_cast<int>(app.GetU16(4));
    if (reconnectTimeout != nullptr)
        *reconnectTimeout = length <= 9 ? -1 : static_cast<int>(app.GetU16(6));
    if (idleTimeout != nullptr)
        *idleTimeout = length <= 9 ? -1 : static_cast<int>(app.GetU16(8));
    return 1;
}

uint16_t A_X740_WriteMainServiceConfig(LinkHandle link, int portNumber, int timeout,
                                       int reconnectTimeout, int idleTimeout) {
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kWriteMainService, kMainServiceLength);
    app.PutU16(2, static_cast<std::uint32_t>(portNumber));
    app.PutU16(4, static_cast<std::uint32_t>(timeout));
    app.PutU16(6, static_cast<std::uint32_t>(reconnectTimeout));
    app.PutU16(8, static_cast<std::uint32_t>(idleTimeout));
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_ReadSerServiceConfig(LinkHandle link, char* portName, int* a, int* baudRate,
                                     int* flags, int* timeout) {
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kReadSerService, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    app.GetText(2, kTextWidth, portName);
    if (a != nullptr)
        *a = AsInt(app.GetU32(18));
    if (baudRate != nullptr)
        *baudRate = AsInt(app.GetU32(22));
    if (flags != nullptr)
        *flags = AsInt(app.GetU32(26));
    if (timeout != nullptr)
        *timeout = app.ReplyLength() < kSerServiceLength ? -1 : static_cast<int>(app.GetU16(30));
    return 1;
}

uint16_t A_X740_WriteSerServiceConfig(LinkHandle link, const char* portName, int a, int baudRate,
                                      int flags, int timeout) {
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kWriteSerService, kSerServiceLength);
    app.PutText(2, kTextWidth, portName);
    app.PutU32(18, static_cast<std::uint32_t>(a));
    app.PutU32(22, static_cast<std::uint32_t>(baudRate));
    app.PutU32(26, static_cast<std::uint32_t>(flags));
    app.PutU16(30, static_cast<std::uint32_t>(timeout));
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_ReadSystemConfig(LinkHandle link, char* serial, char* text2, char* text3,
                                 char* ftpUser, char* ftpPassword, char* text6, char* text7,
                                 char* text8, char* text9, uint32_t* value10, char* text11,
                                 char* text12) {
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kSystemConfig, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    GetSerial(app, kOffSerial, serial);
    char* const texts[8] = {text2, text3, ftpUser, ftpPassword, text6, text7, text8, text9};
    for (int i = 0; i < 8; ++i) {
        app.GetText(kSystemTextOffsets[i], kTextWidth, texts[i]);
    }
    if (value10 != nullptr)
        *value10 = app.GetU32(kOffValue10);
    app.GetText(kOffText11, kLongTextWidth, text11);
    app.GetText(kOffText12, kTextWidth, text12);
    return 1;
}

uint16_t A_X740_WriteSystemConfig(LinkHandle link, const char* serial, const char* text2,
                                  const char* text3, const char* ftpUser, const char* ftpPassword,
                                  const char* text6, const char* text7, const char* text8,
                                  const char* text9, uint32_t value10, const char* text11,
                                  const char* text12) {
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kSystemConfig, kSystemConfigLength);
    PutSerial(app, kOffSerial, serial);
    const char* const texts[8] = {text2, text3, ftpUser, ftpPassword, text6, text7, text8, text9};
    for (int i = 0; i < 8; ++i) {
        app.PutText(kSystemTextOffsets[i], kTextWidth, texts[i]);
    }
    app.PutU32(kOffValue10, value10);
    app.PutText(kOffText11, kLongTextWidth, text11);
    app.PutText(kOffText12, kTextWidth, text12);
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_ReadRTCDateTime(LinkHandle link, int* p1, int* p2, int* p3, int* p4, int* p5,
                                int* year) {
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kRtc, 3);
    app.PutU8(2, 0);
    if (!app.Transact(link)) {
        return 0;
    }
    if (p3 != nullptr)
        *p3 = static_cast<int>(app.GetU8(3));
    if (p2 != nullptr)
        *p2 = static_cast<int>(app.GetU8(4));
    if (p1 != nullptr)
        *p1 = static_cast<int>(app.GetU8(5));
    if (p4 != nullptr)
        *p4 = static_cast<int>(app.GetU8(6));
    if (p5 != nullptr)
        *p5 = static_cast<int>(app.GetU8(7));
    if (year != nullptr)
        *year = static_cast<int>(app.GetU8(8)) + 2000;
    return 1;
}

uint16_t A_X740_ReadRTCTimestamp(LinkHandle link, uint32_t* stamp) {
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kRtc, 3);
    app.PutU8(2, 1);
    if (!app.Transact(link)) {
        return 0;
    }
    if (stamp != nullptr)
        *stamp = app.GetU32(3);
    return 1;
}

uint16_t A_X740_WriteRTCDateTime(LinkHandle link, int p1, int p2, int p3, int p4, int p5,
                                 int year) {
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kRtc, 9);
    app.PutU8(2, 0);
    app.PutU8(3, static_cast<std::uint32_t>(p3));
    app.PutU8(4, static_cast<std::uint32_t>(p2));
    app.PutU8(5, static_cast<std::uint32_t>(p1));
    app.PutU8(6, static_cast<std::uint32_t>(p4));
    app.PutU8(7, static_cast<std::uint32_t>(p5));
    app.PutU8(8, static_cast<std::uint32_t>(year % 100));
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_WriteRTCTimestamp(LinkHandle link, uint32_t stamp) {
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kRtc, 7);
    app.PutU8(2, 1);
    app.PutU32(3, stamp);
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_ReadSysLogConfig(LinkHandle link, int* mode, char* text, int* a, int* b) {
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kSysLog, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    if (mode != nullptr)
        *mode = static_cast<int>(app.GetU8(2));
    app.GetText(3, kTextWidth, text);
    if (a != nullptr)
        *a = static_cast<int>(app.GetU16(19));
    if (b != nullptr)
        *b = AsInt(app.GetU32(21));
    return 1;
}

uint16_t A_X740_WriteSysLogConfig(LinkHandle link, int mode, const char* text, int a, int b) {
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kSysLog, kSysLogLength);
    app.PutU8(2, static_cast<std::uint32_t>(mode));
    app.PutText(3, kTextWidth, text);
    app.PutU16(19, static_cast<std::uint32_t>(a));
    app.PutU32(21, static_cast<std::uint32_t>(b));
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_ReadModulIdentCode(LinkHandle link, uint32_t a, uint32_t b, char* dest,
                                   int destSize) {
    if (dest == nullptr || destSize < 1) {
        return 0;
    }
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kIdentCode, kIdentHead);
    app.PutU32(2, a);
    app.PutU32(6, b);
    if (!app.Transact(link)) {
        return 0;
    }
    const int k = std::min(app.ReplyBytesFrom(2), destSize - 1);
    app.GetBytes(2, reinterpret_cast<std::uint8_t*>(dest), k);
    dest[k] = '\0';
    return 1;
}

uint16_t A_X740_WriteModulIdentCode(LinkHandle link, uint32_t a, uint32_t b, const char* code) {
    const char* text = code != nullptr ? code : "";
    const std::size_t len = ::strnlen(text, kMaxIdentCode + 1);
    if (len > static_cast<std::size_t>(kMaxIdentCode)) {
        // Cutting the code would store a corrupted one.
        return 0;
    }
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kIdentCode, kIdentHead + static_cast<int>(len));
    app.PutU32(2, a);
    app.PutU32(6, b);
    app.PutBytes(kIdentHead, reinterpret_cast<const std::uint8_t*>(text), static_cast<int>(len));
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_DeleteModulIdentCode(LinkHandle link, uint32_t a) {
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kDeleteIdentCode, 6);
    app.PutU32(2, a);
    return app.Transact(link) ? 1 : 0;
}

} // extern "C"
