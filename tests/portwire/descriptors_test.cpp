// Failed and finished links give back every descriptor they took: serial devices, TCP sockets.
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "fake_transport.h"
#include "portwire/core/portwire_app.h"
#include "portwire/core/portwire_error.h"

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;

int openDescriptors() {
    int n = 0;
    if (DIR* d = ::opendir("/proc/self/fd")) {
        while (::readdir(d))
            ++n;
        ::closedir(d);
    }
    return n;
}

// The real carriers, with injected pauses and a recording monitor.
struct SystemRig {
    pwtest::RecordingClock clock;
    pwtest::MonitorRecorder monitor;
    portwire::CPortwireApp app{portwire::CPortwireApp::Services{&clock, nullptr, &monitor}};
};

// A loopback listener that takes each connection and hangs up at once.
class HangUpListener {
public:
    HangUpListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(kLoopback);
        socklen_t len = sizeof a;
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        EXPECT_EQ(::listen(fd_, 8), 0);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~HangUpListener() { ::close(fd_); }
    int port() const { return port_; }
    void hangUp(int connections) {
        for (int i = 0; i < connections; ++i) {
            const int c = ::accept(fd_, nullptr, nullptr);
            if (c >= 0)
                ::close(c);
        }
    }

private:
    int fd_ = -1;
    int port_ = 0;
};

// A pseudo-terminal whose slave side stands for COM n while it lives.
class Pty {
public:
    explicit Pty(int com) : var_("PORTWIRE_COM" + std::to_string(com)) {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        EXPECT_GE(master_, 0);
        EXPECT_EQ(::grantpt(master_), 0);
        EXPECT_EQ(::unlockpt(master_), 0);
        ::setenv(var_.c_str(), ::ptsname(master_), 1);
    }
    ~Pty() {
        ::unsetenv(var_.c_str());
        ::close(master_);
    }

private:
    std::string var_;
    int master_ = -1;
};

TEST(PortwireDescriptors, FailedTcpOpensCloseTheirSockets) {
    SystemRig rig;
    HangUpListener listener;
    const int before = openDescriptors();

    // Refused: nobody listens on the port any more.
    int unused = 0;
    {
        HangUpListener gone;
        unused = gone.port();
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rig.app.OpenNet(kLoopback, unused, false), 0u);
        EXPECT_EQ(rig.app.GetLastError(), portwire::kErrTcpConnect);
    }
    // Connected, but the peer hangs up before answering Read ID.
    std::thread peer([&] { listener.hangUp(3); });
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(rig.app.OpenNet(kLoopback, listener.port(), true), 0u);
    peer.join();
    EXPECT_EQ(rig.app.LinkCount(), 0u);
    EXPECT_EQ(openDescriptors(), before);
}

TEST(PortwireDescriptors, LostSocketReconnectAndCloseLeaveNothingOpen) {
    SystemRig rig;
    HangUpListener listener;
    const int before = openDescriptors();
    std::thread peer([&] { listener.hangUp(2); });
    const auto h = rig.app.OpenNet(kLoopback, listener.port(), false);
    ASSERT_NE(h, 0u);
    auto link = rig.app.FindLink(h);
    std::uint8_t byte = 0;
    EXPECT_FALSE(link->Read(&byte, 1));  // the peer hung up: the socket is given up
    EXPECT_TRUE(link->SocketLost());
    EXPECT_EQ(rig.app.OpenNet(kLoopback, listener.port(), false), h);  // connected again
    peer.join();
    rig.app.Close(h);
    rig.app.Close(h);
    EXPECT_EQ(rig.app.LinkCount(), 0u);
    EXPECT_EQ(openDescriptors(), before);
}

TEST(PortwireDescriptors, SerialOpensGiveBackTheirDevices) {
    SystemRig rig;
    Pty pty(6);
    ::setenv("PORTWIRE_COM7", "/dev/null", 1);  // a device that is no terminal
    ::setenv("PORTWIRE_COM8", "/nonexistent/tty", 1);
    const int before = openDescriptors();

    EXPECT_EQ(rig.app.OpenCom(7, 9600), 0u);
    EXPECT_EQ(rig.app.GetLastError(), portwire::kErrComOpen);
    EXPECT_EQ(rig.app.OpenCom(8, 9600), 0u);
    EXPECT_EQ(rig.app.OpenCom(6, 12345), 0u);  // a rate the port refuses
    EXPECT_EQ(rig.app.GetLastError(), portwire::kErrComOpen);

    const auto h = rig.app.OpenCom(6, 9600);
    ASSERT_NE(h, 0u);
    // Held: a second process-level open of the same device fails and leaves nothing behind.
    mv::SerialPort second;
    EXPECT_FALSE(second.open(std::getenv("PORTWIRE_COM6")));
    rig.app.Close(h);
    EXPECT_TRUE(second.open(std::getenv("PORTWIRE_COM6")));
    second.close();

    EXPECT_EQ(openDescriptors(), before);
    ::unsetenv("PORTWIRE_COM7");
    ::unsetenv("PORTWIRE_COM8");
}

} // namespace
