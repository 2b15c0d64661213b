// X740_Logic: IEC runtime exchange buffer and cam programs.
#include <algorithm>

#include "services/common/cam_record.h"
#include "services/include/X740_Logic.h"

using namespace x740;

namespace {

CX740App& LogicApp() {
    static CX740App app;
    return app;
}

constexpr std::uint8_t kCodeXioBuffer = 104;
constexpr int kMaxXioWrite = 253;

} // namespace

extern "C" {

uint16_t A_X740_IEC_ReadXIOBuffer(LinkHandle link, uint8_t* dest, uint32_t* len) {
    if (dest == nullptr || len == nullptr) {
        return 0;
    }
    CX740App& app = LogicApp();
    app.Begin(kDirRead, kCodeXioBuffer, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    const std::uint32_t k = std::min(*len, static_cast<std::uint32_t>(app.ReplyBytesFrom(2)));
    app.GetBytes(2, dest, static_cast<int>(k));
    *len = k;
    return 1;
}

uint16_t A_X740_IEC_WriteXIOBuffer(LinkHandle link, const uint8_t* src, int len) {
    if (len < 0 || (src == nullptr && len > 0)) {
        return 0;
    }
    len = std::min(len, kMaxXioWrite);
    CX740App& app = LogicApp();
    app.Begin(kDirWrite, kCodeXioBuffer, len + 2);
    app.PutBytes(2, src, len);
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_IEC_ReadNSWProg(LinkHandle link, int number, int* channel, int* start, int* end,
                                int* startTime) {
    CX740App& app = LogicApp();
    BeginCamRead(app, number);
    if (!app.Transact(link)) {
        return 0;
    }
    Set(channel, static_cast<int>(app.GetU8(CamOffsets::kChannel)));
    Set(start, static_cast<int>(app.GetU16(CamOffsets::kStartAngle)));
    Set(end, static_cast<int>(app.GetU16(CamOffsets::kEndAngle)));
    Set(startTime, static_cast<int>(app.GetU16(CamOffsets::kStartDeadTime)));
    return 1;
}

uint16_t A_X740_IEC_WriteNSWProg(LinkHandle link, int number, int channel, int start, int end,
                                 int startTime) {
    CX740App& app = LogicApp();
    CamProgram cam;
    cam.channel = channel;
    cam.startAngle = start;
    cam.startDeadTime = startTime;
    cam.endAngle = end;
    BeginCamWrite(app, number, cam, kCamWriteLength);
    return app.Transact(link) ? 1 : 0;
}

uint32_t A_X740_IEC_GetLastError(void) {
    return LogicApp().LastError();
}

} // extern "C"
