#include "module_test_util.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/channel_module.h"
#include "morvelan/core/connection.h"
#include "portwire/include/Portwire.h"
#include "tests/sim/pty_station_server.h"
#include "tests/sim/station.h"
#include "tests/sim/tcp_station_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001u;

// A loopback port where nothing listens: bound, then released.
int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(kLoopback);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

TEST(PortwireErrorText, EveryCodeHasItsText) {
    EXPECT_EQ(GetPortwireErrorText(0x0100), " Handle error ");
    EXPECT_EQ(GetPortwireErrorText(0x0200), " COM error");
    EXPECT_EQ(GetPortwireErrorText(0x0300), " Timeout");
    EXPECT_EQ(GetPortwireErrorText(0x0400), " Network access denied");
    EXPECT_EQ(GetPortwireErrorText(0x0500), " Datasize error");
    EXPECT_EQ(GetPortwireErrorText(0x0600), " Checksum error");
    EXPECT_EQ(GetPortwireErrorText(7), "Code 7");
}

TEST(OpenFailure, UnexpectedCodesShowTheGeneralTextWithTheCode) {
    mvtest::RecordingHooks hooks;
    EXPECT_EQ(OpenFailureMessage(7).line1, "Error : 7");
    EXPECT_EQ(OpenFailureMessage(0x0100).line1, "Error : 256");
    EXPECT_EQ(OpenFailureMessage(0x0300).line1, "No answer");
    EXPECT_EQ(OpenFailureMessage(0x0200).line1, "COM port error");
    EXPECT_EQ(OpenFailureMessage(0x0400).caption, "Error");
}

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        station_.setModuleIds({0x0102, 0x0203});
        ASSERT_TRUE(server_.start(0));
        connection_.m_Com = kComTcpIp;
        connection_.m_IpAddress = kLoopback;
        connection_.m_TcpPort = server_.port();
    }
    void TearDown() override {
        connection_.CloseConnection();
        server_.stop();
    }

    mvtest::RecordingHooks hooks_;
    x740sim::Station station_;
    x740sim::TcpStationServer server_{station_};
    CControllerConnection connection_;
};

TEST_F(ConnectionTest, TcpOpenWithStoredAddressAsksNothing) {
    EXPECT_EQ(connection_.OpenConnectionPlain(0), 1);
    EXPECT_NE(connection_.m_Link, 0u);
    EXPECT_EQ(hooks_.addressAsked, 0);
    EXPECT_EQ(A_GetNumberOfModules(connection_.m_Link), 2);
    EXPECT_TRUE(hooks_.messages.empty());
}

TEST_F(ConnectionTest, AddressDialogCancelOpensNothing) {
    connection_.m_TcpPort = 1;
    hooks_.addressOk = false;
    EXPECT_EQ(connection_.OpenConnection(1), 0);
    EXPECT_EQ(connection_.m_Link, 0u);
    EXPECT_EQ(server_.connectionsAccepted(), 0);
    EXPECT_TRUE(hooks_.messages.empty());

    hooks_.addressOk = true;
    hooks_.askedIp = kLoopback;
    hooks_.askedPort = server_.port();
    EXPECT_EQ(connection_.OpenConnection(1), 1);
    EXPECT_EQ(connection_.m_TcpPort, server_.port());
}

TEST_F(ConnectionTest, RefusedTcpOpenShowsTheNetworkText) {
    connection_.m_TcpPort = ClosedPort();
    EXPECT_EQ(connection_.OpenConnection(0), 0);
    EXPECT_EQ(connection_.m_Link, 0u);
    ASSERT_EQ(hooks_.messages.size(), 1u);
    EXPECT_EQ(hooks_.messages[0].line1, "No network connection");
    EXPECT_EQ(hooks_.messages[0].line2, "");
    EXPECT_EQ(hooks_.messages[0].caption, "Error");
    EXPECT_EQ(hooks_.messages[0].bitmap, 150);
    EXPECT_EQ(hooks_.messages[0].captionColour, 255u);
}

TEST_F(ConnectionTest, ReopeningKeepsOneReferenceOnTheLink) {
    ASSERT_EQ(connection_.OpenConnection(0), 1);
    const std::uint32_t first = connection_.m_Link;
    ASSERT_EQ(connection_.OpenConnection(0), 1);
    EXPECT_EQ(connection_.m_Link, first);
    connection_.CloseConnection();
    // One release closed the link: the handle is gone from Portwire's table.
    EXPECT_EQ(A_GetPort(first), 0u);
}

TEST_F(ConnectionTest, InputCycleSharesTheInputsOut) {
    station_.setInputLength(8);
    station_.setInputs(0, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88});
    ASSERT_EQ(connection_.OpenConnection(0), 1);
    EXPECT_EQ(connection_.ReadOnlineInputs(2), 1);
    ASSERT_EQ(hooks_.distributed, std::vector<int>{2});
    ASSERT_EQ(hooks_.lastInputs.size(), 256u);
    EXPECT_EQ(hooks_.lastInputs[0], 0x11);
    EXPECT_EQ(hooks_.lastInputs[7], 0x88);
    EXPECT_EQ(hooks_.lastInputs[8], 0x00);
    EXPECT_TRUE(hooks_.offline.empty());

    // The shares of two boards, one after the other.
    CChannelModule a, b;
    mvtest::TempInstall install;
    a.LoadDescription(install.write("Modul/A.kvn", "[MORVELAN]\nChannel=2\n[K1]\nSkale=1\n"
                                                   "Offset=0\nDatatype=2\n[K2]\nSkale=1\n"
                                                   "Offset=0\nDatatype=3\n"));
    b.LoadDescription(install.write("Modul/B.kvn", "[MORVELAN]\nChannel=1\n[K1]\nSkale=1\n"
                                                   "Offset=0\nDatatype=4\n"));
    int at = 0, count = 0;
    a.TakeInputs(hooks_.lastInputs.data() + at, 256 - at, count);
    at += count;
    b.TakeInputs(hooks_.lastInputs.data() + at, 256 - at, count);
    EXPECT_EQ(a.Channel(1).value.GetAsInt(3), 0x3322);
    EXPECT_EQ(b.Channel(0).value.GetAsInt(4), 0x77665544);
}

TEST_F(ConnectionTest, FailedCycleClosesTheLinkAndSetsTheStationOffline) {
    ASSERT_EQ(connection_.OpenConnection(0), 1);
    const std::uint32_t link = connection_.m_Link;
    station_.injectFault(x740sim::Fault::drop());
    EXPECT_EQ(connection_.ReadOnlineInputs(1), 0);
    EXPECT_EQ(hooks_.offline, std::vector<int>{1});
    EXPECT_TRUE(hooks_.distributed.empty());
    EXPECT_EQ(A_GetPort(link), 0u);
    // The closed link's handle is 0 to everyone; requests on the old one fail with the
    // handle error.
    EXPECT_EQ(connection_.m_Link, 0u);
    EXPECT_EQ(A_ReadInputs(link), 0);
    EXPECT_EQ(A_GetLastError(), 0x0100);
    // A new open replaces it.
    EXPECT_EQ(connection_.OpenConnection(0), 1);
    EXPECT_NE(connection_.m_Link, link);
    EXPECT_EQ(connection_.ReadOnlineInputs(1), 1);
}

TEST_F(ConnectionTest, ArpClearingIsHarmlessWithoutTheRight) {
    connection_.m_ClearArp = 1;
    EXPECT_EQ(connection_.OpenConnection(0), 1);
    connection_.m_OsName = "Windows 95";
    connection_.ClearArpEntry();
}

class SerialConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        station_.setModuleIds({0x0301});
        ASSERT_TRUE(pty_.start(115200));
        ::setenv("PORTWIRE_COM4", pty_.slavePath().c_str(), 1);
        ::setenv("PORTWIRE_COM3", "/nonexistent/tty-for-test", 1);
        connection_.m_SerInfo = 0;
    }
    void TearDown() override {
        connection_.CloseConnection();
        pty_.stop();
        ::unsetenv("PORTWIRE_COM4");
        ::unsetenv("PORTWIRE_COM3");
    }

    mvtest::RecordingHooks hooks_;
    x740sim::Station station_;
    x740sim::PtyStationServer pty_{station_};
    CControllerConnection connection_;
};

TEST_F(SerialConnectionTest, SerialOpenFindsTheStation) {
    connection_.m_Com = 4;
    EXPECT_EQ(connection_.OpenConnectionPlain(0), 1);
    EXPECT_EQ(A_GetNumberOfModules(connection_.m_Link), 1);
    EXPECT_EQ(A_GetPort(connection_.m_Link), 4u);
    EXPECT_TRUE(hooks_.messages.empty());
}

TEST_F(SerialConnectionTest, MissingPortShowsTheComText) {
    connection_.m_Com = 3;
    EXPECT_EQ(connection_.OpenConnection(0), 0);
    ASSERT_EQ(hooks_.messages.size(), 1u);
    EXPECT_EQ(hooks_.messages[0].line1, "COM port error");
}

// Stands in for the library's open functions: records which one was called with which port and
// fails with the code set here. The library's own serial search pauses a second between bauds,
// so a station that never answers would take seconds; the search itself is the library's to test.
struct FailingOpeners {
    static inline std::vector<int> calls; // COM n: n for the plain search, 100 + n with window
    static inline int code = 0;
    static std::uint32_t Open(int comNumber) {
        calls.push_back(comNumber);
        return 0;
    }
    static std::uint32_t Open2(int comNumber) {
        calls.push_back(100 + comNumber);
        return 0;
    }
    static std::uint32_t OpenNet(std::uint32_t, int) {
        calls.push_back(0);
        return 0;
    }
    static std::uint16_t LastError() { return static_cast<std::uint16_t>(code); }
    static PortwireOpeners Table() { return PortwireOpeners{&Open, &Open2, &OpenNet, &LastError}; }
};

TEST_F(SerialConnectionTest, SilentStationShowsTheTimeoutText) {
    // No baud of the search got an answer: the library reports 0x0300.
    FailingOpeners::calls.clear();
    FailingOpeners::code = 0x0300;
    connection_.m_Openers = FailingOpeners::Table();
    connection_.m_Com = 4;
    EXPECT_EQ(connection_.OpenConnection(0), 0);
    EXPECT_EQ(FailingOpeners::calls, std::vector<int>{4});
    ASSERT_EQ(hooks_.messages.size(), 1u);
    EXPECT_EQ(hooks_.messages[0].line1, "No answer");
    EXPECT_EQ(hooks_.messages[0].line2, "");
    EXPECT_EQ(hooks_.messages[0].caption, "Error");
    EXPECT_EQ(hooks_.messages[0].bitmap, 150);
    EXPECT_EQ(connection_.m_Link, 0u);
}

TEST_F(SerialConnectionTest, StatusWindowSearchOnlyWhenAskedAndNeverForThePlainOpen) {
    FailingOpeners::calls.clear();
    FailingOpeners::code = 7;
    connection_.m_Openers = FailingOpeners::Table();
    connection_.m_Com = 2;
    connection_.m_SerInfo = 1;
    EXPECT_EQ(connection_.OpenConnection(1), 0);
    EXPECT_EQ(connection_.OpenConnectionPlain(1), 0);
    connection_.m_SerInfo = 0;
    EXPECT_EQ(connection_.OpenConnection(1), 0);
    EXPECT_EQ(FailingOpeners::calls, (std::vector<int>{102, 2, 2}));
    // No address dialog for a serial port; every failure told with the general text and code.
    EXPECT_EQ(hooks_.addressAsked, 0);
    ASSERT_EQ(hooks_.messages.size(), 3u);
    EXPECT_EQ(hooks_.messages[2].line1, "Error : 7");
}

TEST_F(SerialConnectionTest, FailedOpenReleasesTheLinkHeldSoFar) {
    connection_.m_Com = 4;
    ASSERT_EQ(connection_.OpenConnectionPlain(0), 1);
    const std::uint32_t first = connection_.m_Link;
    FailingOpeners::code = 0x0200;
    connection_.m_Openers = FailingOpeners::Table();
    EXPECT_EQ(connection_.OpenConnectionPlain(0), 0);
    EXPECT_EQ(connection_.m_Link, 0u);
    EXPECT_EQ(A_GetPort(first), 0u);
    ASSERT_EQ(hooks_.messages.size(), 1u);
    EXPECT_EQ(hooks_.messages[0].line1, "COM port error");
}

} // namespace
