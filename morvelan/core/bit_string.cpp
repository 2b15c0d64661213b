#include "morvelan/core/bit_string.h"

void CBitString::SetSize(int n) {
    bits_.assign(n > 0 ? static_cast<std::size_t>(n) : 0, '0');
}

bool CBitString::InRange(int position, int count) const {
    return position >= 0 && count >= 0 &&
           static_cast<long>(position) + count <= static_cast<long>(bits_.size());
}

bool CBitString::SetBits(int position, int count, const std::uint8_t* bytes) {
    if (!InRange(position, count)) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        const bool set = (bytes[i / 8] >> (i % 8)) & 1;
        bits_[static_cast<std::size_t>(position + i)] = set ? '1' : '0';
    }
    return true;
}

std::uint32_t CBitString::GetBits(int position, int count) const {
    if (count > 32 || !InRange(position, count)) {
        return 0;
    }
    std::uint32_t result = 0;
    for (int i = 0; i < count; ++i) {
        if (bits_[static_cast<std::size_t>(position + i)] == '1') {
            result |= 1u << i;
        }
    }
    return result;
}

std::uint8_t CBitString::GetByte(int k) const {
    std::uint8_t byte = 0;
    for (int i = 0; i < 8; ++i) {
        const long at = 8L * k + i;
        if (k >= 0 && at < static_cast<long>(bits_.size()) &&
            bits_[static_cast<std::size_t>(at)] == '1') {
            byte = static_cast<std::uint8_t>(byte | (1u << i));
        }
    }
    return byte;
}
