// Numbers in text, always in the C locale (the GUI switches the process to the user's locale).
#pragma once

#include <cstdint>
#include <string>

namespace mv {

// printf-style formatting with the C locale's decimal point, whatever the process locale is.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Integer reading as atol does: leading blanks, an optional sign, decimal digits up to the first
// other character ("31l" gives 31); no digits give 0. The value is kept in 64 bits, so texts of
// unsigned 32-bit values from 2^31 up keep their low 32 bits; beyond 64 bits it saturates.
std::int64_t ParseLongC(const std::string& text);

// Decimal fraction reading as atof does, in the C locale: leading blanks, then the longest
// number prefix; no number gives 0.
double ParseDoubleC(const std::string& text);

// The value of one hex digit, -1 for any other character.
int HexDigit(char c);

// Hex reading that stops at the first character that is not a hex digit: leading blanks, then
// hex digits; none give 0. The value saturates at 32 bits.
std::uint32_t ParseHexC(const std::string& text);

} // namespace mv
