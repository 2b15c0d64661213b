// bench_portwire [--ms N] [--runs N]
// Measures read-inputs round trips per second over loopback TCP against the simulated
// station: once through Portwire (A_ReadInputs), once with a bare socket doing the same
// exchange (13-byte request, 4-byte header, then body and checksum). Prints both and their
// ratio; the best of several alternating runs counts.
#include "bench/bench_support.h"
#include "bench/portwire/bare_exchange.h"
#include "portwire/include/Portwire.h"
#include "tests/sim/station_presets.h"
#include "tests/sim/tcp_station_server.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double portwireRate(std::uint16_t port, int ms)
{
    const LinkHandle h = A_OpenNet_NoReadID(0x7F000001, port);
    if (h == 0)
        return -1;
    long count = 0;
    const auto start = Clock::now();
    const auto end = start + std::chrono::milliseconds(ms);
    auto now = start;
    while (now < end) {
        if (A_ReadInputs(h) != 1) {
            A_Close(h);
            return -1;
        }
        ++count;
        now = Clock::now();
    }
    A_Close(h);
    return count / std::chrono::duration<double>(now - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    int ms = 1000;
    int runs = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--ms" && i + 1 < argc)
            ms = bench::NumberArgument(argv[++i], ms);
        else if (arg == "--runs" && i + 1 < argc)
            runs = bench::NumberArgument(argv[++i], runs);
        else {
            std::fprintf(stderr, "usage: bench_portwire [--ms N] [--runs N]\n");
            return 2;
        }
    }

    x740sim::Station station;
    x740sim::applyPreset(station, "default");
    station.setFrameLogEnabled(false);
    x740sim::TcpStationServer server(station);
    std::string error;
    if (!server.start(0, &error)) {
        std::fprintf(stderr, "bench_portwire: %s\n", error.c_str());
        return 1;
    }

    double bestBare = 0, bestPortwire = 0;
    for (int r = 0; r < runs; ++r) {
        const double bare = benchbare::bareSocketRate(server.port(), ms);
        const double pw = portwireRate(server.port(), ms);
        if (bare < 0 || pw < 0) {
            std::fprintf(stderr, "bench_portwire: a round trip failed (Portwire error 0x%04X)\n", A_GetLastError());
            return 1;
        }
        std::printf("run %d: bare socket %.0f/s, Portwire %.0f/s\n", r + 1, bare, pw);
        bestBare = std::max(bestBare, bare);
        bestPortwire = std::max(bestPortwire, pw);
    }
    const double ratio = bestBare / bestPortwire;
    std::printf("read-inputs round trips per second: bare socket %.0f, Portwire %.0f\n", bestBare, bestPortwire);
    std::printf("ratio bare/Portwire: %.3f (goal: at most 1.25) %s\n", ratio, ratio <= 1.25 ? "OK" : "SLOW");
    return 0;
}
