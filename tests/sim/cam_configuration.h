// The cam-switch configuration of a simulated controller: its SSI encoder interfaces, the
// cam-switch setup, blocks, bit assignments and cams, and its digital filter items. Put into
// a controller it becomes the controller's own records (in the controller's layout); taken
// from one, it is what the controller holds.
#pragma once

#include "tests/sim/service_controller.h"

#include <cstdint>
#include <string>
#include <vector>

namespace x740sim {

struct SsiInterfaceConfig {
    int direction = 0; // 8 bits
    std::int32_t increments = 0;
    std::int32_t userIncrements = 0;
    std::int32_t modulIndex = 0;
    std::int32_t modulOffset = 0;
    std::int32_t presetModulIndex = 0;
    std::int32_t presetByteOffset = 0;
    std::int32_t presetBitOffset = 0;
    std::int32_t valueMask = 0;
    int optionFlags = 0; // 8 bits
    std::int32_t maxDiffValue = 0;
    std::int32_t maxDiffCounterValue = 0;
    std::int32_t deadTime = 0;
    std::int32_t offset = 0; // the encoder offset, a record of its own
    bool operator==(const SsiInterfaceConfig&) const = default;
};

struct CamBlockConfig {
    int module = 0;
    int byteOffset = 0;
    bool operator==(const CamBlockConfig&) const = default;
};

struct CamEntryConfig {
    int track = 0;
    std::string name; // at most 16 bytes are kept
    int startAngle = 0;
    int startDeadTime = 0;
    int endAngle = 0;
    int endDeadTime = 0;
    int type = 0;
    int triggerMode = 0;
    int delay = 0;
    bool operator==(const CamEntryConfig&) const = default;
};

struct FilterItemConfig {
    int word = 0;   // 16 bits
    int value1 = 0; // 8 bits
    int value2 = 0; // 8 bits
    bool operator==(const FilterItemConfig&) const = default;
};

struct CamConfiguration {
    std::vector<SsiInterfaceConfig> ssi;
    bool hasSetup = false;
    int ssiIndex = 0;
    int maxSpeed = 0;
    std::vector<CamBlockConfig> blocks;
    std::vector<int> bitTracks; // assignment j: block j / 8, bit j % 8
    std::vector<CamEntryConfig> cams;
    std::vector<FilterItemConfig> filters;
    bool operator==(const CamConfiguration&) const = default;
};

// Length of an SSI setup record with every field (the older, shorter forms end earlier).
inline constexpr int kSsiRecordLength = 52;
// Length of a cam record with trigger mode and delay.
inline constexpr int kCamRecordLength = 32;

// The "cam" preset's configuration: two SSI interfaces, four blocks, twelve bit assignments,
// five cams with multiturn values, three filter items.
CamConfiguration camPresetConfiguration();
// A large configuration for load runs: `blocks` blocks, `bits` bit assignments, `cams` cams.
CamConfiguration largeCamConfiguration(int blocks, int bits, int cams);

// The service records that go with a station preset: the "cam" preset's controller holds
// camPresetConfiguration(); the others hold none.
void applyServicePreset(ServiceController& controller, const std::string& preset);

// Replaces the controller's cam-switch, SSI and filter records by the configuration.
void putCamConfiguration(ServiceController& controller, const CamConfiguration& config);
// Removes them all (an emptied controller answers every read of them with a device error).
void clearCamConfiguration(ServiceController& controller);
// What the controller holds: every list up to its first missing entry.
CamConfiguration takeCamConfiguration(const ServiceController& controller);

// The SSI setup record of one interface, as the controller sends it (52 bytes).
ServiceRecord ssiSetupRecord(int index, const SsiInterfaceConfig& ssi);

} // namespace x740sim
