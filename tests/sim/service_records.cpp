#include "tests/sim/service_records.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace x740sim {

namespace {

const std::map<RecordKind, ServiceRecordSpec>& specs() {
    // Both timer records share one layout; the entries follow from 38.
    static const std::vector<ServiceField> timerFields = {
        {"a", 2, 4},          {"b", 6, 4},        {"c", 10, 4},
        {"rate", 14, 4},      {"divisor", 18, 4}, {"whole1", 22, 4},
        {"fraction1", 26, 4}, {"whole2", 30, 4},  {"fraction2", 34, 4}};
    static const std::map<RecordKind, ServiceRecordSpec> table = {
        {RecordKind::SystemMetrics, {"system metrics", 4, {{"index", 2, 2}}}},
        {RecordKind::SystemInfo,
         {"system info",
          12,
          {{"bcdSwitch", 2, 1},
           {"busBytes", 3, 1},
           {"prints", 4, 1},
           {"ram", 5, 2},
           {"nvram", 7, 2},
           {"flashCode", 9, 1},
           {"flashDeviceCode", 10, 2}}}},
        {RecordKind::Status, {"status", 24, {{"a", 2, 2}, {"b", 4, 4}}}},
        {RecordKind::TimerStatus, {"timer status", 38, timerFields}},
        {RecordKind::TimerStatusMax, {"timer status max", 38, timerFields}},
        {RecordKind::ModulConfig,
         {"module configuration",
          59,
          {{"serial", 2, 8},
           {"ip", 10, 16},
           {"mask", 26, 16},
           {"gateway", 42, 16},
           {"dhcp", 58, 1}}}},
        {RecordKind::MainService,
         {"main service", 10, {{"a", 2, 2}, {"b", 4, 2}, {"c", 6, 2}, {"d", 8, 2}}}},
        {RecordKind::SerService,
         {"serial service",
          32,
          {{"name", 2, 16}, {"a", 18, 4}, {"b", 22, 4}, {"c", 26, 4}, {"d", 30, 2}}}},
        {RecordKind::ForceInput, {"force input", 2, {}}},
        {RecordKind::ForceOutput, {"force output", 2, {}}},
        {RecordKind::DfmwItem,
         {"dfmw item", 8, {{"index", 2, 2}, {"word", 4, 2}, {"value1", 6, 1}, {"value2", 7, 1}}}},
        {RecordKind::DfmwData, {"dfmw data", 2, {}}},
        {RecordKind::DfmwInput, {"dfmw input", 2, {}}},
        {RecordKind::SystemConfig,
         {"system configuration",
          190,
          {{"serial", 2, 8},
           {"text2", 10, 16},
           {"text3", 26, 16},
           {"ftpUser", 42, 16},
           {"ftpPassword", 58, 16},
           {"text6", 74, 16},
           {"text7", 90, 16},
           {"text8", 106, 16},
           {"text9", 122, 16},
           {"value10", 138, 4},
           {"text11", 142, 32},
           {"text12", 174, 16}}}},
        {RecordKind::RtcDate,
         {"clock date",
          9,
          {{"select", 2, 1},
           {"p3", 3, 1},
           {"p2", 4, 1},
           {"p1", 5, 1},
           {"p4", 6, 1},
           {"p5", 7, 1},
           {"year", 8, 1}}}},
        {RecordKind::RtcStamp, {"clock stamp", 7, {{"select", 2, 1}, {"stamp", 3, 4}}}},
        {RecordKind::SysLog,
         {"sys-log", 25, {{"mode", 2, 1}, {"text", 3, 16}, {"a", 19, 2}, {"b", 21, 4}}}},
        {RecordKind::SsiSetup,
         {"ssi setup",
          40,
          {{"index", 2, 1},
           {"Direction", 3, 1},
           {"Increments", 4, 4},
           {"Userincrements", 8, 4},
           {"ModulIdx", 12, 4},
           {"ModulOffset", 16, 4},
           {"Preset Modulidx", 20, 4},
           {"Preset ByteOffset", 24, 4},
           {"Preset Modul Bitoffset", 28, 4},
           {"Valuemask", 32, 4},
           {"Optionsflag", 36, 4}}}},
        {RecordKind::EncoderOffset, {"encoder offset", 7, {{"index", 2, 1}, {"offset", 3, 4}}}},
        {RecordKind::NswSetupSsi, {"nsw ssi", 5, {{"ssiIndex", 2, 1}, {"maxSpeed", 3, 2}}}},
        {RecordKind::NswBlock,
         {"nsw block", 5, {{"block", 2, 1}, {"module", 3, 1}, {"byteOffset", 4, 1}}}},
        {RecordKind::NswBit,
         {"nsw bit", 5, {{"index", 2, 1}, {"subindex", 3, 1}, {"value", 4, 1}}}},
        {RecordKind::CamProgram,
         {"cam program",
          32,
          {{"number", 2, 2},
           {"channel", 4, 1},
           {"name", 5, 16},
           {"startAngle", 21, 2},
           {"startDeadTime", 23, 2},
           {"endAngle", 25, 2},
           {"endDeadTime", 27, 2},
           {"type", 29, 1},
           {"trigger", 30, 1},
           {"delay", 31, 1}}}},
        {RecordKind::ImmediateUpdate, {"immediate update", 3, {{"flag", 2, 1}}}},
        {RecordKind::AccessList, {"access-control list", 3, {{"count", 2, 1}}}},
        {RecordKind::PriorityList, {"priority list", 3, {{"count", 2, 1}}}},
        {RecordKind::TcpConfig,
         {"tcp settings",
          31,
          {{"v1", 2, 2},
           {"v2", 4, 1},
           {"v3", 5, 1},
           {"v4", 6, 4},
           {"v5", 10, 4},
           {"v6", 14, 4},
           {"v7", 18, 1},
           {"v8", 19, 4},
           {"v9", 23, 4},
           {"v10", 27, 4}}}},
        {RecordKind::Rs232Config,
         {"serial settings",
          46,
          {{"index", 2, 1},
           {"text", 3, 16},
           {"v1", 19, 4},
           {"v2", 23, 4},
           {"v3", 27, 4},
           {"v4", 31, 1},
           {"v5", 32, 1},
           {"v6", 33, 1},
           {"v7", 34, 4},
           {"v8", 38, 4},
           {"v9", 42, 4}}}},
        {RecordKind::XioBuffer, {"exchange buffer", 2, {}}},
    };
    return table;
}

} // namespace

const ServiceRecordSpec& specOf(RecordKind kind) {
    return specs().at(kind);
}

ServiceRecord::ServiceRecord(RecordKind kind)
    : kind_(kind), bytes_(static_cast<std::size_t>(specOf(kind).length), 0) {}

const ServiceField& ServiceRecord::field(const std::string& name) const {
    for (const ServiceField& f : specOf(kind_).fields) {
        if (name == f.name) {
            return f;
        }
    }
    throw std::invalid_argument("no field " + name + " in " + specOf(kind_).name);
}

std::uint32_t ServiceRecord::getAt(int offset, int width) const {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        const auto at = static_cast<std::size_t>(offset + i);
        value = (value << 8) | (at < bytes_.size() ? bytes_[at] : 0u);
    }
    return value;
}

void ServiceRecord::setAt(int offset, int width, std::uint32_t value) {
    const auto end = static_cast<std::size_t>(offset + width);
    if (bytes_.size() < end) {
        bytes_.resize(end, 0);
    }
    for (int i = 0; i < width; ++i) {
        bytes_[static_cast<std::size_t>(offset + i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t ServiceRecord::get(const std::string& name) const {
    const ServiceField& f = field(name);
    return getAt(f.offset, f.width);
}

std::int32_t ServiceRecord::getSigned(const std::string& name) const {
    const ServiceField& f = field(name);
    const std::uint32_t v = getAt(f.offset, f.width);
    if (f.width == 1)
        return static_cast<std::int8_t>(v);
    if (f.width == 2)
        return static_cast<std::int16_t>(v);
    return static_cast<std::int32_t>(v);
}

void ServiceRecord::set(const std::string& name, std::uint32_t value) {
    const ServiceField& f = field(name);
    setAt(f.offset, f.width, value);
}

std::string ServiceRecord::text(const std::string& name) const {
    const ServiceField& f = field(name);
    std::string out;
    for (int i = 0; i < f.width; ++i) {
        const auto at = static_cast<std::size_t>(f.offset + i);
        const std::uint8_t c = at < bytes_.size() ? bytes_[at] : 0;
        if (c == 0) {
            break;
        }
        out.push_back(static_cast<char>(c));
    }
    return out;
}

void ServiceRecord::setText(const std::string& name, const std::string& text) {
    const ServiceField& f = field(name);
    for (int i = 0; i < f.width; ++i) {
        const auto c = static_cast<std::size_t>(i) < text.size()
                           ? static_cast<std::uint32_t>(
                                 static_cast<std::uint8_t>(text[static_cast<std::size_t>(i)]))
                           : 0u;
        setAt(f.offset + i, 1, c);
    }
}

} // namespace x740sim
