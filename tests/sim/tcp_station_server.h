// The station on a TCP listener at 127.0.0.1 (or another loopback address), served by its own thread. Any number of
// clients may connect, one after another or at once; each gets its own frame assembler.
#pragma once

#include "tests/sim/station.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace x740sim {

inline constexpr std::uint16_t kDefaultTcpPort = 32000;

class TcpStationServer {
public:
    explicit TcpStationServer(Station& station);
    ~TcpStationServer();
    TcpStationServer(const TcpStationServer&) = delete;
    TcpStationServer& operator=(const TcpStationServer&) = delete;

    // Listens on 127.0.0.1:port (0 picks a free port) and starts serving.
    bool start(std::uint16_t port = 0, std::string* error = nullptr);
    // The same on another loopback address (127.0.0.0/8, first octet in the high byte), so
    // that a fixed port such as 32000 can be served beside other stations.
    bool start(std::uint32_t loopbackAddress, std::uint16_t port, std::string* error);
    void stop();
    std::uint16_t port() const { return port_; }

    int connectionsAccepted() const { return accepted_.load(); }
    int connectionsOpen() const { return open_.load(); }
    // Resets every open connection (the peers see a connection reset); returns when done.
    void dropConnections();

private:
    void run();

    Station& station_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    std::uint16_t port_ = 0;
    std::thread thread_;
    std::atomic<int> accepted_{0};
    std::atomic<int> open_{0};
    std::mutex dropMutex_;
    std::condition_variable dropDone_;
    std::uint64_t dropsAsked_ = 0;
    std::uint64_t dropsDone_ = 0;
    std::atomic<bool> stopping_{false};
};

} // namespace x740sim
