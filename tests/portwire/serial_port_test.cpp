// The serial layer on a pseudo-terminal: exclusive use, raw settings, transfers, time-outs.
#include "platform/serial_port.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The settings calls of the port, seen at the C library (the test links with --wrap): a
// pseudo-terminal has no transmit queue, so only the calls show whether pending output was let
// out before a speed change.
namespace {
std::vector<std::string> g_TermiosCalls;
} // namespace

extern "C" int __real_tcsetattr(int fd, int action, const termios* t);
extern "C" int __real_tcdrain(int fd);
extern "C" int __wrap_tcsetattr(int fd, int action, const termios* t) {
    g_TermiosCalls.push_back(action == TCSADRAIN ? "set after drain" : "set now");
    return __real_tcsetattr(fd, action, t);
}
extern "C" int __wrap_tcdrain(int fd) {
    g_TermiosCalls.push_back("drain");
    return __real_tcdrain(fd);
}

namespace {

// The controller's side of a pseudo-terminal; the product opens the other side by name.
class Pty {
public:
    Pty() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            name_ = ::ptsname(master_);
        // Keep one slave descriptor so the master never sees a hang-up between opens.
        if (!name_.empty())
            hold_ = ::open(name_.c_str(), O_RDWR | O_NOCTTY);
    }
    ~Pty() {
        if (hold_ >= 0)
            ::close(hold_);
        if (master_ >= 0)
            ::close(master_);
    }
    const std::string& name() const { return name_; }
    int master() const { return master_; }
    void send(const std::string& s) { ASSERT_EQ(::write(master_, s.data(), s.size()), (ssize_t)s.size()); }
    speed_t speed() const {
        termios t{};
        ::tcgetattr(hold_, &t);
        return ::cfgetospeed(&t);
    }

private:
    int master_ = -1;
    int hold_ = -1;
    std::string name_;
};

mv::SerialTimeouts quick(int ms) {
    mv::SerialTimeouts t;
    t.readInterval = ms;
    t.readTotalConstant = ms;
    t.readTotalMultiplier = 0;
    t.writeTotalConstant = ms;
    t.writeTotalMultiplier = 0;
    return t;
}

TEST(PortwireSerialPort, SecondOpenFailsWhileHeldAndWorksAfterClose) {
    Pty pty;
    ASSERT_FALSE(pty.name().empty());
    mv::SerialPort first;
    ASSERT_TRUE(first.open(pty.name()));
    mv::SerialPort second;
    EXPECT_FALSE(second.open(pty.name()));
    first.close();
    EXPECT_TRUE(second.open(pty.name()));
}

TEST(PortwireSerialPort, MissingDeviceOrNoTerminalFails) {
    mv::SerialPort port;
    EXPECT_FALSE(port.open("/nonexistent/ttyS99"));
    EXPECT_FALSE(port.open(""));
    EXPECT_FALSE(port.open("/dev/null"));
    EXPECT_FALSE(port.isOpen());
}

TEST(PortwireSerialPort, AppliesRaw8N1AtTheBaudAndRestoresOnClose) {
    Pty pty;
    const speed_t before = pty.speed();
    {
        mv::SerialPort port;
        ASSERT_TRUE(port.open(pty.name()));
        ASSERT_TRUE(port.readState());
        ASSERT_TRUE(port.applyState(9600));
        EXPECT_EQ(pty.speed(), B9600);
        ASSERT_TRUE(port.applyState(115200));
        EXPECT_EQ(pty.speed(), B115200);
        EXPECT_FALSE(port.applyState(12345));
    }
    EXPECT_EQ(pty.speed(), before);
}

TEST(PortwireSerialPort, WrittenBytesLeaveBeforeASpeedChangeAndTheClose) {
    Pty pty;
    mv::SerialPort port;
    ASSERT_TRUE(port.open(pty.name()));
    ASSERT_TRUE(port.applyState(115200));
    // A reset frame, then back to 9600, then one more frame and the close.
    const std::uint8_t frame[7] = {0x00, 0x20, 0x03, 0x31, 0x00, 0x00, 0x54};
    std::size_t done = 0;
    g_TermiosCalls.clear();
    ASSERT_EQ(port.write(frame, 7, &done), mv::SerialPort::Status::Ok);
    ASSERT_TRUE(port.applyState(9600));
    ASSERT_EQ(port.write(frame, 7, &done), mv::SerialPort::Status::Ok);
    port.close();
    // The speed change and the restore at the close, each after the output has left.
    int sets = 0;
    for (std::size_t i = 0; i < g_TermiosCalls.size(); ++i) {
        if (g_TermiosCalls[i] != "drain") {
            ++sets;
            const bool drained = i > 0 && g_TermiosCalls[i - 1] == "drain";
            EXPECT_TRUE(g_TermiosCalls[i] == "set after drain" || drained) << i;
        }
    }
    EXPECT_EQ(sets, 2);
    // Both frames reached the peer whole. They reach the master side a moment after the
    // writes, the second maybe later than the first, so it reads until all are there.
    std::uint8_t in[14] = {};
    std::size_t got = 0;
    while (got < sizeof in) {
        pollfd p{pty.master(), POLLIN, 0};
        if (::poll(&p, 1, 10000) != 1)
            break;
        const ssize_t n = ::read(pty.master(), in + got, sizeof in - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    EXPECT_EQ(got, sizeof in);
    EXPECT_EQ(std::memcmp(in, frame, 7), 0);
    EXPECT_EQ(std::memcmp(in + 7, frame, 7), 0);
}

TEST(PortwireSerialPort, ReadsExactlyAndGathersSplitInput) {
    Pty pty;
    mv::SerialPort port;
    ASSERT_TRUE(port.open(pty.name()));
    ASSERT_TRUE(port.applyState(38400));
    ASSERT_TRUE(port.setTimeouts(quick(2000)));
    pty.send("ab");
    pty.send("cdef");
    std::uint8_t buf[5] = {};
    std::size_t got = 0;
    ASSERT_EQ(port.read(buf, 4, &got), mv::SerialPort::Status::Ok);
    EXPECT_EQ(std::string(buf, buf + 4), "abcd");
    ASSERT_EQ(port.read(buf, 2, &got), mv::SerialPort::Status::Ok);
    EXPECT_EQ(std::string(buf, buf + 2), "ef");
}

TEST(PortwireSerialPort, ShortReadEndsAtTheDeadline) {
    Pty pty;
    mv::SerialPort port;
    ASSERT_TRUE(port.open(pty.name()));
    ASSERT_TRUE(port.applyState(9600));
    ASSERT_TRUE(port.setTimeouts(quick(20)));
    pty.send("x");
    std::uint8_t buf[4];
    std::size_t got = 0;
    EXPECT_EQ(port.read(buf, 4, &got), mv::SerialPort::Status::TimedOut);
    EXPECT_EQ(got, 1u);
}

TEST(PortwireSerialPort, WritesReachThePeerAndPurgeDiscardsInput) {
    Pty pty;
    mv::SerialPort port;
    ASSERT_TRUE(port.open(pty.name()));
    ASSERT_TRUE(port.applyState(9600));
    const std::uint8_t out[3] = {0x00, 0x40, 0x14};
    std::size_t done = 0;
    ASSERT_EQ(port.write(out, 3, &done), mv::SerialPort::Status::Ok);
    std::uint8_t in[3] = {};
    ASSERT_EQ(::read(pty.master(), in, 3), 3);
    EXPECT_EQ(in[2], 0x14);

    pty.send("junk");
    ASSERT_TRUE(port.setTimeouts(quick(2000)));
    // Let the line discipline take the bytes in before they are discarded.
    std::uint8_t first = 0;
    ASSERT_EQ(port.read(&first, 1, &done), mv::SerialPort::Status::Ok);
    EXPECT_TRUE(port.purgeInput());
    ASSERT_TRUE(port.setTimeouts(quick(10)));
    EXPECT_EQ(port.read(in, 1, &done), mv::SerialPort::Status::TimedOut);
}

TEST(PortwireSerialPort, RefusesNegativeTimeoutsAndClosedUse) {
    mv::SerialPort port;
    EXPECT_FALSE(port.setTimeouts(quick(10)));
    std::uint8_t b = 0;
    std::size_t n = 0;
    EXPECT_EQ(port.read(&b, 1, &n), mv::SerialPort::Status::Failed);
    Pty pty;
    ASSERT_TRUE(port.open(pty.name()));
    EXPECT_FALSE(port.setTimeouts(quick(-1)));
}

} // namespace

#include "portwire/core/portwire_app.h"

namespace {

TEST(PortwireSerialLink, ComPortIsHeldUntilTheLastClose) {
    Pty pty;
    ::setenv("PORTWIRE_COM5", pty.name().c_str(), 1);
    portwire::CPortwireApp app;
    const auto h = app.OpenCom(5, 9600);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(app.GetLastError(), 0);
    EXPECT_EQ(pty.speed(), B9600);
    mv::SerialPort other;
    EXPECT_FALSE(other.open(pty.name()));
    EXPECT_EQ(app.OpenCom(5, 9600), h);
    app.Close(h);
    EXPECT_FALSE(other.open(pty.name()));
    app.Close(h);
    EXPECT_TRUE(other.open(pty.name()));
    ::unsetenv("PORTWIRE_COM5");
}

} // namespace
