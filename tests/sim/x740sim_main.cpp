// x740sim: the simulated controller station as a program.
//   x740sim [--address 127.a.b.c] [--port N] [--pty] [--baud B] [--station PRESET] [--ids HEX,...]
//           [--controller HEX]
// --ids replaces the preset's boards (hexadecimal IDs, the saved configuration follows them),
// --controller its controller ID. Serves TCP on 127.0.0.1:N, or the loopback address given
// (32000 by default; 0 picks a free port) and, with --pty, a
// pseudo-terminal answering at baud B (9600 by default). Runs until SIGINT or SIGTERM.
// --boot-loader PROMPT puts the serial boot loader in front of the terminal (prompts: dong, mode,
// at-dong, at-mode, silent, garbage): at start and after every reset it prompts at 9600 baud
// for --boot-window MS (3000 by default), then the firmware answers at 115200. --firmware
// 1.02, 1.05 or 2.1 sets the module information of that version.
#include "tests/sim/boot_loader.h"
#include "tests/sim/pty_station_server.h"
#include "tests/sim/service_controller.h"
#include "tests/sim/cam_configuration.h"
#include "tests/sim/station_presets.h"
#include "tests/sim/tcp_station_server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool parseNumber(const char* text, long low, long high, long& out)
{
    if (!text || !*text)
        return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high)
        return false;
    out = v;
    return true;
}

int usage(const char* why)
{
    if (why)
        std::fprintf(stderr, "x740sim: %s\n", why);
    std::fprintf(stderr, "usage: x740sim [--address 127.a.b.c] [--port N] [--pty] [--baud B] [--station PRESET] [--ids HEX,...] "
                         "[--controller HEX] [--boot-loader PROMPT] [--boot-window MS] "
                         "[--firmware VERSION]\npresets:");
    for (const auto& name : x740sim::presetNames())
        std::fprintf(stderr, " %s", name.c_str());
    std::fprintf(stderr, "\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    long port = x740sim::kDefaultTcpPort;
    std::uint32_t address = INADDR_LOOPBACK;
    long baud = 9600;
    bool pty = false;
    std::string preset = "default";
    bool haveIds = false;
    std::vector<std::uint16_t> ids;
    bool haveController = false;
    std::uint16_t controller = 0;
    bool bootLoader = false;
    x740sim::BootSettings boot;
    std::string firmware;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--address") {
            in_addr parsed{};
            if (!value || ::inet_pton(AF_INET, value, &parsed) != 1 || (ntohl(parsed.s_addr) >> 24) != 127)
                return usage("--address needs a loopback address 127.a.b.c");
            address = ntohl(parsed.s_addr);
            ++i;
        } else if (arg == "--port") {
            if (!parseNumber(value, 0, 65535, port))
                return usage("--port needs a number 0..65535");
            ++i;
        } else if (arg == "--baud") {
            if (!parseNumber(value, 1, 4000000, baud) || x740sim::PtyStationServer::speedOf(static_cast<int>(baud)) == 0)
                return usage("--baud needs one of 1200 2400 4800 9600 19200 38400 57600 115200 230400");
            ++i;
        } else if (arg == "--pty") {
            pty = true;
        } else if (arg == "--station") {
            if (!value)
                return usage("--station needs a preset name");
            preset = value;
            ++i;
        } else if (arg == "--ids") {
            if (!value || !x740sim::parseHexIds(value, ids))
                return usage("--ids needs hexadecimal module IDs separated by commas");
            haveIds = true;
            ++i;
        } else if (arg == "--controller") {
            if (!value || !x740sim::parseHexId(value, controller))
                return usage("--controller needs a hexadecimal ID");
            haveController = true;
            ++i;
        } else if (arg == "--boot-loader") {
            if (!value || !x740sim::parseBootPrompt(value, boot.prompt))
                return usage("--boot-loader needs dong, mode, at-dong, at-mode, silent or garbage");
            bootLoader = true;
            ++i;
        } else if (arg == "--boot-window") {
            long ms = 0;
            if (!parseNumber(value, 0, 600000, ms))
                return usage("--boot-window needs milliseconds 0..600000");
            boot.windowMs = static_cast<int>(ms);
            ++i;
        } else if (arg == "--firmware") {
            if (!value || (std::string(value) != "1.02" && std::string(value) != "1.05" &&
                           std::string(value) != "2.1"))
                return usage("--firmware needs 1.02, 1.05 or 2.1");
            firmware = value;
            ++i;
        } else if (arg == "--help" || arg == "-h") {
            usage(nullptr);
            return 0;
        } else {
            return usage(("unknown option " + arg).c_str());
        }
    }

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    // Block before any thread starts so only sigwait below sees them.
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    x740sim::Station station;
    if (!x740sim::applyPreset(station, preset))
        return usage(("unknown station preset " + preset).c_str());
    if (haveIds)
        x740sim::setBoards(station, ids);
    if (haveController)
        station.setControllerId(controller);
    if (!firmware.empty())
        x740sim::applyFirmware(station, firmware);
    // The X740's service requests (system, SSI, cam, gateway data) are answered too.
    x740sim::ServiceController services(station);
    x740sim::applyServicePreset(services, preset);
    station.setServiceHandler(&services);

    x740sim::TcpStationServer tcp(station);
    std::string error;
    char addressText[INET_ADDRSTRLEN] = "";
    const in_addr bound{htonl(address)};
    ::inet_ntop(AF_INET, &bound, addressText, sizeof addressText);
    if (!tcp.start(address, static_cast<std::uint16_t>(port), &error)) {
        std::fprintf(stderr, "x740sim: cannot listen on %s:%ld: %s\n", addressText, port, error.c_str());
        return 1;
    }
    std::printf("x740sim: station \"%s\" listening on tcp %s:%u\n", preset.c_str(), addressText, tcp.port());

    x740sim::PtyStationServer serial(station);
    x740sim::BootLoader loader;
    if (pty && bootLoader) {
        loader.setSettings(boot);
        loader.setOnReset([&tcp] { tcp.dropConnections(); });
        services.setResetListener([&loader] { loader.powerOn(); });
        serial.setBootLoader(&loader);
        loader.powerOn();
    }
    if (pty) {
        if (!serial.start(static_cast<int>(baud), &error)) {
            std::fprintf(stderr, "x740sim: cannot create a pseudo-terminal: %s\n", error.c_str());
            return 1;
        }
        std::printf("x740sim: serial %s at %ld baud\n", serial.slavePath().c_str(), baud);
    }
    std::fflush(stdout);

    int sig = 0;
    sigwait(&stopSignals, &sig);
    std::printf("x740sim: stopping (%s), %zu frames received\n", sig == SIGINT ? "SIGINT" : "SIGTERM",
                station.frameCount());
    serial.stop();
    tcp.stop();
    return 0;
}
