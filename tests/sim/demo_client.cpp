// portwire_demo [HOST-PORT] [ROUNDS]
// Opens the station at 127.0.0.1:PORT through Portwire, prints its modules, the controller
// ID and a few rounds of inputs in hex, then closes the link.
#include "portwire/include/Portwire.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

long parse(const char* text, long low, long high, long fallback)
{
    if (!text)
        return fallback;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    return (end != text && *end == '\0' && v >= low && v <= high) ? v : -1;
}

} // namespace

int main(int argc, char** argv)
{
    const long port = parse(argc > 1 ? argv[1] : nullptr, 1, 65535, 32000);
    const long rounds = parse(argc > 2 ? argv[2] : nullptr, 1, 1000, 5);
    if (port < 0 || rounds < 0) {
        std::fprintf(stderr, "usage: portwire_demo [PORT] [ROUNDS]\n");
        return 2;
    }
    const LinkHandle link = A_OpenNet(0x7F000001, static_cast<int>(port));
    if (link == 0) {
        std::fprintf(stderr, "portwire_demo: cannot open 127.0.0.1:%ld (error 0x%04X)\n", port, A_GetLastError());
        return 1;
    }
    const int modules = A_GetNumberOfModules(link);
    std::printf("station 127.0.0.1:%ld: %d modules\n", port, modules);
    for (int i = 0; i < modules; ++i)
        std::printf("  module %d: ID 0x%04X\n", i, A_GetModulID(link, i));
    std::printf("controller ID: 0x%04X\n", A_GetControllerID(link));
    for (long r = 0; r < rounds; ++r) {
        if (A_ReadInputs(link) != 1) {
            std::printf("inputs %ld: read failed (error 0x%04X)\n", r + 1, A_GetLastError());
            continue;
        }
        std::printf("inputs %ld:", r + 1);
        for (int i = 0; i < 16; ++i)
            std::printf(" %02X", A_GetInputByte(link, i));
        std::printf("\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    A_Close(link);
    return 0;
}
