// Scripted carriers for the Portwire tests: a byte wire whose peer answers written blocks, a
// serial port and a stream socket over it, and a recording status sink and monitor.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "portwire/core/monitor.h"
#include "portwire/core/status_sink.h"
#include "portwire/core/transport.h"

namespace pwtest {

using Bytes = std::vector<std::uint8_t>;
using portwire::IoResult;

// Checksum written here on its own (not the product's), so one mistake cannot hide in both.
inline std::uint8_t sum(const Bytes& b, std::size_t count) {
    unsigned c = 0xAA;
    for (std::size_t i = 0; i < count; ++i)
        c = ((c ^ b[i]) * 2u) % 256u;
    return static_cast<std::uint8_t>(c);
}

// A reply frame 00 00 dir n data... checksum.
inline Bytes reply(const Bytes& data, std::uint8_t dir = 0x40) {
    Bytes f{0, 0, dir, static_cast<std::uint8_t>(data.size())};
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(sum(f, f.size()));
    return f;
}

// The far end of a link: what was written, what waits to be read.
struct Wire {
    std::vector<Bytes> writes;
    std::deque<std::uint8_t> incoming;
    int purges = 0;
    int answerBaud = 0;  // 0: answers at any baud
    int baud = 0;        // the baud the port was set to
    // Answers by function code (data[0] of a request); without an entry nothing is answered.
    std::map<int, Bytes> answers;
    std::function<void(Wire&, const Bytes&)> peer;  // overrides the answer table
    std::deque<IoResult> writeResults;  // results of the next write calls (then Ok)
    std::deque<IoResult> readResults;   // results of the next read calls (then by data)
    bool failReadState = false, failApplyState = false, failGetTimeouts = false, failSetTimeouts = false;
    mv::SerialTimeouts timeouts;
    std::vector<mv::SerialTimeouts> timeoutHistory;
    std::vector<std::size_t> readLens;
    mv::Clock* clock = nullptr;        // when set, read times are stamped
    std::vector<std::int64_t> readTimes;

    void push(const Bytes& b) { incoming.insert(incoming.end(), b.begin(), b.end()); }
    Bytes allWritten() const {
        Bytes all;
        for (const Bytes& w : writes)
            all.insert(all.end(), w.begin(), w.end());
        return all;
    }

    IoResult write(const std::uint8_t* data, std::size_t len) {
        if (!writeResults.empty()) {
            IoResult r = writeResults.front();
            writeResults.pop_front();
            if (r != IoResult::Ok)
                return r;
        }
        Bytes block(data, data + len);
        writes.push_back(block);
        if (answerBaud != 0 && baud != answerBaud)
            return IoResult::Ok;
        if (peer) {
            peer(*this, block);
        } else if (block.size() > 4) {
            auto it = answers.find(block[4]);
            if (it != answers.end())
                push(it->second);
        }
        return IoResult::Ok;
    }

    IoResult read(std::uint8_t* data, std::size_t len) {
        readLens.push_back(len);
        if (clock)
            readTimes.push_back(clock->now());
        if (!readResults.empty()) {
            IoResult r = readResults.front();
            readResults.pop_front();
            if (r != IoResult::Ok)
                return r;
        }
        std::size_t n = 0;
        while (n < len && !incoming.empty()) {
            data[n++] = incoming.front();
            incoming.pop_front();
        }
        return n == len ? IoResult::Ok : IoResult::Short;
    }
};

class FakeSerial final : public portwire::ISerialPort {
public:
    explicit FakeSerial(Wire& wire) : wire_(wire) {}
    bool readState() override { return !wire_.failReadState; }
    bool applyState(int baud) override {
        if (wire_.failApplyState)
            return false;
        wire_.baud = baud;
        return true;
    }
    bool setTimeouts(const mv::SerialTimeouts& t) override {
        if (wire_.failSetTimeouts)
            return false;
        wire_.timeouts = t;
        wire_.timeoutHistory.push_back(t);
        return true;
    }
    bool getTimeouts(mv::SerialTimeouts* t) override {
        if (wire_.failGetTimeouts)
            return false;
        *t = wire_.timeouts;
        return true;
    }
    IoResult write(const std::uint8_t* d, std::size_t n) override { return wire_.write(d, n); }
    IoResult read(std::uint8_t* d, std::size_t n) override { return wire_.read(d, n); }
    bool purge() override {
        ++wire_.purges;
        wire_.incoming.clear();
        return true;
    }

private:
    Wire& wire_;
};

class FakeSocket final : public portwire::IStreamSocket {
public:
    explicit FakeSocket(Wire& wire) : wire_(wire) {}
    IoResult send(const std::uint8_t* d, std::size_t n, int) override { return wire_.write(d, n); }
    IoResult receive(std::uint8_t* d, std::size_t n, int timeoutMs) override {
        lastTimeout = timeoutMs;
        return wire_.read(d, n);
    }
    void discardPending() override {
        ++wire_.purges;
        wire_.incoming.clear();
    }
    static inline int lastTimeout = -1;

private:
    Wire& wire_;
};

// COM ports and TCP endpoints that exist, each with its wire.
class FakeTransports final : public portwire::ITransportFactory {
public:
    std::map<int, Wire> com;                       // by COM number
    std::map<std::pair<std::uint32_t, int>, Wire> net;  // by address and port
    int serialOpens = 0;
    int connects = 0;
    int refuseConnects = 0;  // the next connect attempts that fail

    std::unique_ptr<portwire::ISerialPort> openSerial(int n) override {
        ++serialOpens;
        auto it = com.find(n);
        if (it == com.end())
            return nullptr;
        return std::make_unique<FakeSerial>(it->second);
    }
    std::unique_ptr<portwire::IStreamSocket> connectTcp(std::uint32_t ip, int port, int) override {
        ++connects;
        if (refuseConnects > 0) {
            --refuseConnects;
            return nullptr;
        }
        auto it = net.find({ip, port});
        if (it == net.end())
            return nullptr;
        return std::make_unique<FakeSocket>(it->second);
    }
};

struct StatusRecorder final : portwire::IStatusSink {
    std::vector<std::string> lines;
    void AddLine(const char* line) override { lines.emplace_back(line); }
};

struct MonitorRecorder final : portwire::IMonitorSink {
    std::vector<portwire::MonitorPipeMessage> messages;
    void Post(const portwire::MonitorPipeMessage& m) override { messages.push_back(m); }
};

// A clock that records every pause it was asked for.
class RecordingClock final : public mv::Clock {
public:
    mv::MonoMs now() const override { return now_; }
    void sleep(int ms) override {
        pauses.push_back(ms);
        now_ += ms;
    }
    std::vector<int> pauses;

private:
    mv::MonoMs now_ = 5000;
};

} // namespace pwtest

#include "portwire/core/portwire_app.h"

namespace pwtest {

// A library object over fakes, installed behind the exported functions while it lives.
struct Rig {
    RecordingClock clock;
    FakeTransports transports;
    MonitorRecorder monitor;
    portwire::CPortwireApp app{portwire::CPortwireApp::Services{&clock, &transports, &monitor}};

    Rig() { portwire::InstallApp(&app); }
    ~Rig() { portwire::InstallApp(nullptr); }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    // A serial link opened at a fixed baud (no traffic) on COM n.
    std::uint32_t serial(int n = 1) {
        transports.com[n];
        return app.OpenNoReadID(n);
    }
    Wire& com(int n = 1) { return transports.com[n]; }

    static constexpr std::uint32_t kIp = 0x7F000001;
    static constexpr int kPort = 32000;
    std::uint32_t tcp(bool readId = false) {
        transports.net[{kIp, kPort}];
        return app.OpenNet(kIp, kPort, readId);
    }
    Wire& net() { return transports.net[{kIp, kPort}]; }
};

} // namespace pwtest
