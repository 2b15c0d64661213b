#include "tests/sim/tcp_station_server.h"

#include "tests/sim/frame_codec.h"
#include "tests/sim/reply_writer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace x740sim {

namespace {

struct Client {
    int fd = -1;
    FrameAssembler assembler;
};

// Closes with a reset instead of an orderly shutdown.
void resetAndClose(int fd)
{
    linger lg{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &lg, sizeof lg);
    ::close(fd);
}

} // namespace

TcpStationServer::TcpStationServer(Station& station) : station_(station) {}

TcpStationServer::~TcpStationServer()
{
    stop();
}

bool TcpStationServer::start(std::uint16_t port, std::string* error)
{
    return start(INADDR_LOOPBACK, port, error);
}

bool TcpStationServer::start(std::uint32_t loopbackAddress, std::uint16_t port, std::string* error)
{
    if ((loopbackAddress >> 24) != 127) {
        if (error)
            *error = "not a loopback address";
        return false;
    }
    auto fail = [&](const char* what) {
        if (error)
            *error = std::string(what) + ": " + std::strerror(errno);
        if (listenFd_ >= 0)
            ::close(listenFd_);
        if (wakeFd_ >= 0)
            ::close(wakeFd_);
        listenFd_ = wakeFd_ = -1;
        return false;
    };
    if (thread_.joinable())
        return true;
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0)
        return fail("socket");
    int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(loopbackAddress);
    addr.sin_port = htons(port);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        return fail("bind");
    if (::listen(listenFd_, 16) != 0)
        return fail("listen");
    socklen_t len = sizeof addr;
    if (::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        return fail("getsockname");
    port_ = ntohs(addr.sin_port);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0)
        return fail("eventfd");
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void TcpStationServer::stop()
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(dropMutex_);
        stopping_ = true;
    }
    dropDone_.notify_all();
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
    thread_.join();
    ::close(listenFd_);
    ::close(wakeFd_);
    listenFd_ = wakeFd_ = -1;
}

void TcpStationServer::dropConnections()
{
    if (!thread_.joinable())
        return;
    std::unique_lock lock(dropMutex_);
    const std::uint64_t ticket = ++dropsAsked_;
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
    dropDone_.wait(lock, [&] { return dropsDone_ >= ticket || stopping_; });
}

void TcpStationServer::run()
{
    std::vector<std::unique_ptr<Client>> clients;
    std::vector<pollfd> fds;
    std::vector<std::vector<std::uint8_t>> frames;
    std::uint8_t buffer[4096];

    auto closeClient = [&](std::size_t i, bool reset) {
        if (reset)
            resetAndClose(clients[i]->fd);
        else
            ::close(clients[i]->fd);
        clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(i));
        --open_;
        station_.connectionReset();
    };

    while (!stopping_) {
        fds.clear();
        fds.push_back({wakeFd_, POLLIN, 0});
        fds.push_back({listenFd_, POLLIN, 0});
        for (const auto& c : clients)
            fds.push_back({c->fd, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t v;
            [[maybe_unused]] ssize_t n = ::read(wakeFd_, &v, sizeof v);
            std::uint64_t asked;
            {
                std::lock_guard lock(dropMutex_);
                asked = dropsAsked_;
            }
            if (asked != dropsDone_) {
                while (!clients.empty())
                    closeClient(clients.size() - 1, true);
                std::lock_guard lock(dropMutex_);
                dropsDone_ = asked;
                dropDone_.notify_all();
                continue;
            }
        }
        if (stopping_)
            break;
        // Clients first (their indices match fds from 2 on), newest last.
        for (std::size_t i = clients.size(); i-- > 0;) {
            const short ev = fds[i + 2].revents;
            if (!ev)
                continue;
            const ssize_t n = ::recv(clients[i]->fd, buffer, sizeof buffer, 0);
            if (n <= 0) {
                if (n < 0 && (errno == EINTR || errno == EAGAIN))
                    continue;
                closeClient(i, false);
                continue;
            }
            frames.clear();
            clients[i]->assembler.feed(buffer, static_cast<std::size_t>(n), frames);
            for (const auto& frame : frames) {
                const Response r = station_.process(frame);
                if (!writeResponse(clients[i]->fd, r, true) || r.drop) {
                    closeClient(i, r.drop);
                    break;
                }
            }
        }
        if (fds[1].revents & POLLIN) {
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                int one = 1;
                ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                auto c = std::make_unique<Client>();
                c->fd = fd;
                clients.push_back(std::move(c));
                ++accepted_;
                ++open_;
            }
        }
    }
    while (!clients.empty())
        closeClient(clients.size() - 1, false);
}

} // namespace x740sim
