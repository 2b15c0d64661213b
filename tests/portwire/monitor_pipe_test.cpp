// The monitor pipe: messages of a serial link in log mode arrive at a listener.
#include "platform/monitor_pipe.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "fake_transport.h"
#include "portwire/core/monitor.h"
#include "portwire/core/portwire_app.h"

namespace {

using pwtest::Bytes;

// A private runtime folder for the socket.
class RuntimeDir {
public:
    RuntimeDir() {
        char tmpl[] = "/tmp/pwmonXXXXXX";
        dir_ = ::mkdtemp(tmpl);
        ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    }
    ~RuntimeDir() {
        ::unlink(mv::monitorPipePath().c_str());
        ::rmdir(dir_.c_str());
    }

private:
    std::string dir_;
};

// Takes every message, answers each with 4 bytes unless told to stay silent.
class Listener {
public:
    explicit Listener(bool answer = true) : answer_(answer) {
        fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        const std::string path = mv::monitorPipePath();
        std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
        ::unlink(path.c_str());
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        EXPECT_EQ(::listen(fd_, 16), 0);
    }
    ~Listener() { ::close(fd_); }

    // Serves n connections, each one message.
    std::vector<Bytes> serve(int n) {
        std::vector<Bytes> got;
        for (int i = 0; i < n; ++i) {
            const int c = ::accept(fd_, nullptr, nullptr);
            if (c < 0)
                break;
            std::uint8_t buf[1024];
            const ssize_t len = ::recv(c, buf, sizeof buf, 0);
            if (len > 0)
                got.emplace_back(buf, buf + len);
            if (answer_)
                (void)::send(c, "ACK!", 4, MSG_NOSIGNAL);
            ::close(c);
        }
        return got;
    }

private:
    int fd_ = -1;
    bool answer_;
};

TEST(PortwireMonitorPipe, PathIsInTheRuntimeFolder) {
    RuntimeDir dir;
    const std::string p = mv::monitorPipePath();
    EXPECT_EQ(p.substr(p.size() - 14), "/MORVELAN-PIPE");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(mv::monitorPipePath(), "/tmp/MORVELAN-PIPE");
}

TEST(PortwireMonitorPipe, NobodyListeningMeansNoWait) {
    RuntimeDir dir;
    std::uint8_t msg[300] = {};
    EXPECT_FALSE(mv::callMonitorPipe(msg, sizeof msg));
}

TEST(PortwireMonitorPipe, SilentListenerBoundsTheCall) {
    RuntimeDir dir;
    Listener listener(false);
    std::vector<Bytes> got;
    std::thread t([&] { got = listener.serve(1); });
    std::uint8_t msg[300] = {7};
    EXPECT_TRUE(mv::callMonitorPipe(msg, sizeof msg, 50));
    t.join();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].size(), 300u);
}

TEST(PortwireMonitorPipe, SerialReplyArrivesAsHeaderAndRest) {
    RuntimeDir dir;
    Listener listener;
    std::vector<Bytes> got;
    std::thread t([&] { got = listener.serve(3); });

    pwtest::RecordingClock clock;
    pwtest::FakeTransports transports;
    transports.com[1].answers[20] = pwtest::reply({0x14, 0x00, 0xAB});
    portwire::CPortwireApp app({&clock, &transports, nullptr});  // the real pipe
    auto link = app.FindLink(app.OpenNoReadID(1));
    ASSERT_NE(link, nullptr);
    link->SetLogMode(1);
    EXPECT_TRUE(link->ReadInputs());
    t.join();

    ASSERT_EQ(got.size(), 3u);
    for (const Bytes& m : got)
        ASSERT_EQ(m.size(), 300u);
    // The request as written.
    EXPECT_EQ(Bytes(got[0].begin(), got[0].begin() + 13), (Bytes{0, 0, 0x40, 8, 0x14, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Bytes(got[0].begin() + 255, got[0].begin() + 260), (Bytes{13, 0, 0, 0, 0}));
    // The reply header, then its rest, both read.
    EXPECT_EQ(Bytes(got[1].begin(), got[1].begin() + 4), (Bytes{0, 0, 0x40, 3}));
    EXPECT_EQ(Bytes(got[1].begin() + 255, got[1].begin() + 260), (Bytes{4, 0, 0, 0, 1}));
    EXPECT_EQ(got[2][2], 0xAB);
    EXPECT_EQ(Bytes(got[2].begin() + 255, got[2].begin() + 260), (Bytes{4, 0, 0, 0, 1}));
    EXPECT_EQ(Bytes(got[2].begin() + 260, got[2].end()), Bytes(40, 0));
}

TEST(PortwireMonitorMessage, LongBlocksKeepTheirLengthAndFirstBytes) {
    Bytes block(300, 0x5A);
    const auto m = portwire::BuildMonitorMessage(block.data(), block.size(), 1);
    EXPECT_EQ(m.bytes[254], 0x5A);
    EXPECT_EQ(m.bytes[255], 300 % 256);
    EXPECT_EQ(m.bytes[256], 1);
    EXPECT_EQ(m.bytes[259], 1);
}

} // namespace
