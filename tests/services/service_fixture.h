// Shared set-up of the service library tests: the simulated controller with its service
// records on loopback TCP or behind a pseudo-terminal, the frames it received, and helpers
// that build the expected request frames with the simulator's own frame code.
#pragma once

#include "portwire/include/Portwire.h"
#include "tests/sim/frame_codec.h"
#include "tests/sim/pty_station_server.h"
#include "tests/sim/service_controller.h"
#include "tests/sim/station.h"
#include "tests/sim/station_presets.h"
#include "tests/sim/tcp_station_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace svctest {

using Bytes = std::vector<std::uint8_t>;
using x740sim::RecordKind;
using x740sim::ServiceRecord;

inline constexpr std::uint32_t kLoopback = 0x7F000001;

// The request frame a service library must send: [0, 0, dir, n, data..., checksum].
inline Bytes request(std::uint8_t direction, const Bytes& data) {
    return x740sim::buildFrame(direction, data);
}

// Data bytes of a request: code, 0, then the given parameter bytes, padded with 0 to length.
inline Bytes data(std::uint8_t code, const Bytes& params, std::size_t length) {
    Bytes d{code, 0};
    d.insert(d.end(), params.begin(), params.end());
    d.resize(length, 0);
    return d;
}

inline Bytes le16(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
}
inline Bytes le32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}
inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}
inline Bytes text(const std::string& s, std::size_t width) {
    Bytes b(s.begin(), s.end());
    b.resize(width, 0);
    return b;
}

class ServiceStationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x740sim::applyPreset(station, "default"));
        station.setServiceHandler(&controller);
        std::string error;
        ASSERT_TRUE(server.start(0, &error)) << error;
        link = A_OpenNet_NoReadID(kLoopback, server.port());
        ASSERT_NE(link, 0u);
    }
    void TearDown() override {
        if (link != 0)
            A_Close(link);
    }

    Bytes lastFrame() const {
        auto log = station.frameLog();
        return log.empty() ? Bytes{} : log.back();
    }
    std::vector<Bytes> frames() const { return station.frameLog(); }

    x740sim::Station station;
    x740sim::ServiceController controller{station};
    x740sim::TcpStationServer server{station};
    LinkHandle link = 0;
};

// The controller behind a pseudo-terminal, reached as a COM port at 115200 baud with a short
// link time-out (silence then costs little).
class ServiceSerialTest : public ::testing::Test {
protected:
    static constexpr int kCom = 7;

    void SetUp() override {
        ASSERT_TRUE(x740sim::applyPreset(station, "default"));
        station.setServiceHandler(&controller);
        std::string error;
        ASSERT_TRUE(server.start(115200, &error)) << error;
        ::setenv(("PORTWIRE_COM" + std::to_string(kCom)).c_str(), server.slavePath().c_str(), 1);
        link = A_OpenCom(kCom, 115200);
        ASSERT_NE(link, 0u);
        int old = 0;
        ASSERT_EQ(A_SetComTimout(link, 100, &old), 1);
    }
    void TearDown() override {
        if (link != 0)
            A_Close(link);
        ::unsetenv(("PORTWIRE_COM" + std::to_string(kCom)).c_str());
    }

    std::vector<Bytes> frames() const { return station.frameLog(); }

    x740sim::Station station;
    x740sim::ServiceController controller{station};
    x740sim::PtyStationServer server{station};
    LinkHandle link = 0;
};

} // namespace svctest
