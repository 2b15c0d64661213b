#include "flash/loader/ping.h"

#include "flash/loader/console_out.h"
#include "platform/clock.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace flash {

namespace {

constexpr std::uint8_t kEchoRequest = 8;
constexpr std::uint8_t kEchoReply = 0;

std::uint16_t Load16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

void Store16(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value >> 8);
    p[1] = static_cast<std::uint8_t>(value);
}

} // namespace

CPing::~CPing() {
    CloseSocket();
}

void CPing::CloseSocket() {
    if (m_Fd >= 0) {
        ::close(m_Fd);
        m_Fd = -1;
    }
}

std::uint16_t CPing::Checksum(const void* buffer, int length) {
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    std::uint32_t sum = 0;
    int i = 0;
    for (; i + 1 < length; i += 2) {
        std::uint16_t word;
        std::memcpy(&word, bytes + i, 2);
        sum += word;
    }
    if (i < length) {
        // The odd last byte in the first byte of a word, the second being zero.
        std::uint16_t word = 0;
        std::memcpy(&word, bytes + i, 1);
        sum += word;
    }
    sum = (sum >> 16) + (sum & 0xFFFF);
    sum += sum >> 16;
    return static_cast<std::uint16_t>(~sum);
}

int CPing::Ping(const std::string& host) {
    CloseSocket();
    m_Failure.clear();
    in_addr address{};
    if (::inet_pton(AF_INET, host.c_str(), &address) != 1) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        addrinfo* found = nullptr;
        if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) {
            return kBadHost;
        }
        address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
        ::freeaddrinfo(found);
    }
    m_Address = address.s_addr;
    const auto open = [this](int type) {
        return m_Socket ? m_Socket(AF_INET, type, IPPROTO_ICMP)
                        : ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
    };
    int datagramError = 0, rawError = 0;
    if (m_Kind != Kind::Raw) {
        m_Fd = open(SOCK_DGRAM);
        datagramError = m_Fd < 0 ? errno : 0;
        m_Datagram = m_Fd >= 0;
    }
    if (m_Fd < 0 && m_Kind != Kind::Datagram) {
        m_Fd = open(SOCK_RAW);
        rawError = m_Fd < 0 ? errno : 0;
    }
    if (m_Fd < 0) {
        const int error = rawError ? rawError : datagramError;
        m_Failure = std::string("No ICMP socket (") + std::strerror(error) +
                    "): give the program the capability cap_net_raw "
                    "(setcap cap_net_raw+ep X740Flash) or allow its group ICMP datagram "
                    "sockets (sysctl net.ipv4.ping_group_range=\"<gid> <gid>\")\n";
        return kNoSocket;
    }
    timeval timeout{kSocketTimeoutMs / 1000, (kSocketTimeoutMs % 1000) * 1000};
    if (::setsockopt(m_Fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) != 0) {
        CloseSocket();
        return kReceiveTimeoutRefused;
    }
    if (::setsockopt(m_Fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout) != 0) {
        CloseSocket();
        return kSendTimeoutRefused;
    }
    std::memset(m_Send, 0, sizeof m_Send);
    std::memset(m_Receive, 0, sizeof m_Receive);
    m_Id = static_cast<std::uint16_t>(::getpid() & 0xFFFF);
    m_Send[0] = kEchoRequest;
    m_Send[1] = 0;
    Store16(m_Send + 4, m_Id);
    std::memset(m_Send + 12, kFiller, kPacketSize - 12);
    return kOk;
}

bool CPing::IsOurAnswer(const std::uint8_t* data, long size, std::uint32_t from) const {
    if (from != m_Address) {
        return false;
    }
    long offset = 0;
    if (!m_Datagram) {
        if (size < 20 || (data[0] >> 4) != 4) {
            return false;
        }
        offset = (data[0] & 0x0F) * 4;
        if (offset < 20) {
            return false;
        }
    }
    if (size - offset < 8) {
        return false;
    }
    const std::uint8_t* icmp = data + offset;
    // A datagram socket's identifier is its port, set by the kernel, which also only delivers
    // replies to it.
    return icmp[0] == kEchoReply && Load16(icmp + 6) == m_SentSequence &&
           (m_Datagram || Load16(icmp + 4) == m_Id);
}

int CPing::Poll() {
    if (m_Fd < 0) {
        return kSendFailed;
    }
    mv::SystemClock clock;
    const mv::MonoMs start = clock.now();
    Store16(m_Send + 2, 0);
    const auto tick = static_cast<std::uint32_t>(start);
    std::memcpy(m_Send + 8, &tick, 4);
    m_SentSequence = m_Sequence++;
    Store16(m_Send + 6, m_SentSequence);
    const std::uint16_t sum = Checksum(m_Send, kPacketSize);
    std::memcpy(m_Send + 2, &sum, 2);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = m_Address;
    const ssize_t sent = ::sendto(m_Fd, m_Send, kPacketSize, MSG_NOSIGNAL,
                                  reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (sent < 0) {
        return kSendFailed;
    }
    if (sent < kPacketSize) {
        ConsolePrintf("Wrote %d bytes\n", static_cast<int>(sent));
    }
    for (;;) {
        const mv::MonoMs left = start + kAnswerWaitMs - clock.now();
        if (left <= 0) {
            return kTimeout;
        }
        pollfd p{m_Fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left));
        if (ready == 0) {
            return kTimeout;
        }
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return kReceiveFailed;
        }
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        const ssize_t n = ::recvfrom(m_Fd, m_Receive, sizeof m_Receive, MSG_DONTWAIT,
                                     reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
                continue;
            }
            return kReceiveFailed;
        }
        if (IsOurAnswer(m_Receive, n, from.sin_addr.s_addr)) {
            return kAnswer;
        }
    }
}

} // namespace flash
