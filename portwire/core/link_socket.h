// The TCP client socket of a link.
#pragma once

#include <cstdint>
#include <memory>

#include "portwire/core/transport.h"

namespace portwire {

class CLinkSocket {
public:
    bool Connect(ITransportFactory& transports, std::uint32_t ipv4, int port, int timeoutMs);
    bool IsOpen() const { return socket_ != nullptr; }
    void Close() { socket_.reset(); }
    IoResult Send(const std::uint8_t* data, std::size_t len, int timeoutMs);
    IoResult Receive(std::uint8_t* data, std::size_t len, int timeoutMs);
    void DiscardPending();

private:
    std::unique_ptr<IStreamSocket> socket_;
};

} // namespace portwire
