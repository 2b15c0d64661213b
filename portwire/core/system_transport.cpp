// The real carriers: serial devices and TCP sockets of the platform layer.
#include "portwire/core/transport.h"

#include "platform/com_ports.h"
#include "platform/tcp_socket.h"

namespace portwire {

namespace {

// Both platform carriers report Ok, Failed or TimedOut; a time-out is a short transfer here.
template <typename Status>
IoResult toIoResult(Status s) {
    switch (s) {
    case Status::Ok:
        return IoResult::Ok;
    case Status::TimedOut:
        return IoResult::Short;
    default:
        return IoResult::Failed;
    }
}

class SystemSerialPort final : public ISerialPort {
public:
    bool open(const std::string& device) { return port_.open(device); }

    bool readState() override { return port_.readState(); }
    bool applyState(int baud) override { return port_.applyState(baud); }
    bool setTimeouts(const mv::SerialTimeouts& timeouts) override { return port_.setTimeouts(timeouts); }
    bool getTimeouts(mv::SerialTimeouts* timeouts) override {
        if (!port_.isOpen())
            return false;
        *timeouts = port_.timeouts();
        return true;
    }
    IoResult write(const std::uint8_t* data, std::size_t len) override {
        return toIoResult(port_.write(data, len, nullptr));
    }
    IoResult read(std::uint8_t* data, std::size_t len) override {
        return toIoResult(port_.read(data, len, nullptr));
    }
    bool purge() override { return port_.purgeInput(); }

private:
    mv::SerialPort port_;
};

class SystemStreamSocket final : public IStreamSocket {
public:
    bool connect(std::uint32_t ipv4, int port, int timeoutMs) {
        if (port < 0 || port > 0xFFFF)
            return false;
        return socket_.connect(ipv4, static_cast<std::uint16_t>(port), timeoutMs);
    }
    IoResult send(const std::uint8_t* data, std::size_t len, int timeoutMs) override {
        return toIoResult(socket_.send(data, len, timeoutMs, nullptr));
    }
    IoResult receive(std::uint8_t* data, std::size_t len, int timeoutMs) override {
        return toIoResult(socket_.receive(data, len, timeoutMs, nullptr));
    }
    void discardPending() override { socket_.discardPending(); }

private:
    mv::TcpSocket socket_;
};

class SystemTransports final : public ITransportFactory {
public:
    std::unique_ptr<ISerialPort> openSerial(int comNumber) override {
        auto port = std::make_unique<SystemSerialPort>();
        if (!port->open(mv::comPortDevice(comNumber)))
            return nullptr;
        return port;
    }
    std::unique_ptr<IStreamSocket> connectTcp(std::uint32_t ipv4, int port, int timeoutMs) override {
        auto socket = std::make_unique<SystemStreamSocket>();
        if (!socket->connect(ipv4, port, timeoutMs))
            return nullptr;
        return socket;
    }
};

} // namespace

ITransportFactory& systemTransports() {
    static SystemTransports transports;
    return transports;
}

} // namespace portwire
