// The panel's service telegrams (SSI setup and offset, cam-switch setup, block and bit
// configuration) and its four fixed requests (controller ID, protocol identification, inputs,
// status), sent over the application object's link. All return true on success; a reply too
// short for the fields an operation takes is a failure, and nothing is read past a reply. A
// write whose value its one-byte or 16-bit field cannot hold fails without sending anything.
#pragma once

#include "panel/core/panel_app.h"

#include <array>
#include <cstdint>
#include <vector>

namespace x740panel {

// The thirteen SSI values in file order: Drehrichtung, Inkremente, UserInkremente,
// ModulIndex, ModulOffset, PresetModulIndex, PresetModulByteOffset, PresetModulBitOffset,
// ValueMask, OptionFlags, MaxDiffValue, MaxDiffCounterValue, Totzeit.
inline constexpr int kSsiValueCount = 13;
using SsiSetupValues = std::array<std::int32_t, kSsiValueCount>;

bool ReadSsiSetupRaw(CX740PanelApp& app, int index, SsiSetupValues& values);
bool WriteSsiSetupRaw(CX740PanelApp& app, int index, const SsiSetupValues& values);
bool ReadSsiOffsetRaw(CX740PanelApp& app, int index, std::int32_t& offset);
bool WriteSsiOffsetRaw(CX740PanelApp& app, int index, std::int32_t offset);
// Cam-switch setup: SSI index (a) and maximum speed (b).
bool ReadNswSetupRaw(CX740PanelApp& app, int& a, int& b);
bool WriteNswSetupRaw(CX740PanelApp& app, int a, int b);
// Block configuration: (block, module index, byte offset).
bool ReadBlockConfigRaw(CX740PanelApp& app, int block, int& c, int& d);
bool WriteBlockConfigRaw(CX740PanelApp& app, int a, int b, int c);
// Bit configuration: (block, bit offset, track).
bool ReadBitConfigRaw(CX740PanelApp& app, int a, int b, int& c);
bool WriteBitConfigRaw(CX740PanelApp& app, int a, int b, int c);

// Status reply fields.
struct StatusRecord {
    int state = 0;
    int errorNumber = 0;
    int errorInfo = 0;
    int foError = 0;
    int cycleTime = 0;
    int voltage2V5 = 0; // mV
    int vccp1 = 0;
    int voltage3V3 = 0;
    int voltage5V = 0;
    int voltage12V = 0;
    int vccp2 = 0;
    int temperature = 0;
};

// Why a request of a service library failed on the link itself, from that library's last
// error; null for the controller's refusal (a device error).
const char* ServiceLinkFailure(std::uint32_t error);

bool RequestControllerId(CX740PanelApp& app, std::uint16_t& id);
bool RequestProtocolId(CX740PanelApp& app, int& protocolId);
// The input bytes after the reply's 2-byte head.
bool RequestInputs(CX740PanelApp& app, std::vector<std::uint8_t>& inputs);
bool RequestStatus(CX740PanelApp& app, StatusRecord& status);

} // namespace x740panel
