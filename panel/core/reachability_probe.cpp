#include "panel/core/reachability_probe.h"

#include "panel/core/reconnect.h"
#include "platform/clock.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace x740panel {
namespace {

class Socket {
public:
    Socket() : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

} // namespace

int CReachabilityProbe::Probe(int seconds) const {
    return ConnectWithTimeout(address_, kServicePort, seconds);
}

int CReachabilityProbe::ConnectWithTimeout(std::uint32_t address, int port, int seconds) {
    Socket s;
    if (s.fd() < 0) {
        return 1;
    }
    const int flags = ::fcntl(s.fd(), F_GETFL, 0);
    if (flags < 0 || ::fcntl(s.fd(), F_SETFL, flags | O_NONBLOCK) < 0) {
        return 0;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(address);
    int rc = 0;
    do {
        rc = ::connect(s.fd(), reinterpret_cast<const sockaddr*>(&to), sizeof to);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        return 0; // completed at once
    }
    if (errno != EINPROGRESS) {
        return 1;
    }
    const int ready = mv::waitReady(s.fd(), POLLOUT, mv::deadlineAfter(seconds * 1000));
    if (ready != 1) {
        return 1;
    }
    int error = 0;
    socklen_t len = sizeof error;
    if (::getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) {
        return 1;
    }
    return 0;
}

} // namespace x740panel
