// The yardstick of the link benchmarks: a bare socket client doing the read-inputs exchange
// with the simulated station (13-byte request, 4-byte header, then body and checksum).
#pragma once

#include <arpa/inet.h>
#include <chrono>
#include <cstdint>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace benchbare {

inline bool recvAll(int fd, std::uint8_t* buf, std::size_t n)
{
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::recv(fd, buf + got, n - got, 0);
        if (r <= 0)
            return false;
        got += static_cast<std::size_t>(r);
    }
    return true;
}

// Round trips per second of a bare socket client on 127.0.0.1:port for about ms
// milliseconds, or a negative value on failure.
inline double bareSocketRate(std::uint16_t port, int ms)
{
    using Clock = std::chrono::steady_clock;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    const std::uint8_t request[13] = {0, 0, 0x40, 8, 0x14, 0, 0, 0, 0, 0, 0, 0, 0};
    std::uint8_t reply[260];
    long count = 0;
    const auto start = Clock::now();
    const auto end = start + std::chrono::milliseconds(ms);
    auto now = start;
    while (now < end) {
        if (::send(fd, request, sizeof request, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof request) ||
            !recvAll(fd, reply, 4) || !recvAll(fd, reply + 4, reply[3] + 1u)) {
            ::close(fd);
            return -1;
        }
        ++count;
        now = Clock::now();
    }
    ::close(fd);
    return count / std::chrono::duration<double>(now - start).count();
}

} // namespace benchbare
