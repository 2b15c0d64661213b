#include "flash/loader/text_format.h"

#include "flash/loader/console_out.h"

#include <cstdarg>
#include <cstdio>

namespace flash {

std::string Format(const char* format, ...) {
    char buffer[kConsoleBufferSize];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return n < 0 ? std::string() : std::string(buffer);
}

} // namespace flash
