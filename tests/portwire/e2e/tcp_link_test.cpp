// TCP links through Portwire: handles and reference counts, time-outs, split and broken
// replies, reconnecting a link whose socket failed, refused connections.
#include "tests/portwire/e2e/e2e_fixture.h"

#include <csignal>
#include <set>

namespace e2e {
namespace {

using x740sim::Fault;

TEST_F(E2eTcp, HandlesAreNonZeroDistinctAndNeverReused)
{
    std::set<LinkHandle> seen;
    for (int i = 0; i < 4; ++i) {
        const LinkHandle h = A_OpenNet_NoReadID(kLoopback, server.port());
        ASSERT_NE(h, 0u);
        EXPECT_TRUE(seen.insert(h).second) << "handle " << h << " came back";
        A_Close(h);
        EXPECT_EQ(A_GetPort(h), 0u);
        EXPECT_EQ(A_GetLastError(), 0x0100);
    }
}

TEST_F(E2eTcp, SecondOpenSharesTheLinkUntilTheLastClose)
{
    const LinkHandle a = A_OpenNet(kLoopback, server.port());
    ASSERT_NE(a, 0u);
    const LinkHandle b = A_OpenNet(kLoopback, server.port());
    EXPECT_EQ(a, b);
    EXPECT_EQ(server.connectionsAccepted(), 1);
    EXPECT_EQ(station.frameCount(), 1u);   // one Read ID only
    A_Close(a);
    EXPECT_EQ(A_ReadInputs(a), 1);
    A_Close(a);
    EXPECT_EQ(A_ReadInputs(a), 0);
    EXPECT_EQ(A_GetLastError(), 0x0100);
}

TEST_F(E2eTcp, CloseOfUnknownHandleOnlySetsTheError)
{
    const LinkHandle h = openNet();
    ASSERT_NE(h, 0u);
    A_Close(h + 0x10000u);
    EXPECT_EQ(A_GetLastError(), 0x0100);
    EXPECT_EQ(A_ReadInputs(h), 1);
}

TEST_F(E2eTcp, RefusedConnectionGives0400)
{
    const int port = unusedLoopbackPort();
    EXPECT_EQ(A_OpenNet(kLoopback, port), 0u);
    EXPECT_EQ(A_GetLastError(), 0x0400);
    EXPECT_EQ(A_OpenNet_NoReadID(kLoopback, port), 0u);
    EXPECT_EQ(A_GetLastError(), 0x0400);
}

TEST_F(E2eTcp, FailedReadIdEndsTheOpenWith0400)
{
    station.injectFault(Fault::deviceError(0x05));
    EXPECT_EQ(A_OpenNet(kLoopback, server.port()), 0u);
    EXPECT_EQ(A_GetLastError(), 0x0400);
    EXPECT_EQ(station.frameCount(), 1u);
}

TEST_F(E2eTcp, SetComTimoutOnTcpStoresTheValue)
{
    const LinkHandle h = openNet();
    ASSERT_NE(h, 0u);
    int old = 0;
    EXPECT_EQ(A_SetComTimout(h, 250, &old), 1);
    EXPECT_EQ(old, 1000);
    EXPECT_EQ(A_SetComTimout(h, 1000, &old), 1);
    EXPECT_EQ(old, 250);
}

TEST_F(E2eTcp, PurgeCommOnTcpGivesZeroAndKeepsTheLink)
{
    const LinkHandle h = openNet();
    ASSERT_NE(h, 0u);
    EXPECT_EQ(A_PurgeComm(h), 0);   // a TCP link has no serial receive buffer
    EXPECT_EQ(A_GetControllerID(h), 0x0740);
    EXPECT_EQ(A_PurgeComm(h + 1000), 0);
    EXPECT_EQ(A_GetLastError(), 0x0100);
}

TEST_F(E2eTcp, SplitRepliesAreGathered)
{
    const LinkHandle h = openNet();
    ASSERT_NE(h, 0u);
    station.setInputs(0, {0x5A, 0xA5});
    station.injectFault(Fault::splitHeaderBody(30));
    ASSERT_EQ(A_ReadInputs(h), 1);
    EXPECT_EQ(A_GetInputWord(h, 0), 0xA55A);
    station.injectFault(Fault::splitBytes(2));
    station.setInputs(0, {0x11});
    ASSERT_EQ(A_ReadInputs(h), 1);
    EXPECT_EQ(A_GetInputByte(h, 0), 0x11);
}

TEST_F(E2eTcp, ReadWaitsItsWholeTimeoutInMilliseconds)
{
    const LinkHandle h = openNet();
    ASSERT_NE(h, 0u);
    int old = 0;
    ASSERT_EQ(A_SetComTimout(h, 800, &old), 1);
    station.injectFault(Fault::delay(100));
    EXPECT_EQ(A_GetControllerID(h), 0x0740);
}

TEST_F(E2eTcp, MissingReplyFailsWith0500)
{
    const LinkHandle h = openNet();
    ASSERT_NE(h, 0u);
    int old = 0;
    ASSERT_EQ(A_SetComTimout(h, 100, &old), 1);
    station.injectFault(Fault::silence());
    EXPECT_EQ(A_ReadInputs(h), 0);
    EXPECT_EQ(A_GetLastError(), 0x0500);
}

TEST_F(E2eTcp, ShortReplyFailsWith0500)
{
    const LinkHandle h = openNet();
    ASSERT_NE(h, 0u);
    int old = 0;
    ASSERT_EQ(A_SetComTimout(h, 100, &old), 1);
    station.injectFault(Fault::shortReply(6));
    EXPECT_EQ(A_ReadInputs(h), 0);
    EXPECT_EQ(A_GetLastError(), 0x0500);
}

TEST_F(E2eTcp, DroppedConnectionFailsWithSocketCode)
{
    const LinkHandle h = openNet();
    ASSERT_NE(h, 0u);
    station.injectFault(Fault::drop());
    EXPECT_EQ(A_ReadInputs(h), 0);
    const auto err = A_GetLastError();
    EXPECT_TRUE(err == 0x0300 || err == 0x0500) << std::hex << err;
    // Every later transfer on the link fails as well, and none reaches the station.
    const std::size_t before = station.frameCount();
    EXPECT_EQ(A_ReadInputs(h), 0);
    EXPECT_EQ(station.frameCount(), before);
}

TEST_F(E2eTcp, WritingToAResetPeerRaisesNoSigpipe)
{
    auto* previous = std::signal(SIGPIPE, SIG_DFL);
    const LinkHandle h = openNet();
    ASSERT_NE(h, 0u);
    server.dropConnections();
    std::uint8_t block[200] = {};
    for (int i = 0; i < 20; ++i)
        (void)A_Write(h, block, sizeof block);
    EXPECT_EQ(A_Write(h, block, sizeof block), 0);
    std::signal(SIGPIPE, previous);
}

TEST_F(E2eTcp, OpenReconnectsALinkWhoseSocketFailed)
{
    const LinkHandle h = openNet();
    ASSERT_NE(h, 0u);
    station.injectFault(Fault::drop());
    EXPECT_EQ(A_ReadInputs(h), 0);
    station.clearFrameLog();
    station.setModuleIds({0x4321});

    const LinkHandle again = links.keep(A_OpenNet(kLoopback, server.port()));
    ASSERT_EQ(again, h);
    EXPECT_EQ(server.connectionsAccepted(), 2);
    EXPECT_EQ(frames(), (std::vector<Bytes>{fixedRequest(0x40, 11)}));
    EXPECT_EQ(A_GetNumberOfModules(h), 1);
    EXPECT_EQ(A_GetModulID(h, 0), 0x4321);
    EXPECT_EQ(A_ReadInputs(h), 1);
}

TEST_F(E2eTcp, ReconnectWithoutReadIdSendsNothing)
{
    const LinkHandle h = openNetNoReadId();
    ASSERT_NE(h, 0u);
    station.injectFault(Fault::drop());
    EXPECT_EQ(A_ReadInputs(h), 0);
    station.clearFrameLog();
    ASSERT_EQ(links.keep(A_OpenNet_NoReadID(kLoopback, server.port())), h);
    EXPECT_EQ(station.frameCount(), 0u);
    EXPECT_EQ(A_ReadInputs(h), 1);
}

TEST_F(E2eTcp, FailedReconnectCountsNoReference)
{
    const LinkHandle h = A_OpenNet(kLoopback, server.port());
    ASSERT_NE(h, 0u);
    station.injectFault(Fault::drop());
    EXPECT_EQ(A_ReadInputs(h), 0);
    server.stop();

    EXPECT_EQ(A_OpenNet(kLoopback, server.port()), 0u);
    EXPECT_EQ(A_GetLastError(), 0x0400);
    // Still one reference: one close removes the link.
    A_Close(h);
    EXPECT_EQ(A_GetPort(h), 0u);
    EXPECT_EQ(A_GetLastError(), 0x0100);
}

TEST_F(E2eTcp, ComNumberOpensDoNotMatchTcpLinks)
{
    const LinkHandle tcp = openNet();
    ASSERT_NE(tcp, 0u);
    ::setenv("PORTWIRE_COM0", "/nonexistent/port0", 1);
    const LinkHandle com = links.keep(A_OpenCom(0, 9600));
    EXPECT_NE(com, tcp);
    const LinkHandle com2 = links.keep(A_Open_NoReadID(0));
    EXPECT_NE(com2, tcp);
    ::unsetenv("PORTWIRE_COM0");
    // The TCP link kept a single reference.
    links.close(tcp);
    EXPECT_EQ(A_GetPort(tcp), 0u);
}

} // namespace
} // namespace e2e
