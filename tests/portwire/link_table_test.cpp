// The link table: handles, reuse by reference count, TCP opens and reconnects, closing.
#include <set>

#include <gtest/gtest.h>

#include "fake_transport.h"
#include "portwire/include/Portwire.h"

namespace {

using pwtest::Bytes;
using pwtest::reply;
using pwtest::Rig;

const Bytes kIds = reply({0x0B, 0x00, 0x34, 0x12, 0x00, 0x00});

TEST(PortwireLinkHandles, AreNonZeroAndNeverReused) {
    Rig rig;
    rig.com(1);
    std::set<std::uint32_t> seen;
    for (int i = 0; i < 50; ++i) {
        const auto h = rig.app.OpenNoReadID(1);
        ASSERT_NE(h, 0u);
        EXPECT_TRUE(seen.insert(h).second);
        rig.app.Close(h);
    }
    // Failed opens give 0 and do not bring an old handle back either.
    EXPECT_EQ(rig.app.OpenNoReadID(9), 0u);
    const auto h = rig.app.OpenNoReadID(1);
    EXPECT_TRUE(seen.insert(h).second);
}

TEST(PortwireLinkHandles, StaleHandleNeverReachesANewLink) {
    Rig rig;
    rig.com(1);
    const auto old = rig.app.OpenNoReadID(1);
    rig.app.Close(old);
    const auto fresh = rig.app.OpenNoReadID(1);
    EXPECT_NE(old, fresh);
    EXPECT_EQ(A_ReadInputs(old), 0);
    EXPECT_EQ(A_GetLastError(), 0x0100);
    EXPECT_TRUE(rig.com(1).writes.empty());
}

TEST(PortwireLinkTable, UnknownHandleOnCloseOnlySetsTheError) {
    Rig rig;
    const auto h = rig.serial();
    rig.app.SetLastError(0);
    A_Close(h + 12345);
    EXPECT_EQ(A_GetLastError(), 0x0100);
    EXPECT_EQ(rig.app.LinkCount(), 1u);
    A_Close(0);
    EXPECT_EQ(rig.app.LinkCount(), 1u);
}

TEST(PortwireLinkTable, ComOpensMatchSerialLinksOnly) {
    Rig rig;
    const auto net = rig.tcp();
    ASSERT_NE(net, 0u);
    // COM 0 does not exist, and a TCP link (COM number 0) is not taken for it.
    EXPECT_EQ(rig.app.OpenCom(0, 9600), 0u);
    EXPECT_EQ(A_GetLastError(), 0x0200);
    EXPECT_EQ(rig.app.FindLink(net)->References(), 1);
}

TEST(PortwireTcpOpen, RecordsAddressAndPort) {
    Rig rig;
    const auto h = rig.tcp(true);
    ASSERT_EQ(h, 0u);  // no Read ID answer: 0x0400
    EXPECT_EQ(A_GetLastError(), 0x0400);
    rig.net().answers[11] = kIds;
    const auto h2 = rig.tcp(true);
    ASSERT_NE(h2, 0u);
    EXPECT_EQ(A_GetPort(h2), Rig::kIp);
    EXPECT_EQ(A_GetNumberOfModules(h2), 1);
    EXPECT_EQ(rig.app.OpenNet(Rig::kIp, Rig::kPort, true), h2);
    EXPECT_EQ(rig.app.OpenNet(Rig::kIp, Rig::kPort + 1, true), 0u);
}

TEST(PortwireTcpOpen, FiveAttemptsThenError) {
    Rig rig;
    rig.net();
    rig.transports.refuseConnects = 4;
    const auto h = rig.app.OpenNet(Rig::kIp, Rig::kPort, false);
    EXPECT_NE(h, 0u);
    EXPECT_EQ(rig.transports.connects, 5);

    rig.transports.connects = 0;
    rig.transports.refuseConnects = 5;
    EXPECT_EQ(rig.app.OpenNet(Rig::kIp, Rig::kPort + 7, false), 0u);
    EXPECT_EQ(rig.transports.connects, 5);
    EXPECT_EQ(A_GetLastError(), 0x0400);
}

TEST(PortwireTcpOpen, LeavesTheLastErrorOnSuccess) {
    Rig rig;
    rig.app.SetLastError(0x0600);
    ASSERT_NE(rig.tcp(), 0u);
    EXPECT_EQ(A_GetLastError(), 0x0600);
}

TEST(PortwireTcpOpen, LostSocketIsReconnectedByTheNextOpen) {
    Rig rig;
    rig.net().answers[11] = kIds;
    const auto h = rig.tcp(true);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(A_ReadInputs(h), 0);  // silent peer: the socket is given up
    EXPECT_TRUE(rig.app.FindLink(h)->SocketLost());
    EXPECT_EQ(A_ReadInputs(h), 0);
    EXPECT_EQ(A_GetLastError(), 0x0300);

    const int before = rig.transports.connects;
    EXPECT_EQ(rig.app.OpenNet(Rig::kIp, Rig::kPort, true), h);
    EXPECT_EQ(rig.transports.connects, before + 1);
    EXPECT_FALSE(rig.app.FindLink(h)->SocketLost());
    EXPECT_EQ(rig.app.FindLink(h)->References(), 2);
    rig.net().answers[20] = reply({0x14, 0x00, 0x09});
    EXPECT_EQ(A_ReadInputs(h), 1);
}

TEST(PortwireTcpOpen, FailedReconnectCountsNoReference) {
    Rig rig;
    const auto h = rig.tcp();
    ASSERT_NE(h, 0u);
    EXPECT_EQ(A_ReadInputs(h), 0);
    rig.transports.refuseConnects = 5;
    rig.app.SetLastError(0);
    EXPECT_EQ(rig.app.OpenNet(Rig::kIp, Rig::kPort, false), 0u);
    EXPECT_EQ(A_GetLastError(), 0x0400);
    EXPECT_EQ(rig.app.FindLink(h)->References(), 1);
    // A reconnect whose Read ID fails fails the same way.
    EXPECT_EQ(rig.app.OpenNet(Rig::kIp, Rig::kPort, true), 0u);
    EXPECT_EQ(A_GetLastError(), 0x0400);
    EXPECT_TRUE(rig.app.FindLink(h)->SocketLost());
}

TEST(PortwireClose, TcpLinkWaitsAfterClosingSerialDiscardsInput) {
    Rig rig;
    const auto net = rig.tcp();
    const auto com = rig.serial(2);
    rig.com(2).push({1, 2, 3});
    A_Close(com);
    EXPECT_EQ(rig.com(2).purges, 1);
    EXPECT_TRUE(rig.clock.pauses.empty());
    A_Close(net);
    EXPECT_EQ(rig.clock.pauses, (std::vector<int>{50}));
    EXPECT_EQ(rig.app.LinkCount(), 0u);
}

TEST(PortwireGetPort, ComNumberOrAddress) {
    Rig rig;
    const auto com = rig.serial(3);
    EXPECT_EQ(A_GetPort(com), 3u);
    EXPECT_EQ(A_GetPort(com + 999), 0u);
    rig.transports.net[{0xC0A80001, 502}];
    const auto net = rig.app.OpenNet(0xC0A80001, 502, false);
    EXPECT_EQ(A_GetPort(net), 0xC0A80001u);
}

} // namespace
