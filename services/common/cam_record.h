// The cam program record (read with code 111, written with code 113), shared by the cam-switch
// and the runtime-data libraries.
#pragma once

#include "services/common/x740_app.h"

namespace x740 {

inline constexpr std::uint8_t kCodeReadCamProg = 111;
inline constexpr std::uint8_t kCodeWriteCamProg = 113;
inline constexpr int kCamReadLength = 4;
inline constexpr int kCamWriteLength = 30;
inline constexpr int kCamMultiturnLength = 32;
inline constexpr int kCamNameWidth = 16;

struct CamOffsets {
    static constexpr int kNumber = 2;
    static constexpr int kChannel = 4;
    static constexpr int kName = 5;
    static constexpr int kStartAngle = 21;
    static constexpr int kStartDeadTime = 23;
    static constexpr int kEndAngle = 25;
    static constexpr int kEndDeadTime = 27;
    static constexpr int kType = 29;
    static constexpr int kTriggerMode = 30;
    static constexpr int kDelay = 31;
};

// The values of one cam program record.
struct CamProgram {
    int channel = 0;
    const char* name = nullptr;
    int startAngle = 0;
    int startDeadTime = 0;
    int endAngle = 0;
    int endDeadTime = 0;
    int type = 0;
    int triggerMode = 0;
    int delay = 0;
};

// Builds the read request for cam program number.
void BeginCamRead(CX740App& app, int number);
// Builds a write request of dataLength (30 plain, 32 multiturn) for cam program number.
void BeginCamWrite(CX740App& app, int number, const CamProgram& cam, int dataLength);

} // namespace x740
