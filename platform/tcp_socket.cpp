#include "platform/tcp_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include "platform/clock.h"

namespace mv {

TcpSocket::~TcpSocket() { close(); }

void TcpSocket::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool TcpSocket::connect(std::uint32_t ipv4, std::uint16_t port, int timeoutMs) {
    close();
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(ipv4);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        if (errno != EINPROGRESS && errno != EINTR) {
            ::close(fd);
            return false;
        }
        const MonoMs deadline = deadlineAfter(timeoutMs);
        int soError = 0;
        socklen_t soLen = sizeof soError;
        if (waitReady(fd, POLLOUT, deadline) != 1 ||
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &soLen) != 0 || soError != 0) {
            ::close(fd);
            return false;
        }
    }
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    // Transfers wait in the kernel from here on, bounded by the socket's wait limits.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    sendLimitMs_ = -1;
    receiveLimitMs_ = -1;
    return true;
}

bool TcpSocket::setWaitLimit(int option, int ms, int* cached) {
    if (*cached == ms)
        return true;
    timeval tv{};
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    if (::setsockopt(fd_, SOL_SOCKET, option, &tv, sizeof tv) != 0)
        return false;
    *cached = ms;
    return true;
}

// Both transfers run on the blocking socket with the kernel's wait limit set to the time left,
// so the usual exchange costs one call per block. Once the deadline has passed, one more
// non-waiting call still takes what is already there.
template <typename Io>
TcpSocket::Status TcpSocket::transfer(std::size_t len, int timeoutMs, int limitOption, int* limitMs,
                                      int flags, std::size_t* done, Io io) {
    std::size_t moved = 0;
    Status status = Status::Ok;
    const MonoMs deadline = deadlineAfter(timeoutMs);
    while (fd_ >= 0 && moved < len) {
        const MonoMs left = deadline - monotonicNow();
        const int waitMs = left > INT_MAX ? INT_MAX : static_cast<int>(left);
        int callFlags = flags;
        if (left <= 0)
            callFlags |= MSG_DONTWAIT;
        else if (!setWaitLimit(limitOption, waitMs, limitMs)) {
            status = Status::Failed;
            break;
        }
        const ssize_t n = io(moved, callFlags);
        if (n > 0) {
            moved += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (left <= 0) {
                status = Status::TimedOut;
                break;
            }
            continue;  // the wait limit ran out: check the deadline again
        }
        status = Status::Failed;  // an error, or the peer closed
        break;
    }
    if (fd_ < 0)
        status = Status::Failed;
    if (done)
        *done = moved;
    return status;
}

TcpSocket::Status TcpSocket::send(const std::uint8_t* data, std::size_t len, int timeoutMs,
                                  std::size_t* done) {
    return transfer(len, timeoutMs, SO_SNDTIMEO, &sendLimitMs_, MSG_NOSIGNAL, done,
                    [&](std::size_t offset, int flags) {
                        return ::send(fd_, data + offset, len - offset, flags);
                    });
}

std::size_t TcpSocket::discardPending() {
    std::size_t dropped = 0;
    std::uint8_t chunk[4096];
    while (fd_ >= 0 && dropped < kDiscardLimit) {
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n > 0)
            dropped += static_cast<std::size_t>(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break; // nothing more now, the peer closed, or an error the next read reports
    }
    return dropped;
}

TcpSocket::Status TcpSocket::receive(std::uint8_t* data, std::size_t len, int timeoutMs,
                                     std::size_t* done) {
    return transfer(len, timeoutMs, SO_RCVTIMEO, &receiveLimitMs_, 0, done,
                    [&](std::size_t offset, int flags) {
                        return ::recv(fd_, data + offset, len - offset, flags);
                    });
}

} // namespace mv
