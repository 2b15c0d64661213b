// The socket work of the FTP client: an owned descriptor, and connect, accept, send and
// receive that each end at a deadline of the monotonic clock. Sockets stay non-blocking.
#pragma once

#include "platform/clock.h"

#include <cstddef>
#include <cstdint>

#include <netinet/in.h>

namespace ftp {

class SocketFd {
public:
    SocketFd() = default;
    explicit SocketFd(int fd) : fd_(fd) {}
    ~SocketFd() { Reset(); }
    SocketFd(SocketFd&& other) noexcept : fd_(other.Release()) {}
    SocketFd& operator=(SocketFd&& other) noexcept;
    SocketFd(const SocketFd&) = delete;
    SocketFd& operator=(const SocketFd&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    int Release();
    void Reset(int fd = -1);

private:
    int fd_ = -1;
};

enum class Io { Ok, Closed, TimedOut, Failed };

// A non-blocking IPv4 TCP socket; -1 with errno on failure.
int OpenTcpSocket();
// Connects within the deadline: 0, or the errno value (ETIMEDOUT when the deadline passed).
int ConnectWithin(int fd, const sockaddr_in& address, mv::MonoMs deadline);
// Sends every byte within the deadline.
Io SendAll(int fd, const void* data, std::size_t size, mv::MonoMs deadline);
// Receives what is there (at least one byte) within the deadline; Closed at the end of data.
Io ReceiveSome(int fd, void* buffer, std::size_t capacity, mv::MonoMs deadline,
               std::size_t* received);
// Accepts a connection from `peer` (network order) within the deadline; connections from any
// other address are closed and the wait goes on. The result is the new descriptor, else -1
// with *error = errno (0 after a time-out).
int AcceptFrom(int listenFd, std::uint32_t peer, mv::MonoMs deadline, int* error);

} // namespace ftp
