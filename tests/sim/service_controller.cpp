#include "tests/sim/service_controller.h"

#include "tests/sim/frame_codec.h"
#include "tests/sim/station.h"

#include <algorithm>

namespace x740sim {

namespace {

std::uint32_t u16At(const std::vector<std::uint8_t>& d, std::size_t at) {
    return at + 1 < d.size() ? static_cast<std::uint32_t>(d[at] | (d[at + 1] << 8)) : 0u;
}

std::uint32_t u32At(const std::vector<std::uint8_t>& d, std::size_t at) {
    if (at + 3 >= d.size()) {
        return 0;
    }
    return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8) |
           (static_cast<std::uint32_t>(d[at + 2]) << 16) |
           (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

std::uint32_t u8At(const std::vector<std::uint8_t>& d, std::size_t at) {
    return at < d.size() ? d[at] : 0u;
}

// Records read with one code and their key in the request.
struct ReadRoute {
    std::uint8_t code;
    RecordKind kind;
    int keyWidth;   // 0 none, 1 byte at 2, 2 16-bit at 2, 3 two bytes at 2 and 3
    bool mustExist; // a missing keyed entry is a device error
};

constexpr ReadRoute kReads[] = {
    {16, RecordKind::SystemMetrics, 2, true},   {22, RecordKind::SystemInfo, 0, false},
    {24, RecordKind::Status, 0, false},         {25, RecordKind::TimerStatus, 0, false},
    {26, RecordKind::TimerStatusMax, 0, false}, {51, RecordKind::SysLog, 0, false},
    {90, RecordKind::ModulConfig, 0, false},    {92, RecordKind::SystemConfig, 0, false},
    {100, RecordKind::ForceInput, 0, false},    {101, RecordKind::ForceOutput, 0, false},
    {104, RecordKind::XioBuffer, 0, false},     {110, RecordKind::NswBlock, 1, true},
    {111, RecordKind::CamProgram, 2, true},     {114, RecordKind::NswSetupSsi, 0, false},
    {116, RecordKind::NswBit, 3, true},         {120, RecordKind::SsiSetup, 1, true},
    {122, RecordKind::EncoderOffset, 1, true},  {130, RecordKind::MainService, 0, false},
    {140, RecordKind::SerService, 0, false},    {150, RecordKind::DfmwItem, 2, true},
    {151, RecordKind::DfmwData, 0, false},      {153, RecordKind::DfmwInput, 0, false},
    {155, RecordKind::AccessList, 0, false},    {156, RecordKind::PriorityList, 0, false},
    {157, RecordKind::TcpConfig, 0, false},     {158, RecordKind::Rs232Config, 1, true},
};

// Records written with one code.
struct WriteRoute {
    std::uint8_t code;
    RecordKind kind;
    int keyWidth;
};

constexpr WriteRoute kWrites[] = {
    {16, RecordKind::SystemMetrics, 2}, {51, RecordKind::SysLog, 0},
    {91, RecordKind::ModulConfig, 0},   {92, RecordKind::SystemConfig, 0},
    {102, RecordKind::ForceInput, 0},   {103, RecordKind::ForceOutput, 0},
    {104, RecordKind::XioBuffer, 0},    {112, RecordKind::NswBlock, 1},
    {113, RecordKind::CamProgram, 2},   {115, RecordKind::NswSetupSsi, 0},
    {117, RecordKind::NswBit, 3},       {118, RecordKind::ImmediateUpdate, 0},
    {121, RecordKind::SsiSetup, 1},     {123, RecordKind::EncoderOffset, 1},
    {131, RecordKind::MainService, 0},  {141, RecordKind::SerService, 0},
    {152, RecordKind::DfmwItem, 2},     {155, RecordKind::AccessList, 0},
    {156, RecordKind::PriorityList, 0}, {157, RecordKind::TcpConfig, 0},
    {158, RecordKind::Rs232Config, 1},
};

// The clock record a code 50 request names: data[2] selects date and time (0) or the stamp (1).
RecordKind clockKind(const std::vector<std::uint8_t>& data) {
    return u8At(data, 2) == 1 ? RecordKind::RtcStamp : RecordKind::RtcDate;
}

int keyOf(const std::vector<std::uint8_t>& data, int keyWidth) {
    switch (keyWidth) {
    case 1:
        return static_cast<int>(u8At(data, 2));
    case 2:
        return static_cast<int>(u16At(data, 2));
    case 3:
        return static_cast<int>(u8At(data, 2) * 256 + u8At(data, 3));
    default:
        return 0;
    }
}

// The entry a keyed request names (the immediate update: its flag); -1 when its code has no
// key.
int entryKey(std::uint8_t direction, const std::vector<std::uint8_t>& data) {
    if (data[0] == 118) {
        return static_cast<int>(u8At(data, 2));
    }
    if (direction == kDirRead) {
        for (const ReadRoute& route : kReads) {
            if (route.code == data[0]) {
                return route.keyWidth == 0 ? -1 : keyOf(data, route.keyWidth);
            }
        }
    } else {
        for (const WriteRoute& route : kWrites) {
            if (route.code == data[0]) {
                return route.keyWidth == 0 ? -1 : keyOf(data, route.keyWidth);
            }
        }
    }
    return -1;
}

} // namespace

ServiceController::ServiceController(Station& station) : station_(station) {}

bool ServiceController::handle(std::uint8_t direction, const std::vector<std::uint8_t>& data,
                               std::vector<std::uint8_t>& replyPayload,
                               std::uint8_t& replyDirection, bool& noReply) {
    std::lock_guard lock(mutex_);
    if (data.empty()) {
        return false;
    }
    const std::uint8_t code = data[0];
    if (!entryErrors_.empty()) {
        // A refused entry: nothing is read or stored.
        const auto entry = entryErrors_.find({code, entryKey(direction, data)});
        if (entry != entryErrors_.end()) {
            ++requests_[{code, direction}];
            replyPayload = {entry->second};
            replyDirection = kDirDeviceErrorBit;
            return true;
        }
    }
    std::vector<std::uint8_t> reply;
    bool handled = false;
    bool missing = false;
    if (direction == kDirRead) {
        handled = answerRead(data, reply, missing);
    } else if (direction == kDirWrite) {
        handled = answerWrite(data, reply, noReply);
    }
    if (!handled) {
        return false;
    }
    ++requests_[{code, direction}];
    if (direction == kDirWrite && (code == 48 || code == 49 || code == 93 || code == 43)) {
        serviceOrder_.push_back(code);
    }
    if (noReply) {
        return true;
    }

    auto it = shapes_.find(code);
    if (it != shapes_.end()) {
        Shape& shape = it->second;
        if (shape.errorTimes != 0) {
            if (shape.errorTimes > 0) {
                --shape.errorTimes;
            }
            replyPayload = {shape.error};
            replyDirection = kDirDeviceErrorBit;
            return true;
        }
        if (shape.data) {
            reply = *shape.data;
        }
        if (shape.length >= 0) {
            reply.resize(static_cast<std::size_t>(shape.length), 0);
        }
        if (shape.direction >= 0) {
            replyDirection = static_cast<std::uint8_t>(shape.direction);
        }
    }
    if (missing) {
        replyDirection = kDirDeviceErrorBit;
    }
    replyPayload = std::move(reply);
    return true;
}

void ServiceController::replyRecord(RecordKind kind, int key,
                                    const std::vector<std::uint8_t>& request,
                                    std::vector<std::uint8_t>& reply) const {
    auto it = records_.find({kind, key});
    reply = it != records_.end() ? it->second.bytes() : ServiceRecord(kind).bytes();
    // The reply echoes the request's code and its second byte as its head.
    reply[0] = request[0];
    reply[1] = static_cast<std::uint8_t>(u8At(request, 1));
}

void ServiceController::storeRecord(RecordKind kind, int key,
                                    const std::vector<std::uint8_t>& request) {
    ServiceRecord record(kind);
    auto& bytes = record.bytes();
    if (bytes.size() < request.size()) {
        bytes.resize(request.size(), 0);
    }
    std::copy(request.begin(), request.end(), bytes.begin());
    records_[{kind, key}] = record;
}

bool ServiceController::answerRead(const std::vector<std::uint8_t>& data,
                                   std::vector<std::uint8_t>& reply, bool& missing) {
    const std::uint8_t code = data[0];
    if (code == 50) {
        replyRecord(clockKind(data), 0, data, reply);
        reply[2] = static_cast<std::uint8_t>(u8At(data, 2));
        return true;
    }
    if (code == 160) {
        const auto it = identCodes_.find({u32At(data, 2), u32At(data, 6)});
        if (it == identCodes_.end()) {
            reply = {kErrNoSuchEntry};
            missing = true;
            return true;
        }
        reply = {code, 0};
        reply.insert(reply.end(), it->second.begin(), it->second.end());
        return true;
    }
    for (const ReadRoute& route : kReads) {
        if (route.code != code) {
            continue;
        }
        const int key = keyOf(data, route.keyWidth);
        if (route.mustExist && records_.count({route.kind, key}) == 0) {
            reply = {kErrNoSuchEntry};
            missing = true;
            return true;
        }
        replyRecord(route.kind, key, data, reply);
        return true;
    }
    return false;
}

bool ServiceController::answerWrite(const std::vector<std::uint8_t>& data,
                                    std::vector<std::uint8_t>& reply, bool& noReply) {
    const std::uint8_t code = data[0];
    reply = {code, 0};
    switch (code) {
    case 15: {
        // Memory write: address at 2, the bytes from 6 (the memory is the station's).
        if (data.size() >= 6) {
            station_.writeMemory(u32At(data, 2),
                                 std::vector<std::uint8_t>(data.begin() + 6, data.end()));
        }
        return true;
    }
    case 42:
        // Clear module configurations (the two-byte form; the long form is the station's
        // flash clear).
        if (data.size() != 2) {
            return false;
        }
        records_.erase({RecordKind::ModulConfig, 0});
        return true;
    case 43:
        // NVRAM clear: the stored module configuration goes with it.
        records_.erase({RecordKind::ModulConfig, 0});
        return true;
    case 93:
        return true;
    case 48:
    case 49:
        // Start of the FTP server and reset: the controller does not answer.
        noReply = !answerSendOnly_;
        if (code == 49 && resetListener_)
            resetListener_();
        return true;
    case 50:
        storeRecord(clockKind(data), 0, data);
        return true;
    case 160: {
        const std::string text(data.begin() + std::min<std::size_t>(10, data.size()), data.end());
        identCodes_[{u32At(data, 2), u32At(data, 6)}] = text;
        return true;
    }
    case 161: {
        const std::uint32_t component = u32At(data, 2);
        for (auto it = identCodes_.begin(); it != identCodes_.end();) {
            it = it->first.first == component ? identCodes_.erase(it) : std::next(it);
        }
        return true;
    }
    case 162:
        identFileStored_ = false;
        return true;
    case 163:
        identFileStored_ = true;
        return true;
    default:
        break;
    }
    for (const WriteRoute& route : kWrites) {
        if (route.code == code) {
            storeRecord(route.kind, keyOf(data, route.keyWidth), data);
            return true;
        }
    }
    return false;
}

ServiceRecord ServiceController::record(RecordKind kind, int key) const {
    std::lock_guard lock(mutex_);
    auto it = records_.find({kind, key});
    return it != records_.end() ? it->second : ServiceRecord(kind);
}

bool ServiceController::hasRecord(RecordKind kind, int key) const {
    std::lock_guard lock(mutex_);
    return records_.count({kind, key}) != 0;
}

void ServiceController::putRecord(const ServiceRecord& record, int key) {
    std::lock_guard lock(mutex_);
    records_[{record.kind(), key}] = record;
}

void ServiceController::eraseRecord(RecordKind kind, int key) {
    std::lock_guard lock(mutex_);
    records_.erase({kind, key});
}

void ServiceController::putIdentCode(std::uint32_t component, std::uint32_t type,
                                     const std::string& code) {
    std::lock_guard lock(mutex_);
    identCodes_[{component, type}] = code;
}

std::optional<std::string> ServiceController::identCode(std::uint32_t component,
                                                        std::uint32_t type) const {
    std::lock_guard lock(mutex_);
    auto it = identCodes_.find({component, type});
    if (it == identCodes_.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool ServiceController::identFileStored() const {
    std::lock_guard lock(mutex_);
    return identFileStored_;
}

int ServiceController::requests(std::uint8_t code, std::uint8_t direction) const {
    std::lock_guard lock(mutex_);
    auto it = requests_.find({code, direction});
    return it != requests_.end() ? it->second : 0;
}

std::vector<std::uint8_t> ServiceController::serviceOrder() const {
    std::lock_guard lock(mutex_);
    return serviceOrder_;
}

void ServiceController::clearServiceOrder() {
    std::lock_guard lock(mutex_);
    serviceOrder_.clear();
}

void ServiceController::setReplyLength(std::uint8_t code, int length) {
    std::lock_guard lock(mutex_);
    shapes_[code].length = length;
}

void ServiceController::setDeviceError(std::uint8_t code, std::uint8_t error, int times) {
    std::lock_guard lock(mutex_);
    shapes_[code].error = error;
    shapes_[code].errorTimes = times;
}

void ServiceController::setDeviceErrorAt(std::uint8_t code, int key, std::uint8_t error) {
    std::lock_guard lock(mutex_);
    entryErrors_[{code, key}] = error;
}

void ServiceController::setReplyDirection(std::uint8_t code, std::uint8_t direction) {
    std::lock_guard lock(mutex_);
    shapes_[code].direction = direction;
}

void ServiceController::setReplyData(std::uint8_t code, const std::vector<std::uint8_t>& data) {
    std::lock_guard lock(mutex_);
    shapes_[code].data = data;
}

void ServiceController::setResetListener(std::function<void()> listener) {
    std::lock_guard lock(mutex_);
    resetListener_ = std::move(listener);
}

void ServiceController::setAnswerSendOnly(bool on) {
    std::lock_guard lock(mutex_);
    answerSendOnly_ = on;
}

void ServiceController::clearShaping() {
    std::lock_guard lock(mutex_);
    shapes_.clear();
    entryErrors_.clear();
}

} // namespace x740sim
