#include "tests/ftp/fault_server.h"

#include <arpa/inet.h>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ftptest {

namespace {

// Every wait of the server ends after this long, so a test never hangs on it.
constexpr int kServerWaitMs = 10000;

} // namespace

FaultServer::FaultServer(std::string greeting, std::vector<FaultStep> steps)
    : greeting_(std::move(greeting)), steps_(std::move(steps)) {
    if (::pipe2(stop_, O_CLOEXEC) != 0)
        return;
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(listen_, 4) != 0 ||
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &length) != 0)
        return;
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { Run(); });
}

FaultServer::~FaultServer() {
    if (stop_[1] >= 0) {
        const char c = 0;
        [[maybe_unused]] const ssize_t n = ::write(stop_[1], &c, 1);
    }
    if (thread_.joinable())
        thread_.join();
    for (int fd : {listen_, stop_[0], stop_[1]}) {
        if (fd >= 0)
            ::close(fd);
    }
}

std::vector<std::string> FaultServer::Commands() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return commands_;
}

std::string FaultServer::Received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

bool FaultServer::Wait(int fd, short events) {
    pollfd p[2] = {{fd, events, 0}, {stop_[0], POLLIN, 0}};
    if (::poll(p, 2, kServerWaitMs) <= 0 || (p[1].revents & POLLIN))
        return false;
    return (p[0].revents & (events | POLLHUP | POLLERR)) != 0;
}

void FaultServer::Run() {
    // One control connection after the other (a client may reconnect).
    while (Wait(listen_, POLLIN)) {
        const int control = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
        if (control < 0)
            return;
        ++connections_;
        Serve(control);
        ::close(control);
    }
}

void FaultServer::SendText(int fd, const std::string& text) {
    if (!text.empty())
        [[maybe_unused]] const ssize_t n = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
}

bool FaultServer::ReadCommand(int fd, std::string& line) {
    for (;;) {
        const std::size_t lf = pending_.find('\n');
        if (lf != std::string::npos) {
            line = pending_.substr(0, lf);
            pending_.erase(0, lf + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            std::lock_guard<std::mutex> lock(mutex_);
            commands_.push_back(line);
            return true;
        }
        if (!Wait(fd, POLLIN))
            return false;
        char buffer[512];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

int FaultServer::ConnectBack(const std::string& source) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (!source.empty()) {
        sockaddr_in from{};
        from.sin_family = AF_INET;
        inet_pton(AF_INET, source.c_str(), &from.sin_addr);
        ::bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from);
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(portPort_));
    inet_pton(AF_INET, portHost_.c_str(), &to.sin_addr);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void FaultServer::Serve(int control) {
    pending_.clear();
    if (greeting_.empty()) {
        char c;
        while (Wait(control, POLLIN) && ::recv(control, &c, 1, 0) > 0) {
        }
        return;
    }
    SendText(control, greeting_);
    bool silent = false;
    std::string line;
    while (ReadCommand(control, line)) {
        if (line.rfind("PORT ", 0) == 0) {
            int h[4] = {0, 0, 0, 0};
            int p[2] = {0, 0};
            if (std::sscanf(line.c_str() + 5, "%d,%d,%d,%d,%d,%d", &h[0], &h[1], &h[2], &h[3],
                            &p[0], &p[1]) == 6) {
                portHost_ = std::to_string(h[0]) + "." + std::to_string(h[1]) + "." +
                            std::to_string(h[2]) + "." + std::to_string(h[3]);
                portPort_ = p[0] * 256 + p[1];
            }
        }
        if (silent)
            continue;
        if (next_ >= steps_.size()) {
            SendText(control, line.rfind("QUIT", 0) == 0 || line.rfind("quit", 0) == 0
                                  ? "221 Bye\r\n"
                                  : "500 unscripted\r\n");
            continue;
        }
        const FaultStep& step = steps_[next_++];
        SendText(control, step.reply);
        if (step.data != FaultStep::Data::None) {
            const int data = ConnectBack(step.source);
            if (data >= 0) {
                if (step.data == FaultStep::Data::Send || step.data == FaultStep::Data::Drop)
                    SendText(data, step.bytes);
                if (step.data == FaultStep::Data::Drop) {
                    ::close(data);
                    return; // the control connection closes with the caller
                }
                if (step.data == FaultStep::Data::Receive || step.data == FaultStep::Data::Silent) {
                    char buffer[4096];
                    ssize_t n = 0;
                    while (Wait(data, POLLIN) && (n = ::recv(data, buffer, sizeof buffer, 0)) > 0) {
                        if (step.data == FaultStep::Data::Receive) {
                            std::lock_guard<std::mutex> lock(mutex_);
                            received_.append(buffer, static_cast<std::size_t>(n));
                        }
                    }
                }
                ::close(data);
            }
        }
        SendText(control, step.finalReply);
        silent = step.silentAfter;
    }
}

} // namespace ftptest
