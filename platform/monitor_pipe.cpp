#include "platform/monitor_pipe.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/clock.h"

namespace mv {

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::string monitorPipePath() {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    std::string path = (dir && *dir) ? dir : "/tmp";
    if (path.back() != '/')
        path += '/';
    return path + kMonitorPipeName;
}

bool callMonitorPipe(const void* message, std::size_t len, int timeoutMs) {
    const std::string path = monitorPipePath();
    sockaddr_un addr{};
    if (path.size() >= sizeof addr.sun_path)
        return false;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);

    Fd sock(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (sock.get() < 0)
        return false;
    // A missing socket file, a refused connection or a full backlog all mean: nobody takes
    // the message now, so we do not wait.
    if (::connect(sock.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0)
        return false;

    const MonoMs deadline = deadlineAfter(timeoutMs);
    for (;;) {
        const ssize_t n = ::send(sock.get(), message, len, MSG_NOSIGNAL);
        if (n == static_cast<ssize_t>(len))
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
            waitReady(sock.get(), POLLOUT, deadline) == 1)
            continue;
        return false;
    }
    char answer[4];
    if (waitReady(sock.get(), POLLIN, deadline) == 1)
        (void)::recv(sock.get(), answer, sizeof answer, 0);
    return true;
}

} // namespace mv
