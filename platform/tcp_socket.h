// A TCP client socket for request/reply links: non-blocking connect, no Nagle delay,
// no SIGPIPE, reads that gather bytes until the count or the deadline.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mv {

class TcpSocket {
public:
    enum class Status { Ok, Failed, TimedOut };

    TcpSocket() = default;
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Connects to an IPv4 address (first octet in the most significant byte) within timeoutMs.
    // Fails at once on an immediate error; a refused or unfinished connection fails too.
    bool connect(std::uint32_t ipv4, std::uint16_t port, int timeoutMs);
    bool isOpen() const { return fd_ >= 0; }
    void close();

    // Sends all len bytes, waiting at most timeoutMs while the send buffer is full.
    Status send(const std::uint8_t* data, std::size_t len, int timeoutMs, std::size_t* done);
    // Receives exactly len bytes unless the peer closes, an error occurs or timeoutMs passes.
    Status receive(std::uint8_t* data, std::size_t len, int timeoutMs, std::size_t* done);
    // Reads and drops what has arrived, without waiting (at most kDiscardLimit bytes, so a peer
    // that never stops sending cannot hold the caller). The number of bytes dropped.
    std::size_t discardPending();
    static constexpr std::size_t kDiscardLimit = 1 << 20;

    int fd() const { return fd_; }

private:
    // Sets SO_SNDTIMEO / SO_RCVTIMEO to ms (> 0) unless *cached already holds it.
    bool setWaitLimit(int option, int ms, int* cached);
    // The loop send and receive share; io(offset, flags) is one ::send or ::recv of the rest.
    template <typename Io>
    Status transfer(std::size_t len, int timeoutMs, int limitOption, int* limitMs, int flags,
                    std::size_t* done, Io io);

    int fd_ = -1;
    int sendLimitMs_ = -1;  // wait limits last set on the socket
    int receiveLimitMs_ = -1;
};

} // namespace mv
