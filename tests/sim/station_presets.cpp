#include "tests/sim/station_presets.h"

namespace x740sim {

namespace {

void fillDefault(Station& s)
{
    s.setModuleIds({0x0740, 0x2110, 0x2210, 0x3104});
    s.setControllerId(0x0740);
    s.setInputLength(16);
    s.setInputs(0, {0x01, 0x80, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xA5, 0x5A, 0x00, 0xFF, 0x10, 0x20, 0x30, 0x40});
    s.setModuleParameters({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08});
    s.setSavedModuleParameters({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08});
    s.setModuleConfiguration({0x04, 0x40, 0x07, 0x10, 0x21, 0x10, 0x22, 0x04});
    static const char info[] = "X740 CPU\0V2.10\0" "2023-04-17";
    s.setModuleInfo(std::vector<std::uint8_t>(info, info + sizeof info));
    s.setMasterParameter(60, {0x10, 0x27, 0x00, 0x00});
    s.setMasterParameter(61, {0x01, 0x00});
}

} // namespace

bool applyPreset(Station& station, const std::string& name)
{
    if (name == "default") {
        fillDefault(station);
        station.setAnimateInputs(false);
        return true;
    }
    if (name == "demo") {
        fillDefault(station);
        station.setAnimateInputs(true);
        return true;
    }
    if (name == "single") {
        fillDefault(station);
        station.setModuleIds({0x0740});
        return true;
    }
    if (name == "empty") {
        fillDefault(station);
        station.setModuleIds({});
        return true;
    }
    return false;
}

std::vector<std::string> presetNames()
{
    return {"default", "demo", "single", "empty"};
}

} // namespace x740sim
