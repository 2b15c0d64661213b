#include "tests/sim/frame_codec.h"

namespace x740sim {

std::uint8_t blockChecksum(const std::uint8_t* data, std::size_t count)
{
    unsigned c = 0xAA;
    for (std::size_t i = 0; i < count; ++i)
        c = ((c ^ data[i]) << 1) & 0xFFu;
    return static_cast<std::uint8_t>(c);
}

std::uint8_t blockChecksum(const std::vector<std::uint8_t>& bytes)
{
    return blockChecksum(bytes.data(), bytes.size());
}

std::vector<std::uint8_t> buildFrame(std::uint8_t direction, const std::vector<std::uint8_t>& data,
                                     std::uint8_t lead0, std::uint8_t lead1)
{
    const std::size_t n = data.size() > 255 ? 255 : data.size();
    std::vector<std::uint8_t> frame;
    frame.reserve(n + 5);
    frame.push_back(lead0);
    frame.push_back(lead1);
    frame.push_back(direction);
    frame.push_back(static_cast<std::uint8_t>(n));
    frame.insert(frame.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
    frame.push_back(blockChecksum(frame));
    return frame;
}

bool frameChecksumOk(const std::vector<std::uint8_t>& frame)
{
    if (frame.size() < kHeaderSize + 1)
        return false;
    return blockChecksum(frame.data(), frame.size() - 1) == frame.back();
}

void FrameAssembler::feed(const std::uint8_t* data, std::size_t count,
                          std::vector<std::vector<std::uint8_t>>& out)
{
    for (std::size_t i = 0; i < count; ++i) {
        partial_.push_back(data[i]);
        if (partial_.size() >= kHeaderSize) {
            const std::size_t want = kHeaderSize + partial_[3] + 1u;
            if (partial_.size() == want) {
                out.push_back(std::move(partial_));
                partial_.clear();
                partial_.reserve(kMaxFrameSize);
            }
        }
    }
}

} // namespace x740sim
