// The station over its two transports: a TCP client and a pseudo-terminal at various bauds.
#include "tests/sim/frame_codec.h"
#include "tests/sim/pty_station_server.h"
#include "tests/sim/station_presets.h"
#include "tests/sim/tcp_station_server.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace x740sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes fixedRequest(std::uint8_t code)
{
    Bytes f(13, 0);
    f[2] = 0x40;
    f[3] = 8;
    f[4] = code;
    return f;
}

// Reads until count bytes arrived, the peer closed or waitMs passed without data.
Bytes readSome(int fd, std::size_t count, int waitMs)
{
    Bytes out;
    std::uint8_t buf[512];
    while (out.size() < count) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, waitMs) <= 0)
            break;
        const ssize_t n = ::read(fd, buf, std::min(sizeof buf, count - out.size()));
        if (n <= 0)
            break;
        out.insert(out.end(), buf, buf + n);
    }
    return out;
}

int connectTo(std::uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

class SimTcpTransport : public ::testing::Test {
protected:
    void SetUp() override
    {
        applyPreset(station, "default");
        ASSERT_TRUE(server.start(0));
        ASSERT_NE(server.port(), 0);
    }
    Station station;
    TcpStationServer server{station};
};

TEST_F(SimTcpTransport, AnswersSplitRequestAndServesReconnects)
{
    const Bytes req = fixedRequest(12);
    const Bytes want = buildFrame(0x40, {12, 0, 0x40, 0x07});
    for (int round = 0; round < 2; ++round) {
        const int fd = connectTo(server.port());
        ASSERT_GE(fd, 0);
        // The request arrives in two pieces; the station still sees one frame.
        ASSERT_EQ(::send(fd, req.data(), 5, MSG_NOSIGNAL), 5);
        ASSERT_EQ(::send(fd, req.data() + 5, req.size() - 5, MSG_NOSIGNAL), ssize_t(req.size() - 5));
        EXPECT_EQ(readSome(fd, want.size(), 2000), want);
        ::close(fd);
    }
    EXPECT_EQ(server.connectionsAccepted(), 2);
    ASSERT_EQ(station.frameLog().size(), 2u);
    EXPECT_EQ(station.frameLog()[0], req);
}

TEST_F(SimTcpTransport, DropFaultResetsTheConnection)
{
    const int fd = connectTo(server.port());
    ASSERT_GE(fd, 0);
    station.injectFault(Fault::drop());
    const Bytes req = fixedRequest(20);
    ASSERT_EQ(::send(fd, req.data(), req.size(), MSG_NOSIGNAL), ssize_t(req.size()));
    EXPECT_TRUE(readSome(fd, 1, 2000).empty());
    ::close(fd);
    const int again = connectTo(server.port());
    ASSERT_GE(again, 0);
    ASSERT_EQ(::send(again, req.data(), req.size(), MSG_NOSIGNAL), ssize_t(req.size()));
    EXPECT_EQ(readSome(again, 23, 2000).size(), 23u);
    ::close(again);
}

TEST_F(SimTcpTransport, DropConnectionsOnRequest)
{
    const int fd = connectTo(server.port());
    ASSERT_GE(fd, 0);
    const Bytes req = fixedRequest(12);
    ASSERT_EQ(::send(fd, req.data(), req.size(), MSG_NOSIGNAL), ssize_t(req.size()));
    EXPECT_EQ(readSome(fd, 9, 2000).size(), 9u);
    server.dropConnections();
    EXPECT_TRUE(readSome(fd, 1, 2000).empty());
    ::close(fd);
}

class SimPtyTransport : public ::testing::Test {
protected:
    void SetUp() override
    {
        applyPreset(station, "default");
        std::string error;
        ASSERT_TRUE(server.start(9600, &error)) << error;
        fd = ::open(server.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
    }
    void TearDown() override
    {
        if (fd >= 0)
            ::close(fd);
    }
    void setBaud(speed_t speed)
    {
        termios t{};
        ASSERT_EQ(::tcgetattr(fd, &t), 0);
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, speed);
        ::cfsetospeed(&t, speed);
        ASSERT_EQ(::tcsetattr(fd, TCSANOW, &t), 0);
    }
    Station station;
    PtyStationServer server{station};
    int fd = -1;
};

TEST_F(SimPtyTransport, AnswersOnlyAtItsBaud)
{
    const Bytes req = fixedRequest(12);
    const Bytes want = buildFrame(0x40, {12, 0, 0x40, 0x07});

    setBaud(B115200);
    ASSERT_EQ(::write(fd, req.data(), req.size()), ssize_t(req.size()));
    EXPECT_TRUE(readSome(fd, want.size(), 200).empty());

    setBaud(B9600);
    ASSERT_EQ(::write(fd, req.data(), req.size()), ssize_t(req.size()));
    EXPECT_EQ(readSome(fd, want.size(), 2000), want);
    EXPECT_EQ(station.frameCount(), 1u);
    EXPECT_EQ(server.ignoredBytes(), 13);
}

TEST_F(SimPtyTransport, SplitBytesArriveInOrder)
{
    setBaud(B9600);
    station.injectFault(Fault::splitBytes(1));
    const Bytes req = fixedRequest(11);
    ASSERT_EQ(::write(fd, req.data(), req.size()), ssize_t(req.size()));
    const Bytes want = buildFrame(0x40, {11, 0, 0x10, 0x21, 0x10, 0x22, 0x04, 0x31, 0, 0});
    EXPECT_EQ(readSome(fd, want.size(), 2000), want);
}

} // namespace
} // namespace x740sim
