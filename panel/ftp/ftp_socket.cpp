#include "panel/ftp/ftp_socket.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ftp {

SocketFd& SocketFd::operator=(SocketFd&& other) noexcept {
    if (this != &other)
        Reset(other.Release());
    return *this;
}

int SocketFd::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void SocketFd::Reset(int fd) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

int OpenTcpSocket() {
    return ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
}

int ConnectWithin(int fd, const sockaddr_in& address, mv::MonoMs deadline) {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return 0;
    if (errno != EINPROGRESS && errno != EINTR)
        return errno;
    const int ready = mv::waitReady(fd, POLLOUT, deadline);
    if (ready == 0)
        return ETIMEDOUT;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    if (error == 0 && ready < 0)
        return ECONNREFUSED;
    return error;
}

Io SendAll(int fd, const void* data, std::size_t size, mv::MonoMs deadline) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL);
        if (n > 0) {
            p += n;
            size -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return Io::Failed;
        const int ready = mv::waitReady(fd, POLLOUT, deadline);
        if (ready == 0)
            return Io::TimedOut;
        if (ready < 0)
            return Io::Failed;
    }
    return Io::Ok;
}

Io ReceiveSome(int fd, void* buffer, std::size_t capacity, mv::MonoMs deadline,
               std::size_t* received) {
    *received = 0;
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, capacity, 0);
        if (n > 0) {
            *received = static_cast<std::size_t>(n);
            return Io::Ok;
        }
        if (n == 0)
            return Io::Closed;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return errno == ECONNRESET ? Io::Closed : Io::Failed;
        const int ready = mv::waitReady(fd, POLLIN, deadline);
        if (ready == 0)
            return Io::TimedOut;
        if (ready < 0) {
            // A hang-up without data still ends in recv() with 0 or an error.
            const ssize_t last = ::recv(fd, buffer, capacity, 0);
            if (last > 0) {
                *received = static_cast<std::size_t>(last);
                return Io::Ok;
            }
            return last == 0 || errno == ECONNRESET ? Io::Closed : Io::Failed;
        }
    }
}

int AcceptFrom(int listenFd, std::uint32_t peer, mv::MonoMs deadline, int* error) {
    *error = 0;
    for (;;) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const int fd = ::accept4(listenFd, reinterpret_cast<sockaddr*>(&from), &length,
                                 SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            if (from.sin_family == AF_INET && from.sin_addr.s_addr == peer)
                return fd;
            ::close(fd); // not the server: refused
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            *error = errno;
            return -1;
        }
        const int ready = mv::waitReady(listenFd, POLLIN, deadline);
        if (ready == 0)
            return -1;
        if (ready < 0) {
            *error = EIO;
            return -1;
        }
    }
}

} // namespace ftp
