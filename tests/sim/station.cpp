#include "tests/sim/station.h"

#include "tests/sim/frame_codec.h"

#include <algorithm>
#include <chrono>

namespace x740sim {

namespace {

// Function codes the station answers itself.
constexpr std::uint8_t kCodeProtocolId = 0;
constexpr std::uint8_t kCodeAnnounce = 1;
constexpr std::uint8_t kCodeReadIds = 11;
constexpr std::uint8_t kCodeControllerId = 12;
constexpr std::uint8_t kCodeParameters = 13;
constexpr std::uint8_t kCodeMemory = 14;
constexpr std::uint8_t kCodeInputs = 20;
constexpr std::uint8_t kCodeModuleInfo = 23;
constexpr std::uint8_t kCodeOutputs = 30;
constexpr std::uint8_t kCodeFieldbus = 40;
constexpr std::uint8_t kCodeSavedParameters = 41;
constexpr std::uint8_t kCodeClearFlash = 42;
constexpr std::uint8_t kCodeConfiguration = 44;

constexpr std::uint8_t kFieldbusStop = 1;
constexpr std::uint8_t kFieldbusStart = 2;

using Bytes = std::vector<std::uint8_t>;

Bytes withHead(const Bytes& data, const Bytes& value)
{
    Bytes payload;
    payload.reserve(2 + value.size());
    payload.push_back(data[0]);
    payload.push_back(data.size() > 1 ? data[1] : 0);
    const std::size_t room = 253;
    payload.insert(payload.end(), value.begin(), value.begin() + static_cast<std::ptrdiff_t>(std::min(room, value.size())));
    return payload;
}

Bytes tail(const Bytes& data)
{
    return data.size() > 2 ? Bytes(data.begin() + 2, data.end()) : Bytes{};
}

void deviceError(std::uint8_t requestDir, std::uint8_t error, Bytes& payload, std::uint8_t& dir)
{
    payload.assign(1, error);
    dir = static_cast<std::uint8_t>(requestDir | kDirDeviceErrorBit);
}

} // namespace

Station::Station() : memory_(kMemorySize, 0)
{
    for (std::size_t i = 0; i < memory_.size(); ++i)
        memory_[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
}

Response Station::process(const Bytes& frame)
{
    std::lock_guard lock(mutex_);
    ++frameCount_;
    if (logEnabled_)
        log_.push_back(frame);
    frameArrived_.notify_all();

    Fault current;
    const Fault* fault = takeFault(frame, current) ? &current : nullptr;

    const std::uint8_t requestDir = frame.size() > 2 ? frame[2] : 0;
    Bytes payload;
    std::uint8_t replyDir = requestDir;
    bool reply = true;

    if (!frameChecksumOk(frame)) {
        announced_ = -1;
        deviceError(requestDir, kErrRequestChecksum, payload, replyDir);
    } else if (frame[3] == 0) {
        announced_ = -1;
        deviceError(requestDir, kErrUnknownRequest, payload, replyDir);
    } else {
        const Bytes data(frame.begin() + kHeaderSize, frame.end() - 1);
        const int announced = announced_;
        announced_ = -1;
        if (announced >= 0 && static_cast<int>(frame.size() & 0xFF) != announced)
            deviceError(requestDir, kErrAnnounceMismatch, payload, replyDir);
        else
            reply = answer(requestDir, data, payload, replyDir);
    }
    if (!reply && (!fault || fault->kind != FaultKind::Drop))
        return {};
    return shape(buildFrame(replyDir, payload), fault, requestDir);
}

bool Station::takeFault(const Bytes& frame, Fault& fault)
{
    if (frame.size() > kHeaderSize) {
        const std::uint8_t direction = frame[2];
        const std::uint8_t code = frame[kHeaderSize];
        for (auto it = targetedFaults_.begin(); it != targetedFaults_.end(); ++it) {
            if (it->code != code || it->direction != direction)
                continue;
            fault = it->fault;
            if (--it->remaining <= 0)
                targetedFaults_.erase(it);
            return true;
        }
    }
    if (faults_.empty())
        return false;
    fault = faults_.front().fault;
    if (--faults_.front().remaining <= 0)
        faults_.pop_front();
    return true;
}

Response Station::shape(const Bytes& reply, const Fault* fault, std::uint8_t requestDir)
{
    Response r;
    if (!fault) {
        r.chunks.push_back({reply, 0});
        return r;
    }
    switch (fault->kind) {
    case FaultKind::Silence:
        break;
    case FaultKind::Drop:
        r.drop = true;
        break;
    case FaultKind::BadChecksum: {
        Bytes bad = reply;
        bad.back() = static_cast<std::uint8_t>(bad.back() ^ 0x5A);
        r.chunks.push_back({std::move(bad), 0});
        break;
    }
    case FaultKind::ZeroLength:
        r.chunks.push_back({Bytes{0, 0, requestDir, 0}, 0});
        if (fault->followWithReply)
            r.chunks.push_back({reply, 0});
        break;
    case FaultKind::DeviceError: {
        const auto dir = fault->deviceDirection >= 0 ? static_cast<std::uint8_t>(fault->deviceDirection)
                                                     : static_cast<std::uint8_t>(requestDir | kDirDeviceErrorBit);
        r.chunks.push_back({buildFrame(dir, Bytes{fault->errorByte}), 0});
        break;
    }
    case FaultKind::SplitHeaderBody:
        r.chunks.push_back({Bytes(reply.begin(), reply.begin() + kHeaderSize), 0});
        r.chunks.push_back({Bytes(reply.begin() + kHeaderSize, reply.end()), fault->delayMs});
        break;
    case FaultKind::SplitBytes:
        for (std::size_t i = 0; i < reply.size(); ++i)
            r.chunks.push_back({Bytes{reply[i]}, i == 0 ? 0 : fault->delayMs});
        break;
    case FaultKind::Delay:
        r.chunks.push_back({reply, fault->delayMs});
        break;
    case FaultKind::ShortReply:
        r.chunks.push_back({Bytes(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(
                                                                  std::min(fault->shortLength, reply.size()))),
                            0});
        break;
    case FaultKind::TrailingBytes: {
        Bytes withStray = reply;
        const std::uint8_t start[4] = {0x00, 0x00, 0x40, 0x05};
        for (std::size_t i = 0; i < fault->shortLength; ++i)
            withStray.push_back(i < 4 ? start[i] : static_cast<std::uint8_t>(0xA1 + i));
        r.chunks.push_back({withStray, 0});
        break;
    }
    }
    return r;
}

bool Station::answer(std::uint8_t direction, const Bytes& data, Bytes& payload, std::uint8_t& replyDirection)
{
    std::lock_guard lock(mutex_);
    replyDirection = direction;
    if (handler_) {
        bool noReply = false;
        Bytes handled;
        std::uint8_t dir = direction;
        if (handler_->handle(direction, data, handled, dir, noReply)) {
            if (noReply)
                return false;
            payload = std::move(handled);
            replyDirection = dir;
            return true;
        }
    }
    return answerOwn(direction, data, payload, replyDirection);
}

bool Station::answerOwn(std::uint8_t direction, const Bytes& data, Bytes& payload, std::uint8_t& replyDirection)
{
    const std::uint8_t code = data[0];
    const Bytes ack{0};

    if (direction == kDirWrite) {
        switch (code) {
        case kCodeAnnounce:
            if (data.size() < 3 || data[1] != data[2]) {
                deviceError(direction, kErrBadParameter, payload, replyDirection);
                return true;
            }
            announced_ = data[1];
            payload = ack;
            return true;
        case kCodeOutputs:
            outputs_ = tail(data);
            ++outputWrites_;
            payload = ack;
            return true;
        case kCodeFieldbus:
            if (data.size() < 3 || (data[2] != kFieldbusStart && data[2] != kFieldbusStop)) {
                payload = Bytes{kErrBadParameter};
                return true;
            }
            fieldbus_ = data[2] == kFieldbusStart;
            payload = ack;
            return true;
        case kCodeSavedParameters:
            params_ = tail(data);
            savedParams_ = params_;
            payload = ack;
            return true;
        case kCodeClearFlash:
            ++flashClears_;
            savedParams_.clear();
            payload = ack;
            return true;
        case kCodeConfiguration:
            configuration_ = tail(data);
            payload = ack;
            return true;
        default:
            masterParams_[code] = tail(data);
            payload = ack;
            return true;
        }
    }

    if (direction == kDirIdentify && code == kCodeProtocolId) {
        payload = Bytes{code, protocolId_};
        return true;
    }
    if (direction != kDirRead) {
        deviceError(direction, kErrUnknownRequest, payload, replyDirection);
        return true;
    }

    switch (code) {
    case kCodeReadIds: {
        Bytes ids;
        for (std::uint16_t id : moduleIds_) {
            ids.push_back(static_cast<std::uint8_t>(id & 0xFF));
            ids.push_back(static_cast<std::uint8_t>(id >> 8));
        }
        ids.push_back(0);
        ids.push_back(0);
        payload = withHead(data, ids);
        return true;
    }
    case kCodeControllerId:
        payload = withHead(data, Bytes{static_cast<std::uint8_t>(controllerId_ & 0xFF),
                                       static_cast<std::uint8_t>(controllerId_ >> 8)});
        return true;
    case kCodeParameters:
        payload = withHead(data, params_);
        return true;
    case kCodeSavedParameters:
        payload = withHead(data, savedParams_);
        return true;
    case kCodeConfiguration:
        payload = withHead(data, configuration_);
        return true;
    case kCodeModuleInfo:
        payload = withHead(data, moduleInfo_);
        return true;
    case kCodeInputs:
        if (animate_)
            stepInputs();
        payload = withHead(data, Bytes(inputs_.begin(), inputs_.begin() + static_cast<std::ptrdiff_t>(inputLength_)));
        return true;
    case kCodeMemory: {
        if (data.size() < 8) {
            deviceError(direction, kErrBadParameter, payload, replyDirection);
            return true;
        }
        const std::size_t count = data[2];
        const std::uint32_t address = static_cast<std::uint32_t>(data[4]) | (static_cast<std::uint32_t>(data[5]) << 8) |
                                      (static_cast<std::uint32_t>(data[6]) << 16) |
                                      (static_cast<std::uint32_t>(data[7]) << 24);
        if (count > 253 || address > memory_.size() || count > memory_.size() - address) {
            deviceError(direction, kErrBadAddress, payload, replyDirection);
            return true;
        }
        payload = withHead(data, Bytes(memory_.begin() + address, memory_.begin() + address + count));
        return true;
    }
    default: {
        auto it = masterParams_.find(code);
        payload = withHead(data, it == masterParams_.end() ? Bytes{} : it->second);
        return true;
    }
    }
}

void Station::stepInputs()
{
    ++animationStep_;
    inputs_[0] = animationStep_;
    inputs_[1] = static_cast<std::uint8_t>(1u << (animationStep_ % 8));
}

void Station::connectionReset()
{
    std::lock_guard lock(mutex_);
    announced_ = -1;
}

void Station::setModuleIds(const std::vector<std::uint16_t>& ids)
{
    std::lock_guard lock(mutex_);
    moduleIds_ = ids;
}

std::vector<std::uint16_t> Station::moduleIds() const
{
    std::lock_guard lock(mutex_);
    return moduleIds_;
}

void Station::setControllerId(std::uint16_t id)
{
    std::lock_guard lock(mutex_);
    controllerId_ = id;
}

std::uint16_t Station::controllerId() const
{
    std::lock_guard lock(mutex_);
    return controllerId_;
}

void Station::setProtocolId(std::uint8_t id)
{
    std::lock_guard lock(mutex_);
    protocolId_ = id;
}

std::uint8_t Station::protocolId() const
{
    std::lock_guard lock(mutex_);
    return protocolId_;
}

void Station::setInputs(std::size_t offset, const Bytes& bytes)
{
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < bytes.size() && offset + i < inputs_.size(); ++i)
        inputs_[offset + i] = bytes[i];
}

std::array<std::uint8_t, kInputImageSize> Station::inputs() const
{
    std::lock_guard lock(mutex_);
    return inputs_;
}

void Station::setInputLength(std::size_t count)
{
    std::lock_guard lock(mutex_);
    inputLength_ = std::min(count, kMaxInputLength);
}

std::size_t Station::inputLength() const
{
    std::lock_guard lock(mutex_);
    return inputLength_;
}

void Station::setAnimateInputs(bool on)
{
    std::lock_guard lock(mutex_);
    animate_ = on;
}

Bytes Station::outputs() const
{
    std::lock_guard lock(mutex_);
    return outputs_;
}

int Station::outputWrites() const
{
    std::lock_guard lock(mutex_);
    return outputWrites_;
}

void Station::setModuleParameters(const Bytes& bytes)
{
    std::lock_guard lock(mutex_);
    params_ = bytes;
}

Bytes Station::moduleParameters() const
{
    std::lock_guard lock(mutex_);
    return params_;
}

void Station::setSavedModuleParameters(const Bytes& bytes)
{
    std::lock_guard lock(mutex_);
    savedParams_ = bytes;
}

Bytes Station::savedModuleParameters() const
{
    std::lock_guard lock(mutex_);
    return savedParams_;
}

void Station::setModuleConfiguration(const Bytes& bytes)
{
    std::lock_guard lock(mutex_);
    configuration_ = bytes;
}

Bytes Station::moduleConfiguration() const
{
    std::lock_guard lock(mutex_);
    return configuration_;
}

void Station::setMasterParameter(std::uint8_t code, const Bytes& value)
{
    std::lock_guard lock(mutex_);
    masterParams_[code] = value;
}

Bytes Station::masterParameter(std::uint8_t code) const
{
    std::lock_guard lock(mutex_);
    auto it = masterParams_.find(code);
    return it == masterParams_.end() ? Bytes{} : it->second;
}

bool Station::hasMasterParameter(std::uint8_t code) const
{
    std::lock_guard lock(mutex_);
    return masterParams_.count(code) != 0;
}

void Station::setModuleInfo(const Bytes& record)
{
    std::lock_guard lock(mutex_);
    moduleInfo_ = record;
}

Bytes Station::moduleInfo() const
{
    std::lock_guard lock(mutex_);
    return moduleInfo_;
}

void Station::writeMemory(std::uint32_t address, const Bytes& bytes)
{
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < bytes.size() && address + i < memory_.size(); ++i)
        memory_[address + i] = bytes[i];
}

Bytes Station::readMemory(std::uint32_t address, std::size_t count) const
{
    std::lock_guard lock(mutex_);
    if (address >= memory_.size())
        return {};
    count = std::min(count, memory_.size() - address);
    return Bytes(memory_.begin() + address, memory_.begin() + static_cast<std::ptrdiff_t>(address + count));
}

bool Station::fieldbusRunning() const
{
    std::lock_guard lock(mutex_);
    return fieldbus_;
}

int Station::flashClears() const
{
    std::lock_guard lock(mutex_);
    return flashClears_;
}

void Station::injectFault(const Fault& fault, int times)
{
    std::lock_guard lock(mutex_);
    if (times > 0)
        faults_.push_back({fault, times});
}

void Station::injectFaultFor(std::uint8_t code, std::uint8_t direction, const Fault& fault, int times)
{
    std::lock_guard lock(mutex_);
    if (times > 0)
        targetedFaults_.push_back({code, direction, fault, times});
}

void Station::clearFaults()
{
    std::lock_guard lock(mutex_);
    faults_.clear();
    targetedFaults_.clear();
}

std::vector<Bytes> Station::frameLog() const
{
    std::lock_guard lock(mutex_);
    return log_;
}

std::size_t Station::frameCount() const
{
    std::lock_guard lock(mutex_);
    return frameCount_;
}

void Station::clearFrameLog()
{
    std::lock_guard lock(mutex_);
    log_.clear();
    frameCount_ = 0;
}

bool Station::waitForFrames(std::size_t count, int timeoutMs) const
{
    std::unique_lock lock(mutex_);
    return frameArrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [&] { return frameCount_ >= count; });
}

void Station::setFrameLogEnabled(bool on)
{
    std::lock_guard lock(mutex_);
    logEnabled_ = on;
}

void Station::setServiceHandler(ServiceHandler* handler)
{
    std::lock_guard lock(mutex_);
    handler_ = handler;
}

} // namespace x740sim
