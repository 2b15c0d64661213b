// X740_Core: memory, system metrics, system and module information, status, timers and the
// requests without fields.
#include <algorithm>
#include <cstring>

#include "services/core/core_app.h"
#include "services/include/X740_Core.h"

using namespace x740;

namespace {

constexpr int kTimerHead = 38; // offset of the first timer entry
constexpr int kTimerEntry = 8;

// One tick value (whole, fraction) in milliseconds.
double TicksToMs(const CX740App& app, int offset, double rate, double divisor) {
    const double whole = AsInt(app.GetU32(offset));
    const double fraction = AsInt(app.GetU32(offset + 4));
    return (whole + fraction / divisor) * 1000.0 / rate;
}

std::uint16_t ReadTimer(LinkHandle link, std::uint8_t code, int* a, int* b, int* c, double* t1,
                        double* t2, double* times, const std::uint32_t* count) {
    if (count == nullptr) {
        return 0;
    }
    CX740App& app = CoreApp();
    app.Begin(kDirRead, code, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    if (a != nullptr)
        *a = AsInt(app.GetU32(2));
    if (b != nullptr)
        *b = AsInt(app.GetU32(6));
    if (c != nullptr)
        *c = AsInt(app.GetU32(10));
    const double rate = app.GetU32(14);
    const double divisor = app.GetU32(18);
    if (t1 != nullptr)
        *t1 = TicksToMs(app, 22, rate, divisor);
    if (t2 != nullptr)
        *t2 = TicksToMs(app, 30, rate, divisor);
    if (times != nullptr) {
        const std::uint32_t there =
            static_cast<std::uint32_t>(app.ReplyBytesFrom(kTimerHead) / kTimerEntry);
        const std::uint32_t n = std::min(*count, there);
        for (std::uint32_t i = 0; i < n; ++i) {
            times[i] =
                TicksToMs(app, kTimerHead + static_cast<int>(i) * kTimerEntry, rate, divisor);
        }
    }
    return 1;
}

} // namespace

extern "C" {

uint16_t A_X740_ReadMemory(LinkHandle link, uint32_t address, int count, uint8_t* dest) {
    if (count < 0) {
        return 0;
    }
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kReadMemory, 8);
    app.PutU8(2, static_cast<std::uint32_t>(count));
    app.PutU8(3, 0);
    app.PutU32(4, address);
    if (!app.Transact(link)) {
        return 0;
    }
    // The caller's buffer holds count bytes: a controller that answers with more than it was
    // asked for must not write past it.
    app.GetBytes(2, dest, std::min(app.ReplyBytesFrom(2), count));
    return 1;
}

uint16_t A_X740_WriteMemory(LinkHandle link, uint32_t address, int len, const uint8_t* src) {
    if (len < 0 || (src == nullptr && len > 0)) {
        return 0;
    }
    len = std::min(len, kMaxWriteMemory);
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kWriteMemory, len + 6);
    app.PutU32(2, address);
    app.PutBytes(6, src, len);
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_ReadSystemMetrics(LinkHandle link, int index, uint8_t* dest, uint32_t* len) {
    if (len == nullptr) {
        return 0;
    }
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kSystemMetrics, 4);
    app.PutU16(2, static_cast<std::uint32_t>(index));
    if (!app.Transact(link)) {
        return 0;
    }
    const std::uint32_t k = std::min(static_cast<std::uint32_t>(app.ReplyBytesFrom(4)), *len);
    app.GetBytes(4, dest, static_cast<int>(k));
    *len = k;
    return 1;
}

uint16_t A_X740_WriteSystemMetrics(LinkHandle link, int index, const uint8_t* src, int len) {
    if (src == nullptr || len <= 0) {
        return 0;
    }
    len = std::min(len, kMaxSystemMetrics);
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kSystemMetrics, len + 4);
    app.PutU16(2, static_cast<std::uint32_t>(index));
    app.PutBytes(4, src, len);
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_ReadSystemInfo(LinkHandle link, uint8_t* bcdSwitch, uint8_t* busBytes,
                               uint8_t* prints, uint32_t* ramSize, uint32_t* nvramSize,
                               uint32_t* flashCode, uint32_t* flashDeviceCode) {
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kSystemInfo, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    if (bcdSwitch != nullptr)
        *bcdSwitch = static_cast<uint8_t>(app.GetU8(2));
    if (busBytes != nullptr)
        *busBytes = static_cast<uint8_t>(app.GetU8(3));
    if (prints != nullptr)
        *prints = static_cast<uint8_t>(app.GetU8(4));
    if (ramSize != nullptr)
        *ramSize = app.GetU16(5);
    if (nvramSize != nullptr)
        *nvramSize = app.GetU16(7);
    if (flashCode != nullptr)
        *flashCode = app.GetU8(9);
    if (flashDeviceCode != nullptr)
        *flashDeviceCode = app.GetU16(10);
    return 1;
}

uint16_t A_X740_ReadModulInfo(LinkHandle link, char* text1, char* text2, char* text3) {
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kModulInfo, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    // The texts lie one behind the other from offset 2; none reaches past the reply, and one
    // that arrives without its terminator ends with the reply.
    char* const texts[3] = {text1, text2, text3};
    const std::uint8_t* data = app.Data();
    const int end = app.ReplyLength();
    int pos = 2;
    for (char* text : texts) {
        int len = 0;
        while (pos + len < end && data[pos + len] != 0) {
            ++len;
        }
        if (text != nullptr) {
            if (len > 0) {
                std::memcpy(text, data + pos, static_cast<std::size_t>(len));
            }
            text[len] = '\0';
        }
        pos = std::min(end, pos + len + 1);
    }
    return 1;
}

uint16_t A_X740_ReadStatus(LinkHandle link, int* a, int* b) {
    CX740App& app = CoreApp();
    app.Begin(kDirRead, core_code::kStatus, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    if (a != nullptr)
        *a = static_cast<int>(app.GetU16(2));
    if (b != nullptr)
        *b = AsInt(app.GetU32(4));
    return 1;
}

uint16_t A_X740_ReadTimerStatus(LinkHandle link, int* a, int* b, int* c, double* t1, double* t2,
                                double* times, uint32_t* count) {
    return ReadTimer(link, core_code::kTimerStatus, a, b, c, t1, t2, times, count);
}

uint16_t A_X740_ReadTimerStatusMax(LinkHandle link, int* a, int* b, int* c, double* t1, double* t2,
                                   double* times, uint32_t* count) {
    return ReadTimer(link, core_code::kTimerStatusMax, a, b, c, t1, t2, times, count);
}

uint16_t A_X740_ClearModulConfigs(LinkHandle link) {
    return SimpleRequest(link, kDirWrite, core_code::kClearModulConfigs);
}

uint16_t A_X740_ClearNVRAM(LinkHandle link) {
    return SimpleRequest(link, kDirWrite, core_code::kClearNvram);
}

uint16_t A_X740_StartFTPServer(LinkHandle link) {
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kStartFtpServer, 2);
    return app.SendOnly(link) ? 1 : 0;
}

uint16_t A_X740_ResetModul(LinkHandle link) {
    CX740App& app = CoreApp();
    app.Begin(kDirWrite, core_code::kResetModul, 2);
    return app.SendOnly(link) ? 1 : 0;
}

uint32_t A_X740_GetLastError(void) {
    return CoreApp().LastError();
}

uint16_t A_X740_StartFirmwareUpdate(LinkHandle link) {
    return SimpleRequest(link, kDirWrite, core_code::kStartFirmwareUpdate);
}

uint16_t A_X740_DeleteModulIdentFile(LinkHandle link) {
    return SimpleRequest(link, kDirWrite, core_code::kDeleteIdentFile);
}

uint16_t A_X740_StoreModulIdentFile(LinkHandle link) {
    return SimpleRequest(link, kDirWrite, core_code::kStoreIdentFile);
}

} // extern "C"
