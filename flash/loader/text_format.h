// printf-style formatting into a text, in the C locale, for messages and console lines.
#pragma once

#include <string>

namespace flash {

// The formatted text, cut at 1023 characters as the console's buffer would cut it.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace flash
