// Fuzz target of the reply reader: the input is what a device sends back on a serial or TCP
// link while the request exports run one after another. Every export ends with a result;
// none writes beyond the buffer its caller gives (each is exactly as large as documented).
#include "fake_transport.h"
#include "portwire/include/Portwire.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Largest payload a frame carries, and the buffer the fixed reads fill.
constexpr std::size_t kFrameBuffer = 256;

void runExport(std::uint32_t link, int which, std::uint8_t arg) {
    std::vector<std::uint8_t> buffer(kFrameBuffer);
    switch (which) {
    case 0:
        (void)A_ReadInputs(link);
        A_GetInputBuffer(link, buffer.data());
        break;
    case 1:
        (void)A_ReadModulParameters(link, buffer.data());
        break;
    case 2:
        (void)A_ReadSavedModulParameters(link, buffer.data());
        break;
    case 3:
        (void)A_ReadModulInfo(link, buffer.data());
        break;
    case 4: {
        std::uint8_t len = 0;
        (void)A_ReadModulConfiguration(link, &len, buffer.data());
        break;
    }
    case 5: {
        std::uint16_t len = 0;
        (void)A_ReadMasterParameter(link, arg, buffer.data(), 0, &len);
        break;
    }
    case 6: {
        // Room for the longest reply's data and its checksum, whatever the count.
        std::vector<std::uint8_t> dest(256);
        (void)A_ReadMemory(link, arg % 250, 0x1000, dest.data());
        break;
    }
    case 7:
        (void)A_GetControllerID(link);
        break;
    case 8: {
        const std::uint8_t outputs[4] = {1, 2, 3, 4};
        (void)A_SetOutputs(link, sizeof outputs, outputs);
        break;
    }
    default: {
        const std::uint8_t params[3] = {arg, 0, 1};
        (void)A_WriteModulParameters(link, sizeof params, params);
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    pwtest::Rig rig;
    const bool tcp = (data[0] & 1) != 0;
    const std::uint32_t link = tcp ? rig.tcp() : rig.serial();
    if (link == 0)
        std::abort();
    pwtest::Wire& wire = tcp ? rig.net() : rig.com();
    wire.push(pwtest::Bytes(data + 2, data + size));
    // The exports in turn, starting where the second byte says, while replies are left.
    for (int round = 0; round < 32 && !wire.incoming.empty(); ++round)
        runExport(link, (data[1] + round) % 10, static_cast<std::uint8_t>(data[1] ^ round));
    A_Close(link);
    return 0;
}
