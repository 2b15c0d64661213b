// The reconnect machine as a table of ticks, and the reachability probe on loopback.
#include "panel/core/reachability_probe.h"
#include "panel/core/reconnect.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace x740panel {
namespace {

using A = ReconnectAction;
constexpr std::uint32_t kNet = 0x7F000001;

struct Trace {
    ReconnectState s{kReconnectStart, 0, ""};
    std::vector<std::string> log; // AddLog as "+text", ReplaceLastLine as "=text"
    int ticks = 0;
    int waits = 0;
    int probes = 0;
    int enables = 0;
};

// Ticks until idle (at most 100); io answers this tick's probe or open.
void Drive(Trace& r, int timeout, std::uint32_t port, const std::function<bool(int)>& io) {
    while (r.s.state != kReconnectIdle && r.ticks < 100) {
        const ReconnectIo need = ReconnectIoFor(r.s.state);
        const bool ok = need != ReconnectIo::None && io(r.s.state);
        const ReconnectStep step = ReconnectTick(r.s, timeout, port, ok);
        for (const A& a : step.actions) {
            if (a.kind == A::AddLog) r.log.push_back("+" + a.text);
            if (a.kind == A::ReplaceLastLine) r.log.push_back("=" + a.text);
            if (a.kind == A::Wait) r.waits += a.ms;
            if (a.kind == A::CreateProbe) ++r.probes;
            if (a.kind == A::EnableControls) ++r.enables;
        }
        r.s = step.next;
        ++r.ticks;
    }
}

TEST(ReconnectMachine, NetworkPathWithDefaults) {
    Trace r;
    Drive(r, 10, kNet, [](int) { return true; });
    // 100, six dot ticks, 102, 105, 106, 110.
    EXPECT_EQ(r.ticks, 11);
    EXPECT_EQ(r.log.front(), "+Connecting to X740 ");
    EXPECT_EQ(r.log[1], "+Please Wait ");
    EXPECT_EQ(r.log[7], "=Please Wait ......");
    EXPECT_EQ(r.log.back(), "+OK");
    EXPECT_EQ(r.waits, kReachableSettleMs);
    EXPECT_EQ(r.probes, 1);
    EXPECT_EQ(r.enables, 1);
}

TEST(ReconnectMachine, FailuresShareOneCounterAndEndWithTheErrorLine) {
    // Probe fails to the end: eleven failed ticks with the default ten.
    Trace probe;
    int failedProbes = 0;
    Drive(probe, 10, kNet, [&](int) { ++failedProbes; return false; });
    EXPECT_EQ(failedProbes, 11);
    EXPECT_EQ(probe.log.back(), std::string("+") + kReconnectFailedLine);
    EXPECT_EQ(probe.enables, 1);

    // Three failed probes, then the open fails: the open gets what is left of the counter.
    Trace open;
    int probes = 0, opens = 0;
    Drive(open, 10, kNet, [&](int state) {
        if (state == kReconnectProbe) return ++probes > 3;
        ++opens;
        return false;
    });
    EXPECT_EQ(probes, 4);
    EXPECT_EQ(opens, 8);
    EXPECT_EQ(open.log.back(), std::string("+") + kReconnectFailedLine);

    // RECONNECTTIMEOUT 0: the first failed probe ends it.
    Trace zero;
    int tries = 0;
    Drive(zero, 0, kNet, [&](int) { ++tries; return false; });
    EXPECT_EQ(tries, 1);
    EXPECT_EQ(zero.s.state, kReconnectIdle);

    // Below 0 it counts as 0 on both paths: one attempt, the error line, controls enabled.
    for (const std::uint32_t port : {kNet, 4u}) {
        Trace negative;
        int attempts = 0;
        Drive(negative, -3, port, [&](int) { ++attempts; return false; });
        EXPECT_EQ(attempts, 1) << port;
        EXPECT_EQ(negative.s.state, kReconnectIdle);
        EXPECT_EQ(negative.log.back(), std::string("+") + kReconnectFailedLine);
        EXPECT_EQ(negative.enables, 1);
    }
}

TEST(ReconnectMachine, PortsBelow256AreComPorts) {
    for (std::uint32_t port : {3u, 4u, 255u}) {
        Trace r;
        std::vector<int> states;
        Drive(r, 2, port, [&](int state) { states.push_back(state); return states.size() == 2; });
        EXPECT_EQ(states, (std::vector<int>{kReconnectOpenCom, kReconnectOpenCom})) << port;
        EXPECT_EQ(r.probes, 0);
        EXPECT_EQ(r.log.back(), "+OK");
    }
    EXPECT_FALSE(IsComPort(256));
    Trace fail;
    Drive(fail, 1, 4, [](int) { return false; });
    EXPECT_EQ(fail.log.back(), std::string("+") + kReconnectFailedLine);
    EXPECT_EQ(fail.ticks, 7 + 1 + 2);
}

TEST(ReconnectMachine, IdleDoesNothing) {
    const ReconnectStep step = ReconnectTick({}, 10, kNet, true);
    EXPECT_EQ(step.next.state, kReconnectIdle);
    EXPECT_TRUE(step.actions.empty());
}

TEST(ReachabilityProbe, ListeningPortIsReachableAndClosedOneIsNot) {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    socklen_t len = sizeof addr;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
    const int port = ntohs(addr.sin_port);
    EXPECT_EQ(CReachabilityProbe::ConnectWithTimeout(kNet, port, 1), 0);
    ::close(listener);
    EXPECT_EQ(CReachabilityProbe::ConnectWithTimeout(kNet, port, 1), 1);
    // The service port of an address where nothing listens.
    EXPECT_EQ(CReachabilityProbe(0x7F3A0B07).Probe(1), 1);
}

} // namespace
} // namespace x740panel
