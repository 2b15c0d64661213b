// One link to a controller: a serial port or a TCP connection, with its time-out, request lock,
// input image and module ID table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "portwire/core/frame.h"
#include "portwire/core/link_socket.h"
#include "portwire/core/request_lock.h"
#include "portwire/core/transport.h"

namespace portwire {

class CPortwireApp;

inline constexpr std::size_t kInputImageSize = 2 + 256;
inline constexpr std::size_t kModuleIdTableSize = 400;
inline constexpr int kDefaultLinkTimeoutMs = 1000;
inline constexpr int kWriteRequestTimeoutMs = 5000;
inline constexpr int kClearFlashWaitMs = 500;
inline constexpr int kTcpCloseWaitMs = 50;
inline constexpr int kTcpConnectAttempts = 5;
inline constexpr int kTcpConnectTimeoutMs = 1000;
inline constexpr int kNoReadIdBaud = 115200;
inline constexpr int kReadMemoryAttempts = 10;

class CPortLink {
public:
    enum Transport : std::uint32_t { kNotOpen = 0, kSerial = 1, kTcp = 2 };

    CPortLink(CPortwireApp& app, std::uint32_t handle);
    ~CPortLink();
    CPortLink(const CPortLink&) = delete;
    CPortLink& operator=(const CPortLink&) = delete;

    std::uint32_t Handle() const { return handle_; }
    Transport GetTransport() const { return transport_; }
    // False before the open and after the last close.
    bool IsOpen() const { return transport_ != kNotOpen; }
    int ComNumber() const { return comNumber_; }
    std::uint32_t Address() const { return address_; }
    int TcpPort() const { return tcpPort_; }
    int Timeout() const { return timeout_; }
    void SetLogMode(int mode) { logMode_ = mode; }
    int References() const { return references_; }
    void AddReference() { ++references_; }
    int DropReference() { return --references_; }
    // A TCP link whose socket a failed transfer closed.
    bool SocketLost() const { return transport_ == kTcp && !socket_.IsOpen(); }

    // Opening (the last error is set on failure as each step tells).
    bool OpenComPort(int comNumber, int baud);
    bool OpenComAutoBaud(int comNumber);
    bool OpenNet(std::uint32_t ipv4, int port, bool readId);
    // Connects the socket of a TCP link again (5 attempts, then Read ID when asked).
    bool Reconnect(bool readId);
    // Closes the transport as A_Close does at the last reference (with the TCP close wait).
    void Close();

    // Raw transfer of exactly len bytes.
    bool Write(const std::uint8_t* data, std::size_t len);
    bool Read(std::uint8_t* data, std::size_t len);
    // Discards the serial receive buffer; false for links without a serial port.
    bool Purge();
    // After a reply that failed its checks: drops what is still pending on either carrier, so
    // the next request starts in step with the device.
    void DiscardPending();
    // A_SetComTimout: *old (when given) receives the previous value.
    bool SetTimeout(int ms, int* old);

    // Frame level.
    bool SendRequest(std::uint8_t direction, std::uint8_t code);
    bool SendFrame(std::uint8_t direction, const std::uint8_t* data, std::size_t n);
    bool AnnounceFrame(int callerLen);
    // On success *payload points into the link's reply buffer (valid until the next request);
    // either output may be null when the caller only needs the outcome.
    bool ReadResponse(const std::uint8_t** payload, std::size_t* n);
    // A fixed request and its reply.
    bool Request(std::uint8_t direction, std::uint8_t code, const std::uint8_t** payload,
                 std::size_t* n);
    bool ReadID();
    CRequestLock& Lock() { return lock_; }
    // Held by every export for the whole of its work on the link: a request from its first byte
    // until its results are copied out, so two threads sharing a link never mix their frames or
    // read each other's replies. The request lock above keeps its own order inside.
    std::mutex& Exclusive() { return exclusive_; }

    // Requests.
    std::uint16_t GetControllerID();
    bool ReadInputs();
    bool ReadPayloadAfterHead(std::uint8_t code, std::uint8_t* dest, std::size_t* n);
    bool ReadMasterParameter(std::uint8_t code, std::uint8_t* dest, std::uint16_t* len);
    bool WriteWithData(std::uint8_t code, int len, const std::uint8_t* data, int timeoutMs);
    bool SetOutputs(int len, const std::uint8_t* data);
    bool Fieldbus(std::uint8_t parameter);
    bool ClearFlash();
    bool ReadMemory(int count, std::uint32_t address, std::uint8_t* dest);

    // Read ID results and the input image.
    std::uint16_t ModuleCount() const { return moduleCount_; }
    std::uint16_t ModuleId(int index) const;
    std::uint8_t InputByteAt(std::size_t imageOffset) const;
    const std::uint8_t* InputImage() const { return inputImage_.data(); }

private:
    bool ApplySerialState(int baud);
    void MirrorToPipe(const std::uint8_t* block, std::size_t len, std::uint8_t direction);
    void CloseSerial();
    bool ConnectSocket(std::uint32_t ipv4, int port, bool readId);
    void FailTcp(IoResult result);
    // Sends code, 0 and len bytes of data as one write frame and reads the reply.
    bool WriteCodeFrame(std::uint8_t code, int len, const std::uint8_t* data);
    template <typename SocketIo, typename PortIo>
    bool Transfer(const std::uint8_t* block, std::size_t len, std::uint8_t direction,
                  SocketIo socketIo, PortIo portIo);
    void SetError(std::uint32_t code);
    bool ExchangeReadMemory(int count, std::uint32_t address, std::uint8_t* dest, int* attemptsLeft,
                            bool* finished);

    CPortwireApp& app_;
    std::uint32_t handle_;
    Transport transport_ = kNotOpen;
    std::unique_ptr<ISerialPort> port_;
    CLinkSocket socket_;
    int comNumber_ = 0;
    std::uint32_t address_ = 0;
    int tcpPort_ = 0;
    int timeout_ = kDefaultLinkTimeoutMs;
    int logMode_ = 0;
    int references_ = 1;
    CRequestLock lock_;
    std::mutex exclusive_;
    std::array<std::uint8_t, kInputImageSize> inputImage_{};
    std::uint16_t moduleCount_ = 0;
    std::array<std::uint8_t, kModuleIdTableSize> moduleIds_{};
    std::array<std::uint8_t, kMaxFrameSize> reply_{};
    std::array<std::uint8_t, kMaxFrameSize> request_{};
};

} // namespace portwire
