#include "tests/sim/pty_station_server.h"

#include "tests/sim/boot_loader.h"
#include "tests/sim/frame_codec.h"
#include "tests/sim/reply_writer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <chrono>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace x740sim {

unsigned PtyStationServer::speedOf(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return 0;
    }
}

PtyStationServer::PtyStationServer(Station& station) : station_(station) {}

PtyStationServer::~PtyStationServer()
{
    stop();
}

bool PtyStationServer::start(int baud, std::string* error)
{
    auto fail = [&](const std::string& what) {
        if (error)
            *error = what + ": " + std::strerror(errno);
        for (int* fd : {&masterFd_, &slaveKeepFd_, &wakeFd_}) {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
        return false;
    };
    if (thread_.joinable())
        return true;
    if (speedOf(baud) == 0) {
        errno = EINVAL;
        return fail("baud " + std::to_string(baud));
    }
    baud_ = baud;
    masterFd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (masterFd_ < 0)
        return fail("posix_openpt");
    if (::grantpt(masterFd_) != 0 || ::unlockpt(masterFd_) != 0)
        return fail("unlockpt");
    char name[128];
    if (::ptsname_r(masterFd_, name, sizeof name) != 0)
        return fail("ptsname");
    slavePath_ = name;
    slaveKeepFd_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveKeepFd_ < 0)
        return fail("open " + slavePath_);
    termios t{};
    if (::tcgetattr(slaveKeepFd_, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, B38400);
        ::cfsetospeed(&t, B38400);
        // With EXTPROC and packet mode every change of the settings is reported on the master
        // side, so bytes written before a speed change are judged by the speed they went at.
        t.c_lflag |= EXTPROC;
        ::tcsetattr(slaveKeepFd_, TCSANOW, &t);
    }
    const int packet = 1;
    if (::ioctl(masterFd_, TIOCPKT, &packet) != 0)
        return fail("TIOCPKT");
    const int flags = ::fcntl(masterFd_, F_GETFL);
    ::fcntl(masterFd_, F_SETFL, flags | O_NONBLOCK);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0)
        return fail("eventfd");
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void PtyStationServer::stop()
{
    if (!thread_.joinable())
        return;
    stopping_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
    thread_.join();
    for (int* fd : {&masterFd_, &slaveKeepFd_, &wakeFd_}) {
        ::close(*fd);
        *fd = -1;
    }
}

void PtyStationServer::setBaud(int baud)
{
    if (speedOf(baud) != 0)
        baud_ = baud;
}

namespace {

std::int64_t steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

void PtyStationServer::setBootLoader(BootLoader* boot)
{
    boot_ = boot;
    if (boot_)
        boot_->setWake([this] { wake(); });
}

void PtyStationServer::wake()
{
    const std::uint64_t one = 1;
    if (wakeFd_ >= 0) {
        [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
}

unsigned PtyStationServer::terminalSpeed() const
{
    termios t{};
    return ::tcgetattr(masterFd_, &t) == 0 ? static_cast<unsigned>(::cfgetospeed(&t)) : 0;
}

bool PtyStationServer::terminalAt(int baud)
{
    return terminalSpeed() == speedOf(baud);
}

bool PtyStationServer::waitIdle(int timeoutMs)
{
    // Bytes written to the slave side reach the master a moment later, so idle counts only
    // once it has held for a few milliseconds.
    constexpr std::int64_t settleMs = 5;
    const std::int64_t end = steadyMs() + timeoutMs;
    std::int64_t idleSince = -1;
    for (;;) {
        int pending = 0;
        const bool drained = masterFd_ < 0 || (::ioctl(masterFd_, FIONREAD, &pending) == 0 && pending == 0);
        const std::int64_t now = steadyMs();
        if (drained && !reading_ && !(boot_ && boot_->busy())) {
            if (idleSince < 0)
                idleSince = now;
            if (now - idleSince >= settleMs)
                return true;
        } else {
            idleSince = -1;
        }
        if (now >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void PtyStationServer::driveBootLoader()
{
    const BootLoader::Tick tick = boot_->tick(steadyMs(), terminalAt(kBootBaud), [this](const std::string& bytes) {
        [[maybe_unused]] ssize_t n = ::write(masterFd_, bytes.data(), bytes.size());
    });
    if (tick.poweredOn)
        boot_->dropLinks();
    if (tick.firmwareStarted) {
        // Prompts the host did not read are gone, as a port opened anew starts empty.
        ::tcflush(slaveKeepFd_, TCIFLUSH);
        baud_ = kFirmwareBaud;
    }
}

void PtyStationServer::run()
{
    FrameAssembler assembler;
    std::vector<std::vector<std::uint8_t>> frames;
    std::uint8_t buffer[1024];
    // A pseudo-terminal has no transmit queue: what was written has left at the speed of that
    // moment, even when the writer changes the speed right after. The speed seen at the last
    // look, and the one before the latest change while what was written before it is unread.
    unsigned seen = 0;
    unsigned before = 0;
    bool changed = false;
    while (!stopping_) {
        reading_ = false; // what was read before is answered
        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {masterFd_, POLLIN | POLLPRI, 0}};
        const int timeout = boot_ ? boot_->msUntilNext(steadyMs()) : -1;
        if (::poll(fds, 2, timeout) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (stopping_)
            break;
        if (fds[0].revents & POLLIN) {
            std::uint64_t v;
            [[maybe_unused]] ssize_t n = ::read(wakeFd_, &v, sizeof v);
        }
        if (boot_)
            driveBootLoader();
        if (!(fds[1].revents & (POLLIN | POLLPRI | POLLHUP | POLLERR)))
            continue;
        reading_ = true;
        // Everything there is now: status packets (settings changed) and data packets.
        for (;;) {
            const unsigned speed = terminalSpeed();
            const ssize_t n = ::read(masterFd_, buffer, sizeof buffer);
            if (n <= 0) {
                changed = false;
                seen = speed;
                break;
            }
            if (buffer[0] != TIOCPKT_DATA) {
                if ((buffer[0] & TIOCPKT_IOCTL) && !changed) {
                    before = seen;
                    changed = true;
                }
                seen = speed;
                continue;
            }
            // Bytes right after a change went at the speed before it when nobody listens at
            // the present one (a reset sent just before the close that restored the speed).
            const bool bootListens = boot_ && boot_->inWindow();
            const int listening = bootListens ? kBootBaud : baud_.load();
            const bool heard =
                speed == speedOf(baud_) || (bootListens && speed == speedOf(kBootBaud));
            const unsigned sentAt = changed && !heard ? before : speed;
            changed = false;
            seen = speed;
            const std::uint8_t* data = buffer + 1;
            const std::size_t count = static_cast<std::size_t>(n - 1);
            if (bootListens) {
                // The boot loader holds the line: bytes go to it, not to the station.
                boot_->feed(data, count, steadyMs(), sentAt == speedOf(kBootBaud));
                continue;
            }
            if (sentAt != speedOf(listening)) {
                ignored_ += static_cast<long>(count);
                assembler.reset();
                station_.connectionReset();
                continue;
            }
            frames.clear();
            assembler.feed(data, count, frames);
            for (const auto& frame : frames) {
                const Response r = station_.process(frame);
                writeResponse(masterFd_, r, false);
                if (r.drop) {
                    assembler.reset();
                    station_.connectionReset();
                    break;
                }
            }
        }
    }
}

} // namespace x740sim
