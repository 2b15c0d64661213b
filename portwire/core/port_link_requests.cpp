// The module-bus requests that run over a link.
#include <cstring>

#include "portwire/core/port_link.h"
#include "portwire/core/portwire_app.h"
#include "portwire/core/portwire_error.h"

namespace portwire {

std::uint16_t CPortLink::ModuleId(int index) const {
    if (index < 0 || index > moduleCount_)
        return 0;
    const std::size_t at = (static_cast<std::size_t>(index) + 1) * 2;
    if (at + 1 >= moduleIds_.size())
        return 0;
    return static_cast<std::uint16_t>(moduleIds_[at] | (moduleIds_[at + 1] << 8));
}

std::uint8_t CPortLink::InputByteAt(std::size_t imageOffset) const {
    // Values that reach past the image read the missing bytes as 0.
    return imageOffset < inputImage_.size() ? inputImage_[imageOffset] : 0;
}

std::uint16_t CPortLink::GetControllerID() {
    const std::uint8_t* payload = nullptr;
    std::size_t n = 0;
    if (!Request(kDirRead, kFnControllerId, &payload, &n) || n < 4)
        return 0;
    return static_cast<std::uint16_t>(payload[2] | (payload[3] << 8));
}

bool CPortLink::ReadInputs() {
    const std::uint8_t* payload = nullptr;
    std::size_t n = 0;
    if (!Request(kDirRead, kFnReadInputs, &payload, &n))
        return false;
    std::memcpy(inputImage_.data(), payload, n);
    return true;
}

bool CPortLink::ReadPayloadAfterHead(std::uint8_t code, std::uint8_t* dest, std::size_t* n) {
    const std::uint8_t* payload = nullptr;
    std::size_t len = 0;
    if (!Request(kDirRead, code, &payload, &len))
        return false;
    if (dest && len > 2)
        std::memcpy(dest, payload + 2, len - 2);
    if (n)
        *n = len;
    return true;
}

bool CPortLink::ReadMasterParameter(std::uint8_t code, std::uint8_t* dest, std::uint16_t* len) {
    const std::uint8_t* payload = nullptr;
    std::size_t n = 0;
    if (!Request(kDirRead, code, &payload, &n))
        return false;
    if (dest)
        std::memcpy(dest, payload, n);
    if (len)
        *len = static_cast<std::uint16_t>(n);
    return true;
}

bool CPortLink::WriteWithData(std::uint8_t code, int len, const std::uint8_t* data, int timeoutMs) {
    if (len < 0 || len > kMaxCallerData || (len > 0 && !data))
        return false;
    int old = 0;
    if (!SetTimeout(timeoutMs, &old))
        return false;
    // On a failure below the link keeps the longer time-out.
    if (!AnnounceFrame(len) || !WriteCodeFrame(code, len, data))
        return false;
    return SetTimeout(old, nullptr);
}

bool CPortLink::SetOutputs(int len, const std::uint8_t* data) {
    if (len < 0 || len > kMaxCallerData || (len > 0 && !data))
        return false;
    (void)AnnounceFrame(len);  // its outcome is not looked at
    return WriteCodeFrame(kFnSetOutputs, len, data);
}

bool CPortLink::Fieldbus(std::uint8_t parameter) {
    const std::uint8_t data[8] = {kFnFieldbus, 0, parameter, 0, 0, 0, 0, 0};
    const std::uint8_t* payload = nullptr;
    std::size_t n = 0;
    return SendFrame(kDirWrite, data, sizeof data) && ReadResponse(&payload, &n) && payload[0] == 0;
}

bool CPortLink::ClearFlash() {
    if (!SendRequest(kDirWrite, kFnClearFlash))
        return false;
    app_.Clock().sleep(kClearFlashWaitMs);
    const std::uint8_t* payload = nullptr;
    std::size_t n = 0;
    return ReadResponse(&payload, &n) && payload[0] == 0;
}

// One pass of the read-memory exchange. *finished tells whether the exchange is over (with the
// returned result); otherwise one attempt was used and the exchange starts again.
bool CPortLink::ExchangeReadMemory(int count, std::uint32_t address, std::uint8_t* dest, int* attemptsLeft,
                                   bool* finished) {
    *finished = false;
    const std::uint8_t request[8] = {
        kFnReadMemory,
        0,
        static_cast<std::uint8_t>(count),
        0,
        static_cast<std::uint8_t>(address),
        static_cast<std::uint8_t>(address >> 8),
        static_cast<std::uint8_t>(address >> 16),
        static_cast<std::uint8_t>(address >> 24),
    };
    --*attemptsLeft;
    if (!SendFrame(kDirRead, request, sizeof request))
        return false;

    std::uint8_t* buf = reply_.data();
    if (!Read(buf, kFrameHeaderSize)) {
        DiscardPending();
        return false;
    }
    const std::size_t n = buf[3];
    if (n == 0) {
        *finished = true;
        return true;
    }
    // The reply's data and checksum go to dest whatever the count asked for: the device puts
    // its 2-byte head in front of the memory bytes, and dest holds 256 bytes (n is one byte).
    if (dest)
        std::memset(dest, 0, n + 1);
    if (!Read(buf + kFrameHeaderSize, n + 1)) {
        DiscardPending();
        return false;
    }
    const std::size_t total = kFrameHeaderSize + n + 1;
    if (FrameChecksum(buf, static_cast<std::uint16_t>(total - 1)) != buf[total - 1]) {
        SetError(kErrChecksum);
        return false;
    }
    *finished = true;
    if (buf[2] & kDirDeviceError) {
        SetError(buf[kFrameHeaderSize]);
        return false;
    }
    if (dest)
        std::memcpy(dest, buf + kFrameHeaderSize, n + 1);
    return true;
}

bool CPortLink::ReadMemory(int count, std::uint32_t address, std::uint8_t* dest) {
    if (count < 0 || count > static_cast<int>(kMaxFrameData))
        return false;
    int attemptsLeft = kReadMemoryAttempts;
    bool result = false;
    while (attemptsLeft > 0) {
        bool finished = false;
        result = ExchangeReadMemory(count, address, dest, &attemptsLeft, &finished);
        if (finished)
            break;
        result = false;
    }
    lock_.Release();
    return result;
}

} // namespace portwire
