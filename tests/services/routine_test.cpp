// The request/reply routine every service library shares: attempts, skipped empty headers,
// device errors, resends, send-only requests and the separate last errors of the libraries.
#include "tests/services/service_fixture.h"

#include "services/include/X740_Cam.h"
#include "services/include/X740_Core.h"
#include "services/include/X740_Gate.h"
#include "services/include/X740_Logic.h"

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace svctest {
namespace {

using x740sim::Fault;

constexpr std::uint32_t kErrWrite = 0x80010001;
constexpr std::uint32_t kErrHeader = 0x80010002;
constexpr std::uint32_t kErrBody = 0x80010003;

TEST_F(ServiceStationTest, ClearNvramSendsExactlyItsFrame) {
    ASSERT_EQ(A_X740_ClearNVRAM(link), 1);
    const Bytes expected{
        0x00, 0x00, 0x20, 0x02, 0x2B, 0x00, x740sim::blockChecksum({0, 0, 0x20, 2, 0x2B, 0})};
    EXPECT_EQ(frames(), std::vector<Bytes>{expected});
    EXPECT_EQ(controller.requests(43, 0x20), 1);
}

TEST_F(ServiceStationTest, DeviceErrorDirectionExactly0x10Fails) {
    controller.setDeviceError(24, 5, 1);
    int a = -7;
    EXPECT_EQ(A_X740_ReadStatus(link, &a, nullptr), 0);
    EXPECT_EQ(A_X740_GetLastError(), 0x80000005u);
    EXPECT_EQ(a, -7) << "a failed request leaves the out-pointers alone";
}

TEST_F(ServiceStationTest, DirectionWithTheErrorBitAndMoreIsASuccess) {
    ServiceRecord status(RecordKind::Status);
    status.set("a", 0x1234);
    status.set("b", 0x89ABCDEF);
    controller.putRecord(status);
    controller.setReplyDirection(24, 0x50);
    const std::uint32_t before = A_X740_GetLastError();
    int a = 0, b = 0;
    ASSERT_EQ(A_X740_ReadStatus(link, &a, &b), 1);
    EXPECT_EQ(a, 0x1234);
    EXPECT_EQ(static_cast<std::uint32_t>(b), 0x89ABCDEFu);
    EXPECT_EQ(A_X740_GetLastError(), before);
}

TEST_F(ServiceStationTest, LastErrorStaysAfterALaterSuccess) {
    controller.setDeviceError(24, 9, 1);
    EXPECT_EQ(A_X740_ReadStatus(link, nullptr, nullptr), 0);
    ASSERT_EQ(A_X740_ReadStatus(link, nullptr, nullptr), 1);
    EXPECT_EQ(A_X740_GetLastError(), 0x80000009u);
}

TEST_F(ServiceStationTest, EachLibraryKeepsItsOwnLastError) {
    const std::uint32_t cam0 = A_X740_Cam_GetLastError();
    const std::uint32_t gate0 = A_X740_MB_GetLastError();
    const std::uint32_t logic0 = A_X740_IEC_GetLastError();
    controller.setDeviceError(24, 0x21, 1);
    EXPECT_EQ(A_X740_ReadStatus(link, nullptr, nullptr), 0);
    EXPECT_EQ(A_X740_GetLastError(), 0x80000021u);
    EXPECT_EQ(A_X740_Cam_GetLastError(), cam0);
    EXPECT_EQ(A_X740_MB_GetLastError(), gate0);
    EXPECT_EQ(A_X740_IEC_GetLastError(), logic0);

    controller.setDeviceError(114, 0x22, 1);
    EXPECT_EQ(A_X740_Cam_ReadNSWSetupSSI(link, nullptr, nullptr), 0);
    EXPECT_EQ(A_X740_Cam_GetLastError(), 0x80000022u);
    EXPECT_EQ(A_X740_GetLastError(), 0x80000021u);

    controller.setDeviceError(157, 0x23, 1);
    EXPECT_EQ(A_X740_MB_ReadTCPConfig(link, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr),
              0);
    EXPECT_EQ(A_X740_MB_GetLastError(), 0x80000023u);

    controller.setDeviceError(104, 0x24, 1);
    EXPECT_EQ(A_X740_IEC_WriteXIOBuffer(link, nullptr, 0), 0);
    EXPECT_EQ(A_X740_IEC_GetLastError(), 0x80000024u);
    EXPECT_EQ(A_X740_Cam_GetLastError(), 0x80000022u);
    EXPECT_EQ(A_X740_MB_GetLastError(), 0x80000023u);
    EXPECT_EQ(A_X740_GetLastError(), 0x80000021u);
}

TEST_F(ServiceStationTest, ReplyChecksumIsNotChecked) {
    ServiceRecord status(RecordKind::Status);
    status.set("a", 4711);
    controller.putRecord(status);
    station.injectFault(Fault::badChecksum());
    int a = 0;
    ASSERT_EQ(A_X740_ReadStatus(link, &a, nullptr), 1);
    EXPECT_EQ(a, 4711);
    EXPECT_EQ(station.frameCount(), 1u);
}

TEST_F(ServiceStationTest, EmptyHeaderIsSkippedWithoutAnAttempt) {
    station.injectFault(Fault::zeroLength(true));
    ServiceRecord info(RecordKind::SystemInfo);
    info.set("ram", 512);
    controller.putRecord(info);
    std::uint32_t ram = 0;
    ASSERT_EQ(
        A_X740_ReadSystemInfo(link, nullptr, nullptr, nullptr, &ram, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(ram, 512u);
    EXPECT_EQ(station.frameCount(), 1u);
}

TEST_F(ServiceStationTest, UnknownLinkFailsAsAWriteAfterFiveAttempts) {
    const std::uint32_t before = station.frameCount();
    EXPECT_EQ(A_X740_ClearModulConfigs(0xDEAD), 0);
    EXPECT_EQ(A_X740_GetLastError(), kErrWrite);
    EXPECT_EQ(station.frameCount(), before);
}

TEST_F(ServiceStationTest, SilenceOnTcpIsReportedAsNoReply) {
    // The silent read closes the socket, so the resends fail as writes: still no reply came.
    station.injectFault(Fault::silence());
    EXPECT_EQ(A_X740_ReadStatus(link, nullptr, nullptr), 0);
    EXPECT_EQ(A_X740_GetLastError(), kErrHeader);
    EXPECT_EQ(station.frameCount(), 1u);
    // A link that cannot write from the start is a write failure.
    EXPECT_EQ(A_X740_ReadStatus(link, nullptr, nullptr), 0);
    EXPECT_EQ(A_X740_GetLastError(), kErrWrite);
}

TEST_F(ServiceStationTest, ShortBodyFailsWithTheBodyError) {
    // The header announces the record, but only part of it arrives.
    station.injectFault(Fault::shortReply(8));
    EXPECT_EQ(A_X740_ReadModulConfig(link, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(A_X740_GetLastError(), kErrBody);
    EXPECT_EQ(station.frameCount(), 1u);
}

TEST_F(ServiceStationTest, SendOnlyRequestsReadNothing) {
    controller.setAnswerSendOnly(true);
    ASSERT_EQ(A_X740_StartFTPServer(link), 1);
    // The answer is still waiting on the link: the request did not read it.
    Bytes reply(7, 0);
    ASSERT_EQ(A_Read(link, reply.data(), 7), 1);
    EXPECT_EQ(reply, request(0x20, {48, 0}));
    EXPECT_EQ(lastFrame(), request(0x20, {48, 0}));

    ASSERT_EQ(A_X740_ResetModul(link), 1);
    ASSERT_EQ(A_Read(link, reply.data(), 7), 1);
    EXPECT_EQ(reply, request(0x20, {49, 0}));
    EXPECT_EQ(lastFrame(), request(0x20, {49, 0}));
}

TEST_F(ServiceStationTest, SendOnlyRequestsKeepTheLastError) {
    controller.setDeviceError(24, 3, 1);
    EXPECT_EQ(A_X740_ReadStatus(link, nullptr, nullptr), 0);
    EXPECT_EQ(A_X740_StartFTPServer(link), 1);
    EXPECT_EQ(A_X740_ResetModul(link), 1);
    // Nothing answers these two, so wait until the controller has seen them.
    ASSERT_TRUE(station.waitForFrames(3, 5000));
    EXPECT_EQ(controller.requests(48, 0x20), 1);
    EXPECT_EQ(controller.requests(49, 0x20), 1);
    EXPECT_EQ(A_X740_GetLastError(), 0x80000003u);
    // An unknown link: five writes fail, the result is 0, the last error stays.
    EXPECT_EQ(A_X740_ResetModul(0xBEEF), 0);
    EXPECT_EQ(A_X740_GetLastError(), 0x80000003u);
}

// A peer that answers every request with nothing but zero bytes.
class ZeroStreamPeer {
public:
    ZeroStreamPeer() {
        listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listenFd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listenFd_, 1);
        socklen_t len = sizeof a;
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~ZeroStreamPeer() {
        ::shutdown(listenFd_, SHUT_RDWR);
        ::close(listenFd_);
        thread_.join();
    }
    int port() const { return port_; }
    int requestBytes() const { return received_.load(); }

private:
    void run() {
        const int fd = ::accept(listenFd_, nullptr, nullptr);
        if (fd < 0)
            return;
        std::uint8_t buf[512];
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        received_ = static_cast<int>(n);
        const Bytes zeros(4 * 200, 0);
        ::send(fd, zeros.data(), zeros.size(), MSG_NOSIGNAL);
        // Keep the connection until the client is done.
        while (::recv(fd, buf, sizeof buf, 0) > 0) {
        }
        ::close(fd);
    }

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<int> received_{0};
    std::thread thread_;
};

TEST(ServiceRoutine, EndlessEmptyHeadersEndWithTheHeaderError) {
    ZeroStreamPeer peer;
    const LinkHandle h = A_OpenNet_NoReadID(kLoopback, peer.port());
    ASSERT_NE(h, 0u);
    EXPECT_EQ(A_X740_ReadStatus(h, nullptr, nullptr), 0);
    EXPECT_EQ(A_X740_GetLastError(), kErrHeader);
    A_Close(h);
    EXPECT_EQ(peer.requestBytes(), 7);
}

TEST_F(ServiceSerialTest, SilenceCostsFiveSendsOfTheSameRequest) {
    station.injectFault(Fault::silence(), 5);
    EXPECT_EQ(A_X740_ReadStatus(link, nullptr, nullptr), 0);
    EXPECT_EQ(A_X740_GetLastError(), kErrHeader);
    const std::vector<Bytes> sent = frames();
    ASSERT_EQ(sent.size(), 5u);
    for (const Bytes& f : sent) {
        EXPECT_EQ(f, request(0x40, {24, 0}));
    }
}

TEST_F(ServiceSerialTest, FourSilentAttemptsThenAnAnswerSucceeds) {
    station.injectFault(Fault::silence(), 4);
    ServiceRecord status(RecordKind::Status);
    status.set("a", 77);
    controller.putRecord(status);
    int a = 0;
    ASSERT_EQ(A_X740_ReadStatus(link, &a, nullptr), 1);
    EXPECT_EQ(a, 77);
    EXPECT_EQ(frames().size(), 5u);
}

TEST_F(ServiceSerialTest, ResendAfterAPartialReplyCarriesTheRequestAsBuilt) {
    // The first answer stops after two bytes: the header read fails with those bytes in the
    // frame buffer, and the resend must still be the request.
    station.injectFault(Fault::shortReply(2));
    ServiceRecord main(RecordKind::MainService);
    main.set("a", 502);
    main.set("b", 10);
    main.set("c", 20);
    main.set("d", 30);
    controller.putRecord(main);
    int a = 0, b = 0, c = 0, d = 0;
    ASSERT_EQ(A_X740_ReadMainServiceConfig(link, &a, &b, &c, &d), 1);
    EXPECT_EQ(a, 502);
    EXPECT_EQ(d, 30);
    const std::vector<Bytes> sent = frames();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], request(0x40, {130, 0}));
    EXPECT_EQ(sent[1], sent[0]);
}

TEST_F(ServiceSerialTest, WriteResendAfterSilenceIsTheSameFrame) {
    station.injectFault(Fault::silence(), 2);
    ASSERT_EQ(A_X740_WriteMainServiceConfig(link, 0x1122, 3, 4, 5), 1);
    const std::vector<Bytes> sent = frames();
    ASSERT_EQ(sent.size(), 3u);
    const Bytes expected = request(0x20, cat({{131, 0}, le16(0x1122), le16(3), le16(4), le16(5)}));
    for (const Bytes& f : sent) {
        EXPECT_EQ(f, expected);
    }
}

TEST_F(ServiceSerialTest, ShortBodyUsesTheRemainingAttemptsThenFails) {
    station.injectFault(Fault::shortReply(6));
    EXPECT_EQ(A_X740_ReadStatus(link, nullptr, nullptr), 0);
    EXPECT_EQ(A_X740_GetLastError(), kErrBody);
    EXPECT_EQ(frames().size(), 1u) << "a failed body is read again, not requested again";
}

} // namespace
} // namespace svctest
