// Shared set-up of the end-to-end tests: a simulated station on a loopback TCP port and/or a
// pseudo-terminal, the Portwire library driven through its C interface, and the frames the
// station received.
#pragma once

#include "portwire/include/Portwire.h"
#include "tests/sim/frame_codec.h"
#include "tests/sim/pty_station_server.h"
#include "tests/sim/station.h"
#include "tests/sim/station_presets.h"
#include "tests/sim/tcp_station_server.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdlib>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace e2e {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint32_t kLoopback = 0x7F000001;

// The 13-byte fixed request for a function code.
inline Bytes fixedRequest(std::uint8_t direction, std::uint8_t code)
{
    Bytes f(13, 0);
    f[2] = direction;
    f[3] = 8;
    f[4] = code;
    return f;
}

inline Bytes announceFor(int callerBytes)
{
    const auto m = static_cast<std::uint8_t>((callerBytes + 7) & 0xFF);
    return x740sim::buildFrame(0x20, {1, m, m, 0, 0, 0, 0, 0});
}

inline Bytes writeFrame(std::uint8_t code, const Bytes& callerData)
{
    Bytes data{code, 0};
    data.insert(data.end(), callerData.begin(), callerData.end());
    return x740sim::buildFrame(0x20, data);
}

inline Bytes pattern(std::size_t n, std::uint8_t seed)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(seed + i * 3);
    return b;
}

// A loopback port with no listener: bound to find a free number, then closed.
inline int unusedLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

// Opens and remembers links; whatever a test leaves open is closed at its end.
class LinkKeeper {
public:
    ~LinkKeeper() { closeAll(); }
    LinkHandle keep(LinkHandle h)
    {
        if (h != 0)
            open_.push_back(h);
        return h;
    }
    void close(LinkHandle h)
    {
        for (auto it = open_.begin(); it != open_.end(); ++it) {
            if (*it == h) {
                open_.erase(it);
                break;
            }
        }
        A_Close(h);
    }
    void forget(LinkHandle h)
    {
        for (auto it = open_.begin(); it != open_.end(); ++it) {
            if (*it == h) {
                open_.erase(it);
                return;
            }
        }
    }
    void closeAll()
    {
        while (!open_.empty()) {
            A_Close(open_.back());
            open_.pop_back();
        }
    }

private:
    std::vector<LinkHandle> open_;
};

// A station served over loopback TCP.
class E2eTcp : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x740sim::applyPreset(station, "default"));
        std::string error;
        ASSERT_TRUE(server.start(0, &error)) << error;
    }
    void TearDown() override { links.closeAll(); }

    LinkHandle openNet() { return links.keep(A_OpenNet(kLoopback, server.port())); }
    LinkHandle openNetNoReadId() { return links.keep(A_OpenNet_NoReadID(kLoopback, server.port())); }
    std::vector<Bytes> frames() const { return station.frameLog(); }
    Bytes lastFrame() const
    {
        auto log = station.frameLog();
        return log.empty() ? Bytes{} : log.back();
    }

    x740sim::Station station;
    x740sim::TcpStationServer server{station};
    LinkKeeper links;
};

// A station behind a pseudo-terminal that Portwire reaches as COM<kCom>.
class E2ePty : public ::testing::Test {
protected:
    static constexpr int kCom = 5;

    void SetUp() override
    {
        ASSERT_TRUE(x740sim::applyPreset(station, "default"));
        std::string error;
        ASSERT_TRUE(server.start(stationBaud(), &error)) << error;
        ::setenv(("PORTWIRE_COM" + std::to_string(kCom)).c_str(), server.slavePath().c_str(), 1);
    }
    void TearDown() override
    {
        links.closeAll();
        ::unsetenv(("PORTWIRE_COM" + std::to_string(kCom)).c_str());
    }
    virtual int stationBaud() const { return 9600; }

    std::vector<Bytes> frames() const { return station.frameLog(); }

    x740sim::Station station;
    x740sim::PtyStationServer server{station};
    LinkKeeper links;
};

} // namespace e2e
