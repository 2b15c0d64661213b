// Ready-made station set-ups for the command-line program, the demo and tests.
#pragma once

#include "tests/sim/station.h"

#include <string>
#include <vector>

namespace x740sim {

// "default": a controller with three boards, 16 input bytes, parameters, configuration,
//            module information and two master parameters.
// "demo":    as "default" with inputs that change at every read.
// "single":  the controller alone.
// "empty":   a station that reports no modules.
bool applyPreset(Station& station, const std::string& name);
std::vector<std::string> presetNames();

} // namespace x740sim
