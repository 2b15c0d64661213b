#include "tests/sim/station_presets.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace x740sim {

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, int value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// The boards of the sample project's first station, in rack order.
const std::vector<std::uint16_t> kDemoBoards{0x2110, 0x2210, 0x3104, 0x0FAA, 0x0283, 0x000E};

void fillDefault(Station& s)
{
    setBoards(s, {0x2110, 0x2210, 0x3104});
    s.setControllerId(kPresetController);
    s.setInputLength(16);
    s.setInputs(0, {0x01, 0x80, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xA5, 0x5A, 0x00, 0xFF, 0x10, 0x20, 0x30, 0x40});
    s.setModuleParameters({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08});
    s.setSavedModuleParameters({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08});
    // Module information: firmware name, date and version, each ending with a zero.
    static const char info[] = "X740 CPU\0" "2023-04-17\0" "V2.10";
    s.setModuleInfo(std::vector<std::uint8_t>(info, info + sizeof info));
    s.setMasterParameter(60, {0x10, 0x27, 0x00, 0x00});
    s.setMasterParameter(61, {0x01, 0x00});
    s.setAnimateInputs(false);
}

std::vector<std::uint16_t> sixtyBoards()
{
    static const std::uint16_t kinds[] = {0x2110, 0x2210, 0x3104, 0x3204};
    std::vector<std::uint16_t> ids;
    for (int i = 0; i < 60; ++i)
        ids.push_back(kinds[i % 4]);
    return ids;
}

} // namespace

Bytes configurationEntries(const std::vector<std::uint16_t>& ids, int bytesPerBoard)
{
    Bytes out;
    put16(out, static_cast<int>(ids.size()) * bytesPerBoard);
    put16(out, static_cast<int>(ids.size()));
    int offset = 0;
    for (std::uint16_t id : ids) {
        put16(out, id);
        put16(out, bytesPerBoard);
        put16(out, offset);
        offset += bytesPerBoard;
    }
    return out;
}

Bytes configurationList(const std::vector<std::uint16_t>& ids, int bytesPerBoard)
{
    Bytes out;
    put16(out, static_cast<int>(ids.size()) * bytesPerBoard);
    put16(out, static_cast<int>(ids.size()));
    for (std::uint16_t id : ids)
        put16(out, id);
    return out;
}

void setBoards(Station& station, const std::vector<std::uint16_t>& ids)
{
    station.setModuleIds(ids);
    station.setModuleConfiguration(configurationEntries(ids));
}

bool applyPreset(Station& station, const std::string& name)
{
    const auto names = presetNames();
    if (std::find(names.begin(), names.end(), name) == names.end())
        return false;
    fillDefault(station);
    if (name == "default")
        return true;
    if (name == "demo") {
        setBoards(station, kDemoBoards);
        station.setInputLength(32);
        station.setModuleParameters(Bytes(64, 0x00));
        station.setSavedModuleParameters(Bytes(64, 0x00));
        station.setAnimateInputs(true);
        return true;
    }
    if (name == "single") {
        setBoards(station, {});
        return true;
    }
    if (name == "cam") {
        // A cam-switch controller (family 0x32xx).
        station.setControllerId(kCamController);
        setBoards(station, {0x2110, 0x2210, 0x3104});
        station.setProtocolId(3);
        return true;
    }
    if (name == "empty") {
        station.setModuleIds({});
        return true;
    }
    if (name == "sixty") {
        setBoards(station, sixtyBoards());
        station.setInputLength(120);
        station.setAnimateInputs(true);
        return true;
    }
    if (name == "fillers") {
        setBoards(station, {0x000E, 0x000F, 0x0283, 0x2110});
        return true;
    }
    if (name == "unknown") {
        setBoards(station, {0x2110, 0x7777, 0x2210});
        return true;
    }
    if (name == "saved-list") {
        station.setModuleConfiguration(configurationList(station.moduleIds()));
        return true;
    }
    return false;
}

std::vector<std::string> presetNames()
{
    return {"default", "demo", "single", "cam", "empty", "sixty", "fillers", "unknown", "saved-list"};
}

bool parseHexId(const std::string& text, std::uint16_t& id)
{
    if (text.empty() || text.size() > 6)
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long v = std::strtoul(text.c_str(), &end, 16);
    if (errno != 0 || *end != '\0' || v > 0xFFFF || text[0] == '-' || text[0] == '+' || text[0] == ' ')
        return false;
    id = static_cast<std::uint16_t>(v);
    return true;
}

bool parseHexIds(const std::string& text, std::vector<std::uint16_t>& ids)
{
    std::vector<std::uint16_t> parsed;
    if (!text.empty()) {
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = text.find(',', start);
            std::uint16_t id = 0;
            if (!parseHexId(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start), id))
                return false;
            parsed.push_back(id);
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
    }
    ids = std::move(parsed);
    return true;
}

} // namespace x740sim
