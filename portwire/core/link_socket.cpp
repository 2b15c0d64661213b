#include "portwire/core/link_socket.h"

namespace portwire {

bool CLinkSocket::Connect(ITransportFactory& transports, std::uint32_t ipv4, int port, int timeoutMs) {
    socket_ = transports.connectTcp(ipv4, port, timeoutMs);
    return socket_ != nullptr;
}

IoResult CLinkSocket::Send(const std::uint8_t* data, std::size_t len, int timeoutMs) {
    return socket_ ? socket_->send(data, len, timeoutMs) : IoResult::Failed;
}

IoResult CLinkSocket::Receive(std::uint8_t* data, std::size_t len, int timeoutMs) {
    return socket_ ? socket_->receive(data, len, timeoutMs) : IoResult::Failed;
}

void CLinkSocket::DiscardPending() {
    if (socket_)
        socket_->discardPending();
}

} // namespace portwire
