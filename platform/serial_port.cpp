#include "platform/serial_port.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/clock.h"

namespace mv {

namespace {

bool baudConstant(int baud, speed_t* out) {
    struct Entry {
        int baud;
        speed_t code;
    };
    static const Entry table[] = {
        {50, B50},         {75, B75},         {110, B110},       {134, B134},
        {150, B150},       {200, B200},       {300, B300},       {600, B600},
        {1200, B1200},     {1800, B1800},     {2400, B2400},     {4800, B4800},
        {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
        {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
    };
    for (const Entry& e : table) {
        if (e.baud == baud) {
            *out = e.code;
            return true;
        }
    }
    return false;
}

std::int64_t totalDeadline(std::int64_t start, int multiplier, int constant, std::size_t len) {
    return start + static_cast<std::int64_t>(multiplier) * static_cast<std::int64_t>(len) + constant;
}

} // namespace

SerialPort::~SerialPort() { close(); }

bool SerialPort::open(const std::string& device) {
    close();
    if (device.empty())
        return false;
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Exclusive use: the advisory lock holds between all our users (root included), TIOCEXCL
    // keeps other programs from opening the terminal at all.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !::isatty(fd)) {
        ::close(fd);
        return false;
    }
    if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY && errno != EINVAL) {
        ::flock(fd, LOCK_UN);
        ::close(fd);
        return false;
    }
    fd_ = fd;
    locked_ = true;
    device_ = device;
    haveOriginal_ = ::tcgetattr(fd_, &original_) == 0;
    timeouts_ = SerialTimeouts{};
    return true;
}

void SerialPort::close() {
    if (fd_ < 0)
        return;
    // What is still leaving goes out at the speed it was written with: a reset sent just before
    // the close reaches the controller.
    drainOutput();
    if (haveOriginal_)
        ::tcsetattr(fd_, TCSADRAIN, &original_);
    ::ioctl(fd_, TIOCNXCL);
    if (locked_)
        ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
    locked_ = false;
    haveOriginal_ = false;
}

bool SerialPort::readState() {
    termios t{};
    return fd_ >= 0 && ::tcgetattr(fd_, &t) == 0;
}

bool SerialPort::applyState(int baud) {
    speed_t speed{};
    if (fd_ < 0 || !baudConstant(baud, &speed))
        return false;
    termios t{};
    if (::tcgetattr(fd_, &t) != 0)
        return false;
    ::cfmakeraw(&t);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0)
        return false;
    // A new speed applies only once what was written at the old one has left.
    drainOutput();
    if (::tcsetattr(fd_, TCSADRAIN, &t) != 0)
        return false;

    termios back{};
    if (::tcgetattr(fd_, &back) != 0)
        return false;
    const tcflag_t cmask = CSIZE | PARENB | CSTOPB | CRTSCTS;
    if (::cfgetispeed(&back) != speed || ::cfgetospeed(&back) != speed ||
        (back.c_cflag & cmask) != (t.c_cflag & cmask) || (back.c_iflag & (IXON | IXOFF)) != 0)
        return false;

    // DTR and RTS off; a pseudo-terminal has no modem lines, which is fine.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd_, TIOCMBIC, &lines) != 0 && errno != ENOTTY && errno != EINVAL)
        return false;
    return true;
}

bool SerialPort::setTimeouts(const SerialTimeouts& timeouts) {
    if (fd_ < 0)
        return false;
    if (timeouts.readInterval < 0 || timeouts.readTotalMultiplier < 0 ||
        timeouts.readTotalConstant < 0 || timeouts.writeTotalMultiplier < 0 ||
        timeouts.writeTotalConstant < 0)
        return false;
    timeouts_ = timeouts;
    return true;
}

SerialPort::Status SerialPort::write(const std::uint8_t* data, std::size_t len, std::size_t* done) {
    std::size_t sent = 0;
    if (done)
        *done = 0;
    if (fd_ < 0)
        return Status::Failed;
    const std::int64_t deadline =
        totalDeadline(monotonicNow(), timeouts_.writeTotalMultiplier, timeouts_.writeTotalConstant, len);
    while (sent < len) {
        const ssize_t n = ::write(fd_, data + sent, len - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            if (done)
                *done = sent;
            return Status::Failed;
        }
        const int ready = waitReady(fd_, POLLOUT, deadline);
        if (ready <= 0) {
            if (done)
                *done = sent;
            return ready == 0 ? Status::TimedOut : Status::Failed;
        }
    }
    if (done)
        *done = sent;
    return Status::Ok;
}

SerialPort::Status SerialPort::read(std::uint8_t* data, std::size_t len, std::size_t* done) {
    std::size_t got = 0;
    if (done)
        *done = 0;
    if (fd_ < 0)
        return Status::Failed;
    const std::int64_t start = monotonicNow();
    const std::int64_t total =
        totalDeadline(start, timeouts_.readTotalMultiplier, timeouts_.readTotalConstant, len);
    Status status = Status::Ok;
    while (got < len) {
        const ssize_t n = ::read(fd_, data + got, len - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // A raw terminal answers "nothing yet" with 0 or EAGAIN; a hung-up one with EIO (and
        // poll then reports the hang-up).
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            status = Status::Failed;
            break;
        }
        std::int64_t deadline = total;
        if (got > 0 && timeouts_.readInterval > 0)
            deadline = std::min(deadline, monotonicNow() + timeouts_.readInterval);
        const int ready = waitReady(fd_, POLLIN, deadline);
        if (ready < 0) {
            status = Status::Failed;
            break;
        }
        if (ready == 0) {
            status = Status::TimedOut;
            break;
        }
    }
    if (done)
        *done = got;
    return status;
}

void SerialPort::drainOutput() {
    while (::tcdrain(fd_) != 0 && errno == EINTR) {
    }
}

bool SerialPort::purgeInput() { return fd_ >= 0 && ::tcflush(fd_, TCIFLUSH) == 0; }

} // namespace mv
