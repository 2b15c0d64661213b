#include "tests/sim/cam_configuration.h"

namespace x740sim {

namespace {

constexpr int kLastByteKey = 255;
constexpr int kLastWordKey = 65535;

ServiceRecord blockRecord(int block, const CamBlockConfig& b) {
    ServiceRecord r(RecordKind::NswBlock);
    r.set("block", static_cast<std::uint32_t>(block));
    r.set("module", static_cast<std::uint32_t>(b.module));
    r.set("byteOffset", static_cast<std::uint32_t>(b.byteOffset));
    return r;
}

ServiceRecord bitRecord(int block, int bit, int track) {
    ServiceRecord r(RecordKind::NswBit);
    r.set("index", static_cast<std::uint32_t>(block));
    r.set("subindex", static_cast<std::uint32_t>(bit));
    r.set("value", static_cast<std::uint32_t>(track));
    return r;
}

ServiceRecord camRecord(int number, const CamEntryConfig& c) {
    ServiceRecord r(RecordKind::CamProgram);
    r.set("number", static_cast<std::uint32_t>(number));
    r.set("channel", static_cast<std::uint32_t>(c.track));
    r.setText("name", c.name);
    r.set("startAngle", static_cast<std::uint32_t>(c.startAngle));
    r.set("startDeadTime", static_cast<std::uint32_t>(c.startDeadTime));
    r.set("endAngle", static_cast<std::uint32_t>(c.endAngle));
    r.set("endDeadTime", static_cast<std::uint32_t>(c.endDeadTime));
    r.set("type", static_cast<std::uint32_t>(c.type));
    r.set("trigger", static_cast<std::uint32_t>(c.triggerMode));
    r.set("delay", static_cast<std::uint32_t>(c.delay));
    return r;
}

ServiceRecord filterRecord(int index, const FilterItemConfig& f) {
    ServiceRecord r(RecordKind::DfmwItem);
    r.set("index", static_cast<std::uint32_t>(index));
    r.set("word", static_cast<std::uint32_t>(f.word));
    r.set("value1", static_cast<std::uint32_t>(f.value1));
    r.set("value2", static_cast<std::uint32_t>(f.value2));
    return r;
}

std::int32_t signedAt(const ServiceRecord& r, int offset) {
    return static_cast<std::int32_t>(r.getAt(offset, 4));
}

} // namespace

ServiceRecord ssiSetupRecord(int index, const SsiInterfaceConfig& s) {
    ServiceRecord r(RecordKind::SsiSetup);
    r.bytes().assign(kSsiRecordLength, 0);
    r.bytes()[0] = 0x78;
    r.setAt(2, 1, static_cast<std::uint32_t>(index));
    r.setAt(3, 1, static_cast<std::uint32_t>(s.direction));
    const std::int32_t words[] = {s.increments,       s.userIncrements,   s.modulIndex,
                                  s.modulOffset,      s.presetModulIndex, s.presetByteOffset,
                                  s.presetBitOffset,  s.valueMask};
    int at = 4;
    for (std::int32_t w : words) {
        r.setAt(at, 4, static_cast<std::uint32_t>(w));
        at += 4;
    }
    r.setAt(36, 1, static_cast<std::uint32_t>(s.optionFlags)); // 37..39 stay 0
    r.setAt(40, 4, static_cast<std::uint32_t>(s.maxDiffValue));
    r.setAt(44, 4, static_cast<std::uint32_t>(s.maxDiffCounterValue));
    r.setAt(48, 4, static_cast<std::uint32_t>(s.deadTime));
    return r;
}

CamConfiguration camPresetConfiguration() {
    CamConfiguration c;
    SsiInterfaceConfig first;
    first.direction = 1;
    first.increments = 4096;
    first.userIncrements = 3600;
    first.modulIndex = 2;
    first.modulOffset = 4;
    first.presetModulIndex = 1;
    first.presetByteOffset = 3;
    first.presetBitOffset = 5;
    first.valueMask = 0x00FFFFFF;
    first.optionFlags = 2;
    first.maxDiffValue = 100;
    first.maxDiffCounterValue = 8;
    first.deadTime = 7;
    first.offset = -1200;
    SsiInterfaceConfig second;
    second.direction = 0;
    second.increments = 8192;
    second.userIncrements = 36000;
    second.modulIndex = 3;
    second.modulOffset = 0;
    second.presetModulIndex = 1;
    second.presetByteOffset = 255;
    second.presetBitOffset = 0;
    second.valueMask = 0x3FFFFFFF;
    second.optionFlags = 0;
    second.maxDiffValue = 50;
    second.maxDiffCounterValue = 3;
    second.deadTime = 0;
    second.offset = 250000;
    c.ssi = {first, second};
    c.hasSetup = true;
    c.ssiIndex = 1;
    c.maxSpeed = 3000;
    c.blocks = {{1, 0}, {1, 1}, {2, 4}, {3, 255}};
    c.bitTracks = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    c.cams = {{0, "Kleber", 100, 5, 200, 0, 16, 2, 5},
              {1, "Messer oben", 0, 0, 3599, 10, 0, 0, 0},
              {2, "FifteenCharName", 10, 0, 20, 0, 19, 3, 127},
              {3, "", 3000, 20, 100, 20, 17, 1, 0},
              {11, "Auswurf", 1800, 0, 1900, 0, 18, 0, 64}};
    c.filters = {{3, 1, 2}, {65535, 255, 0}, {100, 7, 9}};
    return c;
}

CamConfiguration largeCamConfiguration(int blocks, int bits, int cams) {
    CamConfiguration c;
    c.hasSetup = true;
    c.ssiIndex = 0;
    c.maxSpeed = 6000;
    for (int k = 0; k < blocks; ++k) {
        c.blocks.push_back({k % 200, k % 64});
    }
    for (int j = 0; j < bits; ++j) {
        c.bitTracks.push_back(j % 250);
    }
    for (int n = 0; n < cams; ++n) {
        c.cams.push_back({n % 250, "Cam " + std::to_string(n), (n * 7) % 3600, n % 50,
                          (n * 7 + 90) % 3600, n % 30, n % 2 == 0 ? 16 : 0, n % 4, n % 128});
    }
    return c;
}

void applyServicePreset(ServiceController& controller, const std::string& preset) {
    if (preset == "cam") {
        putCamConfiguration(controller, camPresetConfiguration());
    }
}

void clearCamConfiguration(ServiceController& controller) {
    const CamConfiguration held = takeCamConfiguration(controller);
    for (int n = 0; n <= kLastByteKey; ++n) {
        controller.eraseRecord(RecordKind::SsiSetup, n);
        controller.eraseRecord(RecordKind::EncoderOffset, n);
        controller.eraseRecord(RecordKind::NswBlock, n);
        for (int bit = 0; bit < 8; ++bit) {
            controller.eraseRecord(RecordKind::NswBit, n * 256 + bit);
        }
    }
    for (std::size_t n = 0; n < held.cams.size(); ++n) {
        controller.eraseRecord(RecordKind::CamProgram, static_cast<int>(n));
    }
    for (std::size_t n = 0; n < held.filters.size(); ++n) {
        controller.eraseRecord(RecordKind::DfmwItem, static_cast<int>(n));
    }
    controller.eraseRecord(RecordKind::NswSetupSsi);
    controller.eraseRecord(RecordKind::ImmediateUpdate);
}

void putCamConfiguration(ServiceController& controller, const CamConfiguration& config) {
    clearCamConfiguration(controller);
    for (std::size_t n = 0; n < config.ssi.size(); ++n) {
        const int index = static_cast<int>(n);
        controller.putRecord(ssiSetupRecord(index, config.ssi[n]), index);
        ServiceRecord offset(RecordKind::EncoderOffset);
        offset.set("index", static_cast<std::uint32_t>(index));
        offset.set("offset", static_cast<std::uint32_t>(config.ssi[n].offset));
        controller.putRecord(offset, index);
    }
    if (config.hasSetup) {
        ServiceRecord setup(RecordKind::NswSetupSsi);
        setup.set("ssiIndex", static_cast<std::uint32_t>(config.ssiIndex));
        setup.set("maxSpeed", static_cast<std::uint32_t>(config.maxSpeed));
        controller.putRecord(setup);
    }
    for (std::size_t k = 0; k < config.blocks.size(); ++k) {
        controller.putRecord(blockRecord(static_cast<int>(k), config.blocks[k]),
                             static_cast<int>(k));
    }
    for (std::size_t j = 0; j < config.bitTracks.size(); ++j) {
        const int block = static_cast<int>(j / 8);
        const int bit = static_cast<int>(j % 8);
        controller.putRecord(bitRecord(block, bit, config.bitTracks[j]), block * 256 + bit);
    }
    for (std::size_t n = 0; n < config.cams.size(); ++n) {
        controller.putRecord(camRecord(static_cast<int>(n), config.cams[n]),
                             static_cast<int>(n));
    }
    for (std::size_t n = 0; n < config.filters.size(); ++n) {
        controller.putRecord(filterRecord(static_cast<int>(n), config.filters[n]),
                             static_cast<int>(n));
    }
}

CamConfiguration takeCamConfiguration(const ServiceController& controller) {
    CamConfiguration c;
    for (int n = 0; n <= kLastByteKey && controller.hasRecord(RecordKind::SsiSetup, n); ++n) {
        const ServiceRecord r = controller.record(RecordKind::SsiSetup, n);
        SsiInterfaceConfig s;
        s.direction = static_cast<int>(r.getAt(3, 1));
        std::int32_t* words[] = {&s.increments,       &s.userIncrements,   &s.modulIndex,
                                 &s.modulOffset,      &s.presetModulIndex, &s.presetByteOffset,
                                 &s.presetBitOffset,  &s.valueMask};
        int at = 4;
        for (std::int32_t* w : words) {
            *w = signedAt(r, at);
            at += 4;
        }
        s.optionFlags = static_cast<int>(r.getAt(36, 1));
        s.maxDiffValue = signedAt(r, 40);
        s.maxDiffCounterValue = signedAt(r, 44);
        s.deadTime = signedAt(r, 48);
        s.offset = controller.record(RecordKind::EncoderOffset, n).getSigned("offset");
        c.ssi.push_back(s);
    }
    c.hasSetup = controller.hasRecord(RecordKind::NswSetupSsi);
    if (c.hasSetup) {
        const ServiceRecord setup = controller.record(RecordKind::NswSetupSsi);
        c.ssiIndex = static_cast<int>(setup.get("ssiIndex"));
        c.maxSpeed = static_cast<int>(setup.get("maxSpeed"));
    }
    for (int k = 0; k <= kLastByteKey && controller.hasRecord(RecordKind::NswBlock, k); ++k) {
        const ServiceRecord r = controller.record(RecordKind::NswBlock, k);
        c.blocks.push_back({static_cast<int>(r.get("module")),
                            static_cast<int>(r.get("byteOffset"))});
    }
    for (int j = 0; j < (kLastByteKey + 1) * 8; ++j) {
        const int key = (j / 8) * 256 + j % 8;
        if (!controller.hasRecord(RecordKind::NswBit, key)) {
            break;
        }
        c.bitTracks.push_back(static_cast<int>(controller.record(RecordKind::NswBit, key).get("value")));
    }
    for (int n = 0; n <= kLastWordKey && controller.hasRecord(RecordKind::CamProgram, n); ++n) {
        const ServiceRecord r = controller.record(RecordKind::CamProgram, n);
        c.cams.push_back({static_cast<int>(r.get("channel")), r.text("name"),
                          static_cast<int>(r.get("startAngle")),
                          static_cast<int>(r.get("startDeadTime")),
                          static_cast<int>(r.get("endAngle")),
                          static_cast<int>(r.get("endDeadTime")), static_cast<int>(r.get("type")),
                          static_cast<int>(r.get("trigger")), static_cast<int>(r.get("delay"))});
    }
    for (int n = 0; n <= kLastWordKey && controller.hasRecord(RecordKind::DfmwItem, n); ++n) {
        const ServiceRecord r = controller.record(RecordKind::DfmwItem, n);
        c.filters.push_back({static_cast<int>(r.get("word")), static_cast<int>(r.get("value1")),
                             static_cast<int>(r.get("value2"))});
    }
    return c;
}

} // namespace x740sim
