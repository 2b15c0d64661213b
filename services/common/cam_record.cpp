#include "services/common/cam_record.h"

namespace x740 {

void BeginCamRead(CX740App& app, int number) {
    app.Begin(kDirRead, kCodeReadCamProg, kCamReadLength);
    app.PutU16(CamOffsets::kNumber, static_cast<std::uint32_t>(number));
}

void BeginCamWrite(CX740App& app, int number, const CamProgram& cam, int dataLength) {
    app.Begin(kDirWrite, kCodeWriteCamProg, dataLength);
    app.PutU16(CamOffsets::kNumber, static_cast<std::uint32_t>(number));
    app.PutU8(CamOffsets::kChannel, static_cast<std::uint32_t>(cam.channel));
    app.PutText(CamOffsets::kName, kCamNameWidth, cam.name);
    app.PutU16(CamOffsets::kStartAngle, static_cast<std::uint32_t>(cam.startAngle));
    app.PutU16(CamOffsets::kStartDeadTime, static_cast<std::uint32_t>(cam.startDeadTime));
    app.PutU16(CamOffsets::kEndAngle, static_cast<std::uint32_t>(cam.endAngle));
    app.PutU16(CamOffsets::kEndDeadTime, static_cast<std::uint32_t>(cam.endDeadTime));
    app.PutU8(CamOffsets::kType, static_cast<std::uint32_t>(cam.type));
    if (dataLength >= kCamMultiturnLength) {
        app.PutU8(CamOffsets::kTriggerMode, static_cast<std::uint32_t>(cam.triggerMode));
        app.PutU8(CamOffsets::kDelay, static_cast<std::uint32_t>(cam.delay));
    }
}

} // namespace x740
