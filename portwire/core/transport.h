// What a link needs of its carrier: a serial port or a stream socket. The real ones sit on the
// platform layer; tests put scripted ones in their place through ITransportFactory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/serial_port.h"

namespace portwire {

enum class IoResult {
    Ok,
    Failed,  // the call failed (device gone, socket error, peer closed)
    Short,   // fewer bytes than asked within the time-out
};

class ISerialPort {
public:
    virtual ~ISerialPort() = default;
    virtual bool readState() = 0;
    virtual bool applyState(int baud) = 0;
    virtual bool setTimeouts(const mv::SerialTimeouts& timeouts) = 0;
    virtual bool getTimeouts(mv::SerialTimeouts* timeouts) = 0;
    virtual IoResult write(const std::uint8_t* data, std::size_t len) = 0;
    virtual IoResult read(std::uint8_t* data, std::size_t len) = 0;
    virtual bool purge() = 0;
};

class IStreamSocket {
public:
    virtual ~IStreamSocket() = default;
    virtual IoResult send(const std::uint8_t* data, std::size_t len, int timeoutMs) = 0;
    virtual IoResult receive(std::uint8_t* data, std::size_t len, int timeoutMs) = 0;
    // Drops what has arrived and not been read, without waiting.
    virtual void discardPending() = 0;
};

class ITransportFactory {
public:
    virtual ~ITransportFactory() = default;
    // The serial port behind a COM number, opened exclusively; null when it cannot be opened.
    virtual std::unique_ptr<ISerialPort> openSerial(int comNumber) = 0;
    // One connect attempt; null when it failed within timeoutMs.
    virtual std::unique_ptr<IStreamSocket> connectTcp(std::uint32_t ipv4, int port, int timeoutMs) = 0;
};

// Serial ports and TCP sockets of the system.
ITransportFactory& systemTransports();

} // namespace portwire
