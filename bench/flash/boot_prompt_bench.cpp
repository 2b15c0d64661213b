// flash_boot_bench [power-ons]: how long the loader takes to answer the boot loader's prompt.
// The simulated controller powers on behind a pseudo-terminal; the loader opens the port at
// 9600 baud, waits for the prompt and answers "MODE 1". Measured in the simulator: from the
// prompt leaving it to the answer's first byte arriving. Goal: median below 5 ms, worst below
// 50 ms.
#include "flash/loader/console_out.h"
#include "flash/loader/flash_app.h"
#include "tests/sim/boot_loader.h"
#include "tests/sim/pty_station_server.h"
#include "tests/sim/service_controller.h"
#include "tests/sim/station.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    int powerOns = 100;
    if (argc > 1) {
        char* end = nullptr;
        const long n = std::strtol(argv[1], &end, 10);
        if (*end != '\0' || n < 1 || n > 100000) {
            std::fprintf(stderr, "usage: flash_boot_bench [power-ons 1..100000]\n");
            return 2;
        }
        powerOns = static_cast<int>(n);
    }

    x740sim::Station station;
    x740sim::ServiceController services(station);
    station.setServiceHandler(&services);
    station.setFrameLogEnabled(false);
    x740sim::BootLoader boot;
    boot.setSettings({x740sim::BootPrompt::Mode, 60000, 5, 15});
    x740sim::PtyStationServer pty(station);
    pty.setBootLoader(&boot);
    std::string error;
    if (!pty.start(x740sim::kFirmwareBaud, &error)) {
        std::fprintf(stderr, "flash_boot_bench: %s\n", error.c_str());
        return 1;
    }
    ::setenv("PORTWIRE_COM1", pty.slavePath().c_str(), 1);

    std::string console;
    flash::ConsoleOut().CaptureTo(&console, false);
    flash::CX740FlashApp app;
    app.m_ComPort = 1;
    int failures = 0;
    for (int i = 0; i < powerOns; ++i) {
        boot.powerOn();
        pty.waitIdle(5000);
        std::uint8_t prompt[4];
        if (!app.OpenCom() || !app.WaitForBootPrompt(prompt) || !app.WriteCommand("MODE 1")) {
            ++failures;
        }
        pty.waitIdle(5000);
        console.clear();
    }
    app.m_Exports.close(app.m_Link);
    flash::ConsoleOut().CaptureTo(nullptr, false);
    pty.stop();

    std::vector<std::int64_t> us = boot.answerLatenciesUs();
    if (us.empty()) {
        std::fprintf(stderr, "flash_boot_bench: no answer arrived (%d failures)\n", failures);
        return 1;
    }
    std::sort(us.begin(), us.end());
    const double median = us[us.size() / 2] / 1000.0;
    const double worst = us.back() / 1000.0;
    std::printf("power-ons %d, answers %zu, failures %d\n", powerOns, us.size(), failures);
    std::printf("prompt to answer: median %.3f ms (goal < 5), worst %.3f ms (goal < 50)\n", median,
                worst);
    return failures == 0 && median < 5.0 && worst < 50.0 ? 0 : 1;
}
