// Ready-made station set-ups for the command-line program, the demo and tests. Every preset
// reports its controller's ID on request and lists only the boards in its module ID table.
#pragma once

#include "tests/sim/station.h"

#include <cstdint>
#include <string>
#include <vector>

namespace x740sim {

// The controller ID of every preset but "cam" (an X740).
inline constexpr std::uint16_t kPresetController = 0x0740;
// The controller ID of the "cam" preset.
inline constexpr std::uint16_t kCamController = 0x32A5;

// "default":    an X740 with three boards, 16 input bytes, parameters, a saved configuration
//               (6-byte entries), module information and two master parameters.
// "demo":       the boards of the sample project's first station, inputs that change at every
//               read.
// "single":     the controller alone.
// "cam":        a cam-switch controller (controller ID 0x32A5, protocol ID 3) with three
//               boards; its cam-switch, SSI and filter records: applyServicePreset
//               (cam_configuration.h).
// "empty":      a station that reports no modules.
// "sixty":      sixty boards, inputs that change at every read.
// "fillers":    boards with IDs 14, 15 and 643 (the ones with filler modules behind them).
// "unknown":    a board whose ID no catalogue knows between two known ones.
// "saved-list": as "default" with the saved configuration as a plain ID list.
bool applyPreset(Station& station, const std::string& name);
std::vector<std::string> presetNames();

// Saved configurations in their two layouts: 16-bit total, count, then per board ID, data size
// and offset (6 bytes), or the IDs alone (2 bytes). Every board counts `bytesPerBoard` bytes.
std::vector<std::uint8_t> configurationEntries(const std::vector<std::uint16_t>& ids,
                                               int bytesPerBoard = 2);
std::vector<std::uint8_t> configurationList(const std::vector<std::uint16_t>& ids,
                                            int bytesPerBoard = 2);

// Sets the board IDs, and the saved configuration to match them (6-byte entries).
void setBoards(Station& station, const std::vector<std::uint16_t>& ids);

// "2110,2210,3104" (hexadecimal, comma-separated; empty: no boards). False on bad text.
bool parseHexIds(const std::string& text, std::vector<std::uint16_t>& ids);
bool parseHexId(const std::string& text, std::uint16_t& id);

} // namespace x740sim
