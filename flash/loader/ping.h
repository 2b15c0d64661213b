// CPing: ICMP echo to one IPv4 host. An ICMP datagram socket is used where the system allows
// it (net.ipv4.ping_group_range), else a raw socket (cap_net_raw). Only an echo reply from the
// host to our own request (identifier and sequence) counts as an answer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace flash {

class CPing {
public:
    // Results of Ping.
    static constexpr int kOk = 0;
    static constexpr int kStartupFailed = 1;
    static constexpr int kNoSocket = 2;
    static constexpr int kReceiveTimeoutRefused = 3;
    static constexpr int kSendTimeoutRefused = 4;
    static constexpr int kBadHost = 5;
    static constexpr int kNoMemory = 6;
    // Results of Poll.
    static constexpr int kAnswer = 0;
    static constexpr int kSendFailed = 1;
    static constexpr int kTimeout = 2;
    static constexpr int kReceiveFailed = 3;

    static constexpr int kPacketSize = 44;
    static constexpr int kBufferSize = 1024;
    static constexpr int kAnswerWaitMs = 250;
    static constexpr int kSocketTimeoutMs = 1000;
    static constexpr std::uint8_t kFiller = 0x45;

    // Which sockets Ping may use.
    enum class Kind { Any, Datagram, Raw };

    CPing() = default;
    ~CPing();
    CPing(const CPing&) = delete;
    CPing& operator=(const CPing&) = delete;

    // Opens the socket for the host (a dotted address or a name) and prepares the packet.
    int Ping(const std::string& host);
    // Sends one request and waits up to kAnswerWaitMs for its answer.
    int Poll();
    // The Internet checksum (RFC 1071) of the bytes, to be stored as it is in memory.
    static std::uint16_t Checksum(const void* buffer, int length);

    // Why no socket could be opened and how to allow it; empty otherwise.
    const std::string& Failure() const { return m_Failure; }
    bool IsDatagram() const { return m_Datagram; }
    // The request as last sent.
    const std::uint8_t* Packet() const { return m_Send; }

    // Tests choose the socket kind or replace the socket call (returns an fd or -1 with errno).
    Kind m_Kind = Kind::Any;
    std::function<int(int domain, int type, int protocol)> m_Socket;

private:
    void CloseSocket();
    bool IsOurAnswer(const std::uint8_t* data, long size, std::uint32_t from) const;

    int m_Fd = -1;
    bool m_Datagram = false;
    std::uint32_t m_Address = 0; // network order
    std::uint16_t m_Id = 0;
    std::uint16_t m_Sequence = 0;
    std::uint16_t m_SentSequence = 0;
    std::uint8_t m_Send[kBufferSize] = {};
    std::uint8_t m_Receive[kBufferSize] = {};
    std::string m_Failure;
};

} // namespace flash
