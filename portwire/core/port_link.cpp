// Opening, closing and raw transfer of a link; the frame level (requests, reply reader).
#include "portwire/core/port_link.h"

#include <cstdio>
#include <cstring>

#include "platform/com_ports.h"
#include "portwire/core/monitor.h"
#include "portwire/core/portwire_app.h"
#include "portwire/core/portwire_error.h"

namespace portwire {

namespace {

struct BaudAttempt {
    int baud;
    int timeoutMs;
};

// Fastest first; slower rates get longer time-outs.
constexpr BaudAttempt kBaudAttempts[] = {
    {115200, 100},
    {38400, 1000},
    {9600, 1000},
    {2400, 2000},
};
constexpr int kBaudRetryPauseMs = 1000;

mv::SerialTimeouts uniformTimeouts(int ms) {
    mv::SerialTimeouts t;
    t.readInterval = ms;
    t.readTotalMultiplier = 1;
    t.readTotalConstant = ms;
    t.writeTotalMultiplier = 1;
    t.writeTotalConstant = ms;
    return t;
}

} // namespace

CPortLink::CPortLink(CPortwireApp& app, std::uint32_t handle) : app_(app), handle_(handle) {}

CPortLink::~CPortLink() {
    // Unloading closes what is still open, without the pauses of A_Close.
    port_.reset();
    socket_.Close();
}

void CPortLink::SetError(std::uint32_t code) { app_.SetLastError(code); }

// ---- opening ---------------------------------------------------------------------------

bool CPortLink::ApplySerialState(int baud) {
    if (!port_->readState() || !port_->applyState(baud)) {
        SetError(kErrComOpen);
        port_.reset();
        return false;
    }
    return true;
}

bool CPortLink::OpenComPort(int comNumber, int baud) {
    comNumber_ = comNumber;
    port_ = app_.Transports().openSerial(comNumber);
    if (!port_) {
        SetError(kErrComOpen);
        return false;
    }
    if (!ApplySerialState(baud))
        return false;
    port_->setTimeouts(uniformTimeouts(kDefaultLinkTimeoutMs));
    timeout_ = kDefaultLinkTimeoutMs;
    transport_ = kSerial;
    SetError(kErrNone);
    return true;
}

bool CPortLink::OpenComAutoBaud(int comNumber) {
    comNumber_ = comNumber;
    app_.ShowStatus("Open");
    app_.ShowStatus(mv::comPortName(comNumber).c_str());
    for (const BaudAttempt& attempt : kBaudAttempts) {
        port_ = app_.Transports().openSerial(comNumber);
        if (!port_) {
            app_.ShowStatus("Error: INVALID_HANDLE");
            SetError(kErrComOpen);
            return false;
        }
        if (!port_->readState()) {
            SetError(kErrComOpen);
            port_.reset();
            return false;
        }
        char line[48];
        std::snprintf(line, sizeof line, "Trying Baudrate %d", attempt.baud);
        app_.ShowStatus(line);
        if (!port_->applyState(attempt.baud)) {
            SetError(kErrComOpen);
            port_.reset();
            return false;
        }
        port_->setTimeouts(uniformTimeouts(attempt.timeoutMs));
        timeout_ = attempt.timeoutMs;
        transport_ = kSerial;

        app_.ShowStatus("Read ID");
        if (ReadID()) {
            app_.ShowStatus("OK");
            SetError(kErrNone);
            return true;
        }
        app_.ShowStatus("FAIL");
        port_->purge();
        port_.reset();
        transport_ = kNotOpen;
        app_.Clock().sleep(kBaudRetryPauseMs);
    }
    SetError(kErrTransfer);
    return false;
}

bool CPortLink::ConnectSocket(std::uint32_t ipv4, int port, bool readId) {
    bool connected = false;
    for (int i = 0; i < kTcpConnectAttempts && !connected; ++i)
        connected = socket_.Connect(app_.Transports(), ipv4, port, kTcpConnectTimeoutMs);
    if (!connected) {
        SetError(kErrTcpConnect);
        return false;
    }
    transport_ = kTcp;
    if (readId && !ReadID()) {
        socket_.Close();
        SetError(kErrTcpConnect);
        return false;
    }
    return true;
}

bool CPortLink::OpenNet(std::uint32_t ipv4, int port, bool readId) {
    comNumber_ = 0;
    if (!ConnectSocket(ipv4, port, readId)) {
        transport_ = kNotOpen;
        return false;
    }
    address_ = ipv4;
    tcpPort_ = port;
    return true;
}

bool CPortLink::Reconnect(bool readId) {
    socket_.Close();
    lock_.Release();
    return ConnectSocket(address_, tcpPort_, readId);
}

void CPortLink::CloseSerial() {
    if (port_) {
        port_->purge();
        port_.reset();
    }
}

void CPortLink::Close() {
    if (transport_ == kSerial) {
        CloseSerial();
    } else if (transport_ == kTcp) {
        socket_.Close();
        app_.Clock().sleep(kTcpCloseWaitMs);
    }
    transport_ = kNotOpen;
}

// ---- raw transfer ----------------------------------------------------------------------

void CPortLink::MirrorToPipe(const std::uint8_t* block, std::size_t len, std::uint8_t direction) {
    if (transport_ != kSerial || logMode_ != 1)
        return;
    app_.Monitor().Post(BuildMonitorMessage(block, len, direction));
}

void CPortLink::FailTcp(IoResult result) {
    // The socket is given up after any failed transfer; a later open connects it again.
    socket_.Close();
    SetError(result == IoResult::Short ? kErrShort : kErrTransfer);
}

// The steps Read and Write share: the state checks, one transfer over the socket or the serial
// port, the error codes, and the monitor copy of serial blocks.
template <typename SocketIo, typename PortIo>
bool CPortLink::Transfer(const std::uint8_t* block, std::size_t len, std::uint8_t direction,
                         SocketIo socketIo, PortIo portIo) {
    if (transport_ == kTcp) {
        if (!socket_.IsOpen()) {
            SetError(kErrTransfer);
            return false;
        }
        if (len == 0)
            return true;
        const IoResult r = socketIo();
        if (r != IoResult::Ok) {
            FailTcp(r);
            return false;
        }
        return true;
    }
    if (transport_ != kSerial || !port_) {
        SetError(kErrInvalidHandle);
        return false;
    }
    if (len == 0)
        return true;
    const IoResult r = portIo();
    if (r != IoResult::Ok) {
        SetError(r == IoResult::Short ? kErrShort : kErrTransfer);
        return false;
    }
    MirrorToPipe(block, len, direction);
    return true;
}

bool CPortLink::Write(const std::uint8_t* data, std::size_t len) {
    return Transfer(
        data, len, kMonitorWritten, [&] { return socket_.Send(data, len, timeout_); },
        [&] { return port_->write(data, len); });
}

bool CPortLink::Read(std::uint8_t* data, std::size_t len) {
    return Transfer(
        data, len, kMonitorRead, [&] { return socket_.Receive(data, len, timeout_); },
        [&] { return port_->read(data, len); });
}

bool CPortLink::Purge() { return transport_ == kSerial && port_ && port_->purge(); }

void CPortLink::DiscardPending() {
    if (transport_ == kTcp)
        socket_.DiscardPending();
    else
        Purge();
}

bool CPortLink::SetTimeout(int ms, int* old) {
    if (old)
        *old = timeout_;
    timeout_ = ms;
    if (transport_ == kTcp)
        return true;
    if (transport_ != kSerial || !port_)
        return false;
    mv::SerialTimeouts current;
    if (!port_->getTimeouts(&current)) {
        SetError(kErrInvalidHandle);
        return false;
    }
    if (old)
        *old = current.readInterval;
    if (!port_->setTimeouts(uniformTimeouts(ms))) {
        SetError(kErrInvalidHandle);
        return false;
    }
    return true;
}

// ---- frames ----------------------------------------------------------------------------

bool CPortLink::SendRequest(std::uint8_t direction, std::uint8_t code) {
    lock_.Acquire();
    std::uint8_t frame[kFixedRequestSize];
    BuildFixedRequest(direction, code, frame);
    if (!Write(frame, sizeof frame)) {
        lock_.Release();
        return false;
    }
    return true;
}

bool CPortLink::SendFrame(std::uint8_t direction, const std::uint8_t* data, std::size_t n) {
    const std::size_t size = BuildVariableFrame(direction, data, n, request_.data());
    if (!Write(request_.data(), size)) {
        lock_.Release();
        return false;
    }
    return true;
}

bool CPortLink::AnnounceFrame(int callerLen) {
    std::uint8_t data[8];
    BuildAnnounceData(callerLen, data);
    return SendFrame(kDirWrite, data, sizeof data) && ReadResponse(nullptr, nullptr);
}

bool CPortLink::WriteCodeFrame(std::uint8_t code, int len, const std::uint8_t* data) {
    std::uint8_t frame[kMaxFrameData];
    frame[0] = code;
    frame[1] = 0;
    if (len > 0)
        std::memcpy(frame + 2, data, static_cast<std::size_t>(len));
    return SendFrame(kDirWrite, frame, static_cast<std::size_t>(len) + 2) &&
           ReadResponse(nullptr, nullptr);
}

bool CPortLink::Request(std::uint8_t direction, std::uint8_t code, const std::uint8_t** payload,
                        std::size_t* n) {
    return SendRequest(direction, code) && ReadResponse(payload, n);
}

bool CPortLink::ReadResponse(const std::uint8_t** payload, std::size_t* n) {
    std::uint8_t* buf = reply_.data();
    bool ok = Read(buf, kFrameHeaderSize);
    const std::size_t len = buf[3];
    if (ok && len == 0)
        ok = false;  // a reply without data: fails, the last error stays as it was
    if (ok) {
        std::memset(buf + kFrameHeaderSize, 0, len + 1);
        ok = Read(buf + kFrameHeaderSize, len + 1);
    }
    if (ok) {
        lock_.Release();
        const std::size_t total = kFrameHeaderSize + len + 1;
        if (FrameChecksum(buf, static_cast<std::uint16_t>(total - 1)) != buf[total - 1]) {
            SetError(kErrChecksum);
            ok = false;
        } else if (buf[2] & kDirDeviceError) {
            SetError(buf[kFrameHeaderSize]);
            return false;  // a device error leaves the receive buffer alone
        }
    }
    if (!ok) {
        DiscardPending();
        lock_.Release();
        return false;
    }
    std::memmove(buf, buf + kFrameHeaderSize, len);
    if (payload)
        *payload = buf;
    if (n)
        *n = len;
    return true;
}

bool CPortLink::ReadID() {
    const std::uint8_t* payload = nullptr;
    std::size_t n = 0;
    if (!Request(kDirRead, kFnReadId, &payload, &n))
        return false;
    moduleIds_.fill(0);
    std::memcpy(moduleIds_.data(), payload, n);
    std::uint16_t count = 0;
    for (std::size_t word = 1; (word + 1) * 2 <= moduleIds_.size(); ++word) {
        if (moduleIds_[word * 2] == 0 && moduleIds_[word * 2 + 1] == 0)
            break;
        ++count;
    }
    moduleCount_ = count;
    return true;
}

} // namespace portwire
