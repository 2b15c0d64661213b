// TCP client sockets against a loopback listener.
#include "platform/tcp_socket.h"

#include <csignal>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;

class Listener {
public:
    Listener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(kLoopback);
        socklen_t len = sizeof a;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd_, 4);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~Listener() {
        if (peer_ >= 0)
            ::close(peer_);
        if (fd_ >= 0)
            ::close(fd_);
    }
    std::uint16_t port() const { return port_; }
    int accept() { return peer_ = ::accept(fd_, nullptr, nullptr); }
    void closePeer() {
        if (peer_ >= 0)
            ::close(peer_);
        peer_ = -1;
    }
    void closeListening() {
        ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
    int peer_ = -1;
    std::uint16_t port_ = 0;
};

TEST(PortwireTcpSocket, RefusedConnectFails) {
    Listener l;
    const auto port = l.port();
    l.closeListening();
    mv::TcpSocket s;
    EXPECT_FALSE(s.connect(kLoopback, port, 1000));
    EXPECT_FALSE(s.isOpen());
}

TEST(PortwireTcpSocket, GathersASplitReplyUntilTheCount) {
    Listener l;
    mv::TcpSocket s;
    ASSERT_TRUE(s.connect(kLoopback, l.port(), 1000));
    const int peer = l.accept();
    ASSERT_GE(peer, 0);
    const std::uint8_t req[3] = {1, 2, 3};
    std::size_t done = 0;
    ASSERT_EQ(s.send(req, 3, 1000, &done), mv::TcpSocket::Status::Ok);
    std::uint8_t got[3] = {};
    ASSERT_EQ(::recv(peer, got, 3, MSG_WAITALL), 3);
    ASSERT_EQ(::send(peer, "\x00\x00", 2, 0), 2);
    ASSERT_EQ(::send(peer, "\x40\x03", 2, 0), 2);
    std::uint8_t head[4] = {};
    ASSERT_EQ(s.receive(head, 4, 1000, &done), mv::TcpSocket::Status::Ok);
    EXPECT_EQ(head[2], 0x40);
    EXPECT_EQ(head[3], 0x03);
}

TEST(PortwireTcpSocket, DeadlineAndPeerCloseAreTold) {
    Listener l;
    mv::TcpSocket s;
    ASSERT_TRUE(s.connect(kLoopback, l.port(), 1000));
    const int peer = l.accept();
    ASSERT_EQ(::send(peer, "A", 1, 0), 1);
    std::uint8_t buf[4];
    std::size_t done = 0;
    EXPECT_EQ(s.receive(buf, 4, 20, &done), mv::TcpSocket::Status::TimedOut);
    EXPECT_EQ(done, 1u);
    ::shutdown(peer, SHUT_RDWR);
    EXPECT_EQ(s.receive(buf, 1, 1000, &done), mv::TcpSocket::Status::Failed);
}

TEST(PortwireTcpSocket, ZeroTimeoutTakesOnlyWhatIsThere) {
    Listener l;
    mv::TcpSocket s;
    ASSERT_TRUE(s.connect(kLoopback, l.port(), 1000));
    const int peer = l.accept();
    std::uint8_t buf[4] = {};
    std::size_t done = 9;
    EXPECT_EQ(s.receive(buf, 2, 0, &done), mv::TcpSocket::Status::TimedOut);
    EXPECT_EQ(done, 0u);
    ASSERT_EQ(::send(peer, "AB", 2, 0), 2);
    // The bytes are on their way over loopback; a waiting read collects them, and a later
    // non-waiting one still takes what has arrived.
    EXPECT_EQ(s.receive(buf, 1, 1000, &done), mv::TcpSocket::Status::Ok);
    EXPECT_EQ(s.receive(buf + 1, 1, 0, &done), mv::TcpSocket::Status::Ok);
    EXPECT_EQ(buf[0], 'A');
    EXPECT_EQ(buf[1], 'B');
    // A full send buffer with no time left fails as a time-out, not as an error.
    std::vector<std::uint8_t> block(1 << 20, 0x55);
    mv::TcpSocket::Status st = mv::TcpSocket::Status::Ok;
    for (int i = 0; i < 256 && st == mv::TcpSocket::Status::Ok; ++i)
        st = s.send(block.data(), block.size(), 0, &done);
    EXPECT_EQ(st, mv::TcpSocket::Status::TimedOut);
    EXPECT_LT(done, block.size());
}

TEST(PortwireTcpSocket, SendToAClosedPeerRaisesNoSignal) {
    // With SIGPIPE at its default a signal would end the test program.
    std::signal(SIGPIPE, SIG_DFL);
    Listener l;
    mv::TcpSocket s;
    ASSERT_TRUE(s.connect(kLoopback, l.port(), 1000));
    ASSERT_GE(l.accept(), 0);
    l.closePeer();
    std::vector<std::uint8_t> block(65536, 0x55);
    mv::TcpSocket::Status st = mv::TcpSocket::Status::Ok;
    for (int i = 0; i < 50 && st == mv::TcpSocket::Status::Ok; ++i)
        st = s.send(block.data(), block.size(), 100, nullptr);
    EXPECT_NE(st, mv::TcpSocket::Status::Ok);
}

} // namespace

#include <thread>

#include "portwire/core/portwire_app.h"

namespace {

TEST(PortwireTcpLink, ReplySplitAcrossSegmentsKeepsTheLink) {
    Listener l;
    std::thread peer([&] {
        const int c = l.accept();
        std::uint8_t req[13];
        for (int round = 0; round < 2; ++round) {
            if (::recv(c, req, sizeof req, MSG_WAITALL) != 13)
                return;
            // 00 00 40 03 14 00 05 + checksum, sent in three pieces.
            const std::uint8_t r[8] = {0, 0, 0x40, 3, 0x14, 0, 5, 0};
            std::uint8_t frame[8];
            std::memcpy(frame, r, 8);
            unsigned c8 = 0xAA;
            for (int i = 0; i < 7; ++i)
                c8 = ((c8 ^ frame[i]) << 1) & 0xFF;
            frame[7] = static_cast<std::uint8_t>(c8);
            (void)::send(c, frame, 2, MSG_NOSIGNAL);
            (void)::send(c, frame + 2, 3, MSG_NOSIGNAL);
            (void)::send(c, frame + 5, 3, MSG_NOSIGNAL);
        }
        ::shutdown(c, SHUT_RDWR);
    });
    portwire::CPortwireApp app;
    const auto h = app.OpenNet(kLoopback, l.port(), false);
    ASSERT_NE(h, 0u);
    auto link = app.FindLink(h);
    EXPECT_TRUE(link->ReadInputs());
    EXPECT_EQ(link->InputByteAt(2), 5);
    EXPECT_TRUE(link->ReadInputs());
    peer.join();
    app.SetLastError(0);
    EXPECT_FALSE(link->ReadInputs());  // the peer closed
    EXPECT_EQ(app.GetLastError(), 0x0300);
    EXPECT_TRUE(link->SocketLost());
}

} // namespace
