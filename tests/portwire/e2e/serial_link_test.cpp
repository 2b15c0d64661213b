// Serial links through Portwire against the station behind a pseudo-terminal: fixed-baud
// opens, the baud search, reuse by COM number, a missing device, and the monitor pipe.
#include "tests/portwire/e2e/e2e_fixture.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <poll.h>
#include <sys/un.h>
#include <thread>

namespace e2e {
namespace {

using x740sim::buildFrame;
using x740sim::Fault;

TEST_F(E2ePty, OpenComAtTheStationBaud)
{
    const LinkHandle h = links.keep(A_OpenCom(kCom, 9600));
    ASSERT_NE(h, 0u);
    EXPECT_EQ(A_GetLastError(), 0);
    EXPECT_EQ(A_GetPort(h), static_cast<std::uint32_t>(kCom));
    EXPECT_EQ(station.frameCount(), 0u);
    station.setInputs(0, {0xC3});
    ASSERT_EQ(A_ReadInputs(h), 1);
    EXPECT_EQ(frames(), (std::vector<Bytes>{{0, 0, 0x40, 8, 0x14, 0, 0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(A_GetInputByte(h, 0), 0xC3);
}

TEST_F(E2ePty, OpeningTheSameComTwiceSharesTheLink)
{
    const LinkHandle a = A_OpenCom(kCom, 9600);
    ASSERT_NE(a, 0u);
    EXPECT_EQ(A_OpenCom(kCom, 9600), a);
    EXPECT_EQ(A_Open(kCom), a);   // found by COM number: no baud search, no Read ID
    EXPECT_EQ(station.frameCount(), 0u);
    A_Close(a);
    A_Close(a);
    EXPECT_EQ(A_ReadInputs(a), 1);
    A_Close(a);
    EXPECT_EQ(A_ReadInputs(a), 0);
    EXPECT_EQ(A_GetLastError(), 0x0100);
}

TEST_F(E2ePty, WrongBaudGetsNoAnswer)
{
    const LinkHandle h = links.keep(A_OpenCom(kCom, 38400));
    ASSERT_NE(h, 0u);
    int old = 0;
    ASSERT_EQ(A_SetComTimout(h, 100, &old), 1);
    EXPECT_EQ(old, 1000);
    EXPECT_EQ(A_ReadInputs(h), 0);
    EXPECT_EQ(station.frameCount(), 0u);
    EXPECT_EQ(server.ignoredBytes(), 13);
}

TEST_F(E2ePty, PurgeCommDiscardsAReplyNotYetRead)
{
    const LinkHandle h = links.keep(A_OpenCom(kCom, 9600));
    ASSERT_NE(h, 0u);
    const Bytes request = fixedRequest(0x40, 12);
    ASSERT_EQ(A_Write(h, request.data(), static_cast<int>(request.size())), 1);
    // The reply comes in one piece: once its first byte is here, the rest is too.
    std::uint8_t first = 0xFF;
    ASSERT_EQ(A_Read(h, &first, 1), 1);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(A_PurgeComm(h), 1);
    int old = 0;
    ASSERT_EQ(A_SetComTimout(h, 50, &old), 1);
    std::uint8_t rest = 0;
    EXPECT_EQ(A_Read(h, &rest, 1), 0);
    EXPECT_EQ(A_GetLastError(), 0x0500);
    // The link is in step again for the next request.
    EXPECT_EQ(A_GetControllerID(h), 0x0740);
}

TEST_F(E2ePty, MissingDeviceGives0200)
{
    ::setenv("PORTWIRE_COM9", "/nonexistent", 1);
    EXPECT_EQ(A_Open(9), 0u);
    EXPECT_EQ(A_GetLastError(), 0x0200);
    EXPECT_EQ(A_OpenCom(9, 9600), 0u);
    EXPECT_EQ(A_GetLastError(), 0x0200);
    EXPECT_EQ(A_Open_NoReadID(9), 0u);
    EXPECT_EQ(A_GetLastError(), 0x0200);
    ::unsetenv("PORTWIRE_COM9");
}

TEST_F(E2ePty, SetOutputsStillWritesWhenTheAnnounceReplyIsMissing)
{
    const LinkHandle h = links.keep(A_OpenCom(kCom, 9600));
    ASSERT_NE(h, 0u);
    int old = 0;
    ASSERT_EQ(A_SetComTimout(h, 100, &old), 1);
    station.injectFault(Fault::silence());
    const Bytes out{0x01, 0x02, 0x04};
    EXPECT_EQ(A_SetOutputs(h, 3, out.data()), 1);
    EXPECT_EQ(frames(), (std::vector<Bytes>{announceFor(3), writeFrame(30, out)}));
    EXPECT_EQ(station.outputs(), out);
}

TEST_F(E2ePty, BadChecksumIsPurgedAndTheNextRequestWorks)
{
    const LinkHandle h = links.keep(A_OpenCom(kCom, 9600));
    ASSERT_NE(h, 0u);
    station.injectFault(Fault::badChecksum());
    EXPECT_EQ(A_GetControllerID(h), 0);
    EXPECT_EQ(A_GetLastError(), 0x0600);
    EXPECT_EQ(A_GetControllerID(h), 0x0740);
}

TEST_F(E2ePty, DeviceErrorOverSerial)
{
    const LinkHandle h = links.keep(A_OpenCom(kCom, 9600));
    ASSERT_NE(h, 0u);
    station.injectFault(Fault::deviceError(0x07, 0x50));
    EXPECT_EQ(A_ReadInputs(h), 0);
    EXPECT_EQ(A_GetLastError(), 7);
    EXPECT_EQ(A_ReadInputs(h), 1);
}

class E2ePtyAt115200 : public E2ePty {
protected:
    int stationBaud() const override { return 115200; }
};

TEST_F(E2ePtyAt115200, OpenWithoutReadIdUses115200)
{
    const LinkHandle h = links.keep(A_Open_NoReadID(kCom));
    ASSERT_NE(h, 0u);
    EXPECT_EQ(station.frameCount(), 0u);
    EXPECT_EQ(A_GetControllerID(h), 0x0740);
}

TEST_F(E2ePtyAt115200, BaudSearchFindsTheFirstAttemptWithItsShortTimeout)
{
    const LinkHandle h = links.keep(A_Open(kCom));
    ASSERT_NE(h, 0u);
    EXPECT_EQ(A_GetLastError(), 0);
    EXPECT_EQ(A_GetNumberOfModules(h), 3);
    int old = 0;
    ASSERT_EQ(A_SetComTimout(h, 1000, &old), 1);
    EXPECT_EQ(old, 100);
}

TEST_F(E2ePtyAt115200, OpenWithStatusWindowWithoutApplicationActsAsOpen)
{
    const LinkHandle h = links.keep(A_Open2(kCom));
    ASSERT_NE(h, 0u);
    EXPECT_EQ(A_GetNumberOfModules(h), 3);
    EXPECT_EQ(frames(), (std::vector<Bytes>{fixedRequest(0x40, 11)}));
    EXPECT_EQ(A_Open(kCom), h);
    A_Close(h);
}

// Through the real library the pauses between attempts are real: this one test takes
// about three seconds.
TEST_F(E2ePty, BaudSearchFinds9600AtTheThirdAttempt)
{
    const LinkHandle h = links.keep(A_Open(kCom));
    ASSERT_NE(h, 0u);
    EXPECT_EQ(A_GetLastError(), 0);
    // Two Read ID requests went out at 115200 and 38400 and were lost; the third was answered.
    EXPECT_EQ(server.ignoredBytes(), 26);
    EXPECT_EQ(frames(), (std::vector<Bytes>{fixedRequest(0x40, 11)}));
    EXPECT_EQ(A_GetNumberOfModules(h), 3);
    EXPECT_EQ(A_GetModulID(h, 0), 0x2110);
    int old = 0;
    ASSERT_EQ(A_SetComTimout(h, 1000, &old), 1);
    EXPECT_EQ(old, 1000);
}

// --- the monitor pipe ---

// Listens on MORVELAN-PIPE in a private runtime folder and answers every message.
class PipeListener {
public:
    PipeListener()
    {
        char tmpl[] = "/tmp/mv-e2e-pipe-XXXXXX";
        dir_ = ::mkdtemp(tmpl);
        path_ = dir_ + "/MORVELAN-PIPE";
        fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof a.sun_path, "%s", path_.c_str());
        ok_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && ::listen(fd_, 8) == 0;
        if (ok_)
            thread_ = std::thread([this] { run(); });
    }
    ~PipeListener()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (fd_ >= 0)
            ::close(fd_);
        ::unlink(path_.c_str());
        ::rmdir(dir_.c_str());
    }
    bool ok() const { return ok_; }
    const std::string& dir() const { return dir_; }
    std::vector<Bytes> waitFor(std::size_t count, int ms)
    {
        std::unique_lock lock(mutex_);
        cv_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return messages_.size() >= count; });
        return messages_;
    }

private:
    void run()
    {
        std::vector<int> peers;
        while (!stop_) {
            std::vector<pollfd> fds{{fd_, POLLIN, 0}};
            for (int p : peers)
                fds.push_back({p, POLLIN, 0});
            if (::poll(fds.data(), fds.size(), 20) <= 0)
                continue;
            if (fds[0].revents & POLLIN) {
                const int p = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
                if (p >= 0)
                    peers.push_back(p);
            }
            for (std::size_t i = fds.size() - 1; i >= 1; --i) {
                if (!fds[i].revents)
                    continue;
                std::uint8_t buf[1024];
                const ssize_t n = ::recv(fds[i].fd, buf, sizeof buf, 0);
                if (n <= 0) {
                    ::close(fds[i].fd);
                    peers.erase(peers.begin() + static_cast<std::ptrdiff_t>(i - 1));
                    continue;
                }
                const std::uint8_t answer[4] = {1, 0, 0, 0};
                ::send(fds[i].fd, answer, sizeof answer, MSG_NOSIGNAL);
                std::lock_guard lock(mutex_);
                messages_.emplace_back(buf, buf + n);
                cv_.notify_all();
            }
        }
        for (int p : peers)
            ::close(p);
    }

    std::string dir_, path_;
    int fd_ = -1;
    bool ok_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<Bytes> messages_;
};

Bytes messageBlock(const Bytes& msg)
{
    if (msg.size() < 300)
        return {};
    const std::uint32_t len = msg[255] | (msg[256] << 8) | (msg[257] << 16) | (static_cast<std::uint32_t>(msg[258]) << 24);
    return Bytes(msg.begin(), msg.begin() + std::min<std::uint32_t>(len, 255));
}

TEST_F(E2ePty, LogModeMirrorsSerialTrafficToTheMonitorPipe)
{
    PipeListener pipe;
    ASSERT_TRUE(pipe.ok());
    ::setenv("XDG_RUNTIME_DIR", pipe.dir().c_str(), 1);
    const LinkHandle h = links.keep(A_OpenCom(kCom, 9600));
    ASSERT_NE(h, 0u);
    A_SetLogMode(h, 1);
    station.setInputLength(3);
    station.setInputs(0, {7, 8, 9});
    ASSERT_EQ(A_ReadInputs(h), 1);
    const auto msgs = pipe.waitFor(3, 5000);
    ASSERT_EQ(msgs.size(), 3u);
    const Bytes reply = buildFrame(0x40, {20, 0, 7, 8, 9});
    EXPECT_EQ(messageBlock(msgs[0]), fixedRequest(0x40, 20));
    EXPECT_EQ(messageBlock(msgs[1]), Bytes(reply.begin(), reply.begin() + 4));
    EXPECT_EQ(messageBlock(msgs[2]), Bytes(reply.begin() + 4, reply.end()));
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(msgs[i].size(), 300u);
        EXPECT_EQ(msgs[i][259], i == 0 ? 0 : 1) << "message " << i;
        for (std::size_t k = 260; k < 300; ++k)
            EXPECT_EQ(msgs[i][k], 0) << "message " << i << " byte " << k;
    }
    A_SetLogMode(h, 0);
    ::unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
} // namespace e2e
