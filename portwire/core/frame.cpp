#include "portwire/core/frame.h"

#include <cstring>

namespace portwire {

std::uint8_t FrameChecksum(const std::uint8_t* block, std::uint16_t count) {
    unsigned c = 0xAA;
    for (std::uint16_t i = 0; i < count; ++i)
        c = ((c ^ block[i]) << 1) & 0xFFu;
    return static_cast<std::uint8_t>(c);
}

void BuildFixedRequest(std::uint8_t direction, std::uint8_t code, std::uint8_t out[kFixedRequestSize]) {
    std::memset(out, 0, kFixedRequestSize);
    out[2] = direction;
    out[3] = 8;
    out[4] = code;
    out[12] = FrameChecksum(out, 12);
}

std::size_t BuildVariableFrame(std::uint8_t direction, const std::uint8_t* data, std::size_t n,
                               std::uint8_t* out) {
    n &= 0xFF;
    out[0] = 0;
    out[1] = 0;
    out[2] = direction;
    out[3] = static_cast<std::uint8_t>(n);
    if (n)
        std::memcpy(out + kFrameHeaderSize, data, n);
    out[kFrameHeaderSize + n] = FrameChecksum(out, static_cast<std::uint16_t>(kFrameHeaderSize + n));
    return n + 5;
}

void BuildAnnounceData(int callerLen, std::uint8_t out[8]) {
    const auto m = static_cast<std::uint8_t>((callerLen + 7) & 0xFF);
    const std::uint8_t data[8] = {kFnAnnounce, m, m, 0, 0, 0, 0, 0};
    std::memcpy(out, data, sizeof data);
}

} // namespace portwire
