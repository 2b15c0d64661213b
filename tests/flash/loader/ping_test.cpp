// The echo test inside a network namespace of its own: ICMP datagram and raw sockets against
// the namespace's loopback, with the loopback down, with echo answers switched off, and
// without the right to open either socket.
#include "flash/loader/console_out.h"
#include "flash/loader/flash_app.h"
#include "flash/loader/ping.h"
#include "platform/clock.h"
#include "tests/flash/loader/net_namespace.h"
#include "tests/flash/loader/run_program.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr const char* kLoopback = "127.0.0.1";
constexpr const char* kGroupRange = "net/ipv4/ping_group_range";
constexpr const char* kEchoIgnoreAll = "net/ipv4/icmp_echo_ignore_all";
// The namespace's root group (the test's own) may open ICMP datagram sockets.
constexpr const char* kGroupsOpen = "0 0";

std::uint16_t Load16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

// A raw ICMP socket that sees every echo request sent on the loopback.
class RequestWatcher {
public:
    RequestWatcher()
        : m_Fd(::socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP)) {}
    ~RequestWatcher() {
        if (m_Fd >= 0) {
            ::close(m_Fd);
        }
    }
    bool Open() const { return m_Fd >= 0; }
    // Echo requests (type 8) waiting since the last call; with an identifier only its own.
    int Requests(int id = -1) const {
        int count = 0;
        std::uint8_t packet[1024];
        ssize_t n;
        while ((n = ::recv(m_Fd, packet, sizeof packet, 0)) > 0) {
            const int header = (packet[0] & 0x0F) * 4;
            if (n >= header + 8 && packet[header] == 8 &&
                (id < 0 || Load16(packet + header + 4) == id)) {
                ++count;
            }
        }
        return count;
    }

private:
    int m_Fd;
};

class EchoInNamespace {
public:
    EchoInNamespace() {
        mv::setProcessClock(&clock);
        flash::ConsoleOut().CaptureTo(&console, false);
    }
    ~EchoInNamespace() {
        flash::ConsoleOut().CaptureTo(nullptr, false);
        mv::setProcessClock(nullptr);
    }
    // PingModul as the update procedures call it: the result, its message and console.
    int PingModul(int tries) {
        console.clear();
        app.m_Message.clear();
        return app.PingModul(kLoopback, tries);
    }

    mv::FakeClock clock;
    std::string console;
    flash::CX740FlashApp app;
};

// The request as the table lays it out, after `sequence` earlier requests of one CPing.
void ExpectRequest(const flash::CPing& ping, int sequence) {
    const std::uint8_t* packet = ping.Packet();
    EXPECT_EQ(packet[0], 8);
    EXPECT_EQ(packet[1], 0);
    EXPECT_EQ(Load16(packet + 4), static_cast<std::uint16_t>(::getpid() & 0xFFFF));
    EXPECT_EQ(Load16(packet + 6), sequence);
    for (int i = 12; i < flash::CPing::kPacketSize; ++i) {
        ASSERT_EQ(packet[i], flash::CPing::kFiller) << i;
    }
    EXPECT_EQ(flash::CPing::Checksum(packet, flash::CPing::kPacketSize), 0);
}

TEST(PingInNamespace, RawSocketWhereNoGroupMayHaveADatagramSocket) {
    if (!flashtest::InOwnNetworkNamespace()) {
        flashtest::RunCurrentTestInNamespace();
        return;
    }
    EchoInNamespace run;
    const std::uint16_t ownId = static_cast<std::uint16_t>(::getpid() & 0xFFFF);
    std::string error;

    // A new namespace lets no group open ICMP datagram sockets: the raw socket is used.
    // Its loopback is still down, so the request cannot be sent.
    flash::CPing raw;
    ASSERT_EQ(raw.Ping(kLoopback), flash::CPing::kOk) << raw.Failure();
    EXPECT_FALSE(raw.IsDatagram());
    EXPECT_EQ(raw.Poll(), flash::CPing::kSendFailed);
    EXPECT_EQ(run.PingModul(3), 0);
    EXPECT_EQ(run.app.m_Message, "Network Send\n");
    EXPECT_EQ(run.console, "");

    // Without the raw right either: the cause and both remedies, and the probe ends at once.
    flash::CPing datagramOnly;
    datagramOnly.m_Kind = flash::CPing::Kind::Datagram;
    EXPECT_EQ(datagramOnly.Ping(kLoopback), flash::CPing::kNoSocket);
    EXPECT_NE(datagramOnly.Failure().find("No ICMP socket (Permission denied)"), std::string::npos)
        << datagramOnly.Failure();
    ASSERT_TRUE(flashtest::SetRawSocketRight(false));
    flash::CPing refused;
    EXPECT_EQ(refused.Ping(kLoopback), flash::CPing::kNoSocket);
    EXPECT_EQ(refused.Poll(), flash::CPing::kSendFailed);
    EXPECT_EQ(run.PingModul(240), 0);
    ASSERT_TRUE(flashtest::SetRawSocketRight(true));
    EXPECT_EQ(run.app.m_Message, "Network Send\n");
    EXPECT_EQ(run.console, "\n" + refused.Failure());
    EXPECT_NE(refused.Failure().find("No ICMP socket (Operation not permitted)"), std::string::npos)
        << refused.Failure();
    EXPECT_NE(refused.Failure().find("cap_net_raw"), std::string::npos);
    EXPECT_NE(refused.Failure().find("net.ipv4.ping_group_range"), std::string::npos);

    // Loopback up: the raw socket gets its replies.
    ASSERT_TRUE(flashtest::SetLoopbackUp(true, error)) << error;
    RequestWatcher watcher;
    ASSERT_TRUE(watcher.Open());
    flash::CPing answered;
    ASSERT_EQ(answered.Ping(kLoopback), flash::CPing::kOk);
    for (int sequence = 0; sequence < 2; ++sequence) {
        EXPECT_EQ(answered.Poll(), flash::CPing::kAnswer);
        ExpectRequest(answered, sequence);
    }
    EXPECT_EQ(watcher.Requests(ownId), 2);
    EXPECT_EQ(run.PingModul(3), 1);
    EXPECT_EQ(run.app.m_Message, "");
    EXPECT_EQ(run.console, "");
    watcher.Requests();

    // Echo answers switched off: our own request comes back to the raw socket, and it is no
    // answer. Three tries a second apart, then the time-out.
    ASSERT_TRUE(flashtest::WriteSysctl(kEchoIgnoreAll, "1"));
    const std::int64_t slept = run.clock.slept();
    EXPECT_EQ(run.PingModul(3), 0);
    EXPECT_EQ(run.app.m_Message, "Timeout\n");
    EXPECT_EQ(run.console, "...\n");
    EXPECT_EQ(run.clock.slept() - slept, 2000);
    EXPECT_EQ(watcher.Requests(ownId), 3);
}

TEST(PingInNamespace, DatagramSocketWhereTheGroupMayHaveOne) {
    if (!flashtest::InOwnNetworkNamespace()) {
        flashtest::RunCurrentTestInNamespace();
        return;
    }
    EchoInNamespace run;
    std::string error;

    // The group may open datagram sockets: they are preferred. The loopback never came up.
    ASSERT_TRUE(flashtest::WriteSysctl(kGroupRange, kGroupsOpen));
    flash::CPing down;
    ASSERT_EQ(down.Ping(kLoopback), flash::CPing::kOk) << down.Failure();
    EXPECT_TRUE(down.IsDatagram());
    EXPECT_EQ(down.Poll(), flash::CPing::kSendFailed);
    EXPECT_EQ(run.PingModul(3), 0);
    EXPECT_EQ(run.app.m_Message, "Network Send\n");
    EXPECT_EQ(run.console, "");

    // Loopback up: replies to the datagram socket.
    ASSERT_TRUE(flashtest::SetLoopbackUp(true, error)) << error;
    RequestWatcher watcher;
    ASSERT_TRUE(watcher.Open());
    flash::CPing datagram;
    ASSERT_EQ(datagram.Ping(kLoopback), flash::CPing::kOk) << datagram.Failure();
    EXPECT_TRUE(datagram.IsDatagram());
    for (int sequence = 0; sequence < 2; ++sequence) {
        EXPECT_EQ(datagram.Poll(), flash::CPing::kAnswer);
        ExpectRequest(datagram, sequence);
    }
    EXPECT_EQ(watcher.Requests(), 2);
    EXPECT_EQ(run.PingModul(3), 1);
    EXPECT_EQ(run.app.m_Message, "");
    watcher.Requests();

    // Echo answers switched off: the request goes out, no answer comes within 250 ms.
    ASSERT_TRUE(flashtest::WriteSysctl(kEchoIgnoreAll, "1"));
    EXPECT_EQ(datagram.Poll(), flash::CPing::kTimeout);
    EXPECT_EQ(watcher.Requests(), 1);

    // Hosts that are neither an address nor a name that resolves (nothing leaves the
    // namespace).
    flash::CPing named;
    EXPECT_EQ(named.Ping(""), flash::CPing::kBadHost);
    EXPECT_EQ(named.Ping("no-such-controller.invalid"), flash::CPing::kBadHost);
}

} // namespace
