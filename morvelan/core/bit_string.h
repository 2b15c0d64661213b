// A string of bits, character i standing for bit i, used to pack parameter values bit by bit
// into a channel's share of the parameter block.
#pragma once

#include <cstdint>
#include <string>

class CBitString {
public:
    CBitString() : bits_(8, '0') {}

    // n bits, all "0".
    void SetSize(int n);
    int GetSize() const { return static_cast<int>(bits_.size()); }
    const std::string& GetText() const { return bits_; }

    // Bit position + i = bit (i mod 8) of byte (i div 8) of bytes, for i = 0 .. count - 1.
    // A range outside the string is refused (false) and nothing changes.
    bool SetBits(int position, int count, const std::uint8_t* bytes);
    // Bit i of the result = bit position + i, for count bits (at most 32); a range outside the
    // string, or more than 32 bits, gives 0.
    std::uint32_t GetBits(int position, int count) const;
    // Bits 8k .. 8k + 7 as a byte; bits beyond the string read as 0.
    std::uint8_t GetByte(int k) const;

private:
    bool InRange(int position, int count) const;

    std::string bits_;
};
