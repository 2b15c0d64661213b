// A RawPort for the panel's telegram layer that talks to an in-process simulated station:
// every written frame is answered by the station, and reads take exactly the bytes asked for
// from its replies (or from bytes a test queued). Checksums are the simulator's own.
#pragma once

#include "panel/core/raw_port.h"
#include "tests/sim/frame_codec.h"
#include "tests/sim/station.h"

#include <deque>
#include <vector>

namespace x740panel::test {

class StationPort final : public RawPort {
public:
    explicit StationPort(x740sim::Station* station = nullptr) : station_(station) {}

    bool Write(const std::uint8_t* buffer, int len) override {
        written.emplace_back(buffer, buffer + len);
        if (station_ != nullptr && !silent) {
            for (const auto& chunk : station_->process(written.back()).chunks) {
                pending.insert(pending.end(), chunk.bytes.begin(), chunk.bytes.end());
            }
        }
        return true;
    }
    bool Read(std::uint8_t* buffer, int len) override {
        ++reads;
        if (pending.size() < static_cast<std::size_t>(len)) {
            return false;
        }
        for (int i = 0; i < len; ++i) {
            buffer[i] = pending.front();
            pending.pop_front();
        }
        return true;
    }
    void CreateChecksum(std::uint8_t* buffer, int len) override {
        buffer[len - 1] = x740sim::blockChecksum(buffer, static_cast<std::size_t>(len - 1));
    }
    bool CheckChecksum(const std::uint8_t* buffer, int len) override {
        return buffer[len - 1] == x740sim::blockChecksum(buffer, static_cast<std::size_t>(len - 1));
    }

    // Queues a reply frame of the given direction and payload.
    void QueueReply(std::uint8_t direction, const std::vector<std::uint8_t>& payload) {
        const auto frame = x740sim::buildFrame(direction, payload);
        pending.insert(pending.end(), frame.begin(), frame.end());
    }

    std::vector<std::vector<std::uint8_t>> written;
    std::deque<std::uint8_t> pending;
    int reads = 0;
    bool silent = false; // the station does not answer

private:
    x740sim::Station* station_;
};

} // namespace x740panel::test
