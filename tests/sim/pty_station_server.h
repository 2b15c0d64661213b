// The station behind a pseudo-terminal. It answers only bytes written while the terminal's
// baud (set by whoever opened the slave side) equals the station's own baud; bytes at any other
// baud are dropped, as a real line would garble them. A speed change after a write does not
// touch bytes already written: a pseudo-terminal has no transmit queue.
#pragma once

#include "tests/sim/station.h"

#include <cstdint>

#include <atomic>
#include <string>
#include <thread>

namespace x740sim {

class BootLoader;

class PtyStationServer {
public:
    explicit PtyStationServer(Station& station);
    ~PtyStationServer();
    PtyStationServer(const PtyStationServer&) = delete;
    PtyStationServer& operator=(const PtyStationServer&) = delete;

    // Creates the terminal pair and starts serving at the given baud (2400 .. 230400).
    bool start(int baud, std::string* error = nullptr);
    void stop();

    // Path of the slave side (point PORTWIRE_COM<n> at it).
    std::string slavePath() const { return slavePath_; }
    void setBaud(int baud);
    int baud() const { return baud_.load(); }
    // Bytes that arrived while the terminal was set to another baud.
    long ignoredBytes() const { return ignored_.load(); }

    // Maps a baud number to its termios speed; 0 when it has none.
    static unsigned speedOf(int baud);

    // Puts the boot loader in front of the station (before start; null: none). While its
    // window is open the station does not answer; when the firmware starts, it answers at
    // 115200 baud.
    void setBootLoader(BootLoader* boot);
    // Waits (real time, at most timeoutMs) until every byte sent to the terminal has been
    // taken and answered and the boot loader has nothing pending; false on time-out.
    bool waitIdle(int timeoutMs);

private:
    void run();
    void wake();
    // The boot loader's turn: power-on, prompt, command end, window end.
    void driveBootLoader();
    bool terminalAt(int baud);
    // The terminal's output speed as its termios code; 0 when it cannot be read.
    unsigned terminalSpeed() const;

    Station& station_;
    int masterFd_ = -1;
    int slaveKeepFd_ = -1;   // keeps the slave side open so the master never sees a hang-up
    int wakeFd_ = -1;
    std::string slavePath_;
    std::atomic<int> baud_{9600};
    std::atomic<long> ignored_{0};
    std::atomic<bool> stopping_{false};
    std::atomic<bool> reading_{false};
    BootLoader* boot_ = nullptr;
    std::thread thread_;
};

} // namespace x740sim
