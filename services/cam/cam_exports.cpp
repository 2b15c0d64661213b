// X740_Cam: SSI encoder and cam-switch (NSW) requests.
#include <cstring>

#include "services/common/cam_record.h"
#include "services/include/X740_Cam.h"

using namespace x740;

namespace {

CX740App& CamApp() {
    static CX740App app;
    return app;
}

namespace code {
constexpr std::uint8_t kNswSetupBlock = 110;
constexpr std::uint8_t kWriteNswSetupBlock = 112;
constexpr std::uint8_t kNswSetupSsi = 114;
constexpr std::uint8_t kWriteNswSetupSsi = 115;
constexpr std::uint8_t kNswSetupBit = 116;
constexpr std::uint8_t kWriteNswSetupBit = 117;
constexpr std::uint8_t kImmediateUpdate = 118;
constexpr std::uint8_t kSsiSetup = 120;
constexpr std::uint8_t kWriteSsiSetup = 121;
constexpr std::uint8_t kSsiEncoderOffset = 122;
constexpr std::uint8_t kWriteSsiEncoderOffset = 123;
} // namespace code

constexpr int kSsiSetupLength = 40;
constexpr int kSsiValueMaskFull = 35; // a reply of this length or less has no value mask
constexpr int kSsiOptionsFull = 40;   // a reply shorter than this has no option flags
constexpr std::uint32_t kDefaultValueMask = 0x3FFFFFFF;
constexpr std::uint8_t kDeviceBusy = 254; // taken as success by the immediate update

// Fields 1 to 7 of a cam program reply.
void GetCamFields(const CX740App& app, int* channel, int* startAngle, int* startDeadTime,
                  int* endAngle, int* endDeadTime, int* type) {
    Set(channel, static_cast<int>(app.GetU8(CamOffsets::kChannel)));
    Set(startAngle, static_cast<int>(app.GetU16(CamOffsets::kStartAngle)));
    Set(startDeadTime, static_cast<int>(app.GetU16(CamOffsets::kStartDeadTime)));
    Set(endAngle, static_cast<int>(app.GetU16(CamOffsets::kEndAngle)));
    Set(endDeadTime, static_cast<int>(app.GetU16(CamOffsets::kEndDeadTime)));
    Set(type, static_cast<int>(app.GetU8(CamOffsets::kType)));
}

} // namespace

extern "C" {

uint16_t A_X740_Cam_ReadSSISetup(LinkHandle link, int index, int* direction, int* increments,
                                 int* userIncrements, int* modulIdx, int* modulOffset,
                                 int* presetModulIdx, int* presetByteOffset, int* presetBitOffset,
                                 int* valueMask, int* optionsFlag) {
    CX740App& app = CamApp();
    app.Begin(kDirRead, code::kSsiSetup, 3);
    app.PutU8(2, static_cast<std::uint32_t>(index));
    if (!app.Transact(link)) {
        return 0;
    }
    const int length = app.ReplyLength();
    Set(direction, static_cast<int>(app.GetU8(3)));
    Set(increments, AsInt(app.GetU32(4)));
    Set(userIncrements, AsInt(app.GetU32(8)));
    Set(modulIdx, AsInt(app.GetU32(12)));
    Set(modulOffset, AsInt(app.GetU32(16)));
    Set(presetModulIdx, AsInt(app.GetU32(20)));
    Set(presetByteOffset, AsInt(app.GetU32(24)));
    Set(presetBitOffset, AsInt(app.GetU32(28)));
    Set(valueMask, AsInt(length <= kSsiValueMaskFull ? kDefaultValueMask : app.GetU32(32)));
    Set(optionsFlag, length < kSsiOptionsFull ? 0 : AsInt(app.GetU32(36)));
    return 1;
}

uint16_t A_X740_Cam_WriteSSISetup(LinkHandle link, int index, int direction, int increments,
                                  int userIncrements, int modulIdx, int modulOffset,
                                  int presetModulIdx, int presetByteOffset, int presetBitOffset,
                                  int valueMask, int optionsFlag) {
    CX740App& app = CamApp();
    app.Begin(kDirWrite, code::kWriteSsiSetup, kSsiSetupLength);
    app.PutU8(2, static_cast<std::uint32_t>(index));
    app.PutU8(3, static_cast<std::uint32_t>(direction));
    const int values[9] = {increments,      userIncrements, modulIdx,
                           modulOffset,     presetModulIdx, presetByteOffset,
                           presetBitOffset, valueMask,      optionsFlag};
    for (int i = 0; i < 9; ++i) {
        app.PutU32(4 + 4 * i, static_cast<std::uint32_t>(values[i]));
    }
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_Cam_ReadSSIEncoderOffset(LinkHandle link, int index, int* offset) {
    CX740App& app = CamApp();
    app.Begin(kDirRead, code::kSsiEncoderOffset, 3);
    app.PutU8(2, static_cast<std::uint32_t>(index));
    if (!app.Transact(link)) {
        return 0;
    }
    Set(offset, AsInt(app.GetU32(3)));
    return 1;
}

uint16_t A_X740_Cam_WriteSSIEncoderOffset(LinkHandle link, int index, int offset) {
    CX740App& app = CamApp();
    app.Begin(kDirWrite, code::kWriteSsiEncoderOffset, 7);
    app.PutU8(2, static_cast<std::uint32_t>(index));
    app.PutU32(3, static_cast<std::uint32_t>(offset));
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_Cam_ReadNSWSetupSSI(LinkHandle link, int* ssiIndex, int* maxSpeed) {
    CX740App& app = CamApp();
    app.Begin(kDirRead, code::kNswSetupSsi, 2);
    if (!app.Transact(link)) {
        return 0;
    }
    Set(ssiIndex, static_cast<int>(app.GetU8(2)));
    Set(maxSpeed, static_cast<int>(app.GetU16(3)));
    return 1;
}

uint16_t A_X740_Cam_WriteNSWSetupSSI(LinkHandle link, int ssiIndex, int maxSpeed) {
    CX740App& app = CamApp();
    app.Begin(kDirWrite, code::kWriteNswSetupSsi, 5);
    app.PutU8(2, static_cast<std::uint32_t>(ssiIndex));
    app.PutU16(3, static_cast<std::uint32_t>(maxSpeed));
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_Cam_ReadNSWSetupBlock(LinkHandle link, int block, int* module, int* byteOffset) {
    CX740App& app = CamApp();
    app.Begin(kDirRead, code::kNswSetupBlock, 3);
    app.PutU8(2, static_cast<std::uint32_t>(block));
    if (!app.Transact(link)) {
        return 0;
    }
    Set(module, static_cast<int>(app.GetU8(3)));
    Set(byteOffset, static_cast<int>(app.GetU8(4)));
    return 1;
}

uint16_t A_X740_Cam_WriteNSWSetupBlock(LinkHandle link, int block, int module, int byteOffset) {
    CX740App& app = CamApp();
    app.Begin(kDirWrite, code::kWriteNswSetupBlock, 5);
    app.PutU8(2, static_cast<std::uint32_t>(block));
    app.PutU8(3, static_cast<std::uint32_t>(module));
    app.PutU8(4, static_cast<std::uint32_t>(byteOffset));
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_Cam_ReadNSWSetupBit(LinkHandle link, int index, int subindex, int* value) {
    CX740App& app = CamApp();
    app.Begin(kDirRead, code::kNswSetupBit, 4);
    app.PutU8(2, static_cast<std::uint32_t>(index));
    app.PutU8(3, static_cast<std::uint32_t>(subindex));
    if (!app.Transact(link)) {
        return 0;
    }
    Set(value, static_cast<int>(app.GetU8(4)));
    return 1;
}

uint16_t A_X740_Cam_WriteNSWSetupBit(LinkHandle link, int index, int subindex, int value) {
    CX740App& app = CamApp();
    app.Begin(kDirWrite, code::kWriteNswSetupBit, 5);
    app.PutU8(2, static_cast<std::uint32_t>(index));
    app.PutU8(3, static_cast<std::uint32_t>(subindex));
    app.PutU8(4, static_cast<std::uint32_t>(value));
    return app.Transact(link) ? 1 : 0;
}

uint16_t A_X740_Cam_ReadNSWProg(LinkHandle link, int number, int* channel, char* name,
                                int* startAngle, int* startDeadTime, int* endAngle,
                                int* endDeadTime, int* type) {
    CX740App& app = CamApp();
    BeginCamRead(app, number);
    if (!app.Transact(link)) {
        return 0;
    }
    GetCamFields(app, channel, startAngle, startDeadTime, endAngle, endDeadTime, type);
    app.GetText(CamOffsets::kName, kCamNameWidth, name);
    return 1;
}

uint16_t A_X740_Cam_WriteNSWProg(LinkHandle link, int number, int channel, const char* name,
                                 int startAngle, int startDeadTime, int endAngle, int endDeadTime,
                                 int type) {
    CX740App& app = CamApp();
    const CamProgram cam{channel, name, startAngle, startDeadTime, endAngle, endDeadTime, type};
    BeginCamWrite(app, number, cam, kCamWriteLength);
    return app.Transact(link) ? 1 : 0;
}

uint32_t A_X740_Cam_GetLastError(void) {
    return CamApp().LastError();
}

uint16_t A_X740_Cam_SetImmediateUpdate(LinkHandle link, int flag) {
    CX740App& app = CamApp();
    app.Begin(kDirWrite, code::kImmediateUpdate, 3);
    app.PutU8(2, static_cast<std::uint32_t>(flag));
    if (app.Transact(link)) {
        return 1;
    }
    return app.CallError() == kErrorDevice + kDeviceBusy ? 1 : 0;
}

uint16_t A_X740_Cam_ReadNSWProgMultiturn(LinkHandle link, int number, int* channel, char* name,
                                         int* startAngle, int* startDeadTime, int* endAngle,
                                         int* endDeadTime, int* type, int* triggerMode,
                                         int* delay) {
    CX740App& app = CamApp();
    BeginCamRead(app, number);
    if (!app.Transact(link)) {
        return 0;
    }
    GetCamFields(app, channel, startAngle, startDeadTime, endAngle, endDeadTime, type);
    if (name != nullptr) {
        app.GetBytes(CamOffsets::kName, reinterpret_cast<std::uint8_t*>(name), kCamNameWidth);
    }
    const bool multiturn = app.ReplyLength() >= kCamMultiturnLength;
    Set(triggerMode, multiturn ? static_cast<int>(app.GetU8(CamOffsets::kTriggerMode)) : 0);
    Set(delay, multiturn ? static_cast<int>(app.GetU8(CamOffsets::kDelay)) : 0);
    return 1;
}

uint16_t A_X740_Cam_WriteNSWProgMultiturn(LinkHandle link, int number, int channel,
                                          const char* name, int startAngle, int startDeadTime,
                                          int endAngle, int endDeadTime, int type, int triggerMode,
                                          int delay) {
    CX740App& app = CamApp();
    const CamProgram cam{channel,     name, startAngle,  startDeadTime, endAngle,
                         endDeadTime, type, triggerMode, delay};
    BeginCamWrite(app, number, cam, kCamMultiturnLength);
    return app.Transact(link) ? 1 : 0;
}

} // extern "C"
