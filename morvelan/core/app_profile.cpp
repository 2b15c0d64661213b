#include "morvelan/core/app_profile.h"

#include "platform/ini_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace mv {
namespace {
ErrorBoxSink& errorSink() {
    static ErrorBoxSink sink;
    return sink;
}
} // namespace

void setErrorBoxSink(ErrorBoxSink sink) { errorSink() = std::move(sink); }
} // namespace mv

std::string LastErrorText(const std::string& text, int code) {
    char buf[512];
    // Only codes the system knows have a message text.
    const char* message = nullptr;
    if (code > 0 && code < 4096) {
        const char* known = std::strerror(code);
        if (known && std::strncmp(known, "Unknown error", 13) != 0)
            message = known;
    }
    if (message)
        std::snprintf(buf, sizeof buf, "%s FAILURE: %s\n", text.c_str(), message);
    else
        std::snprintf(buf, sizeof buf, "%s FAILURE: (0x%08x)\n", text.c_str(),
                      static_cast<unsigned>(code));
    return buf;
}

void ShowLastError(const std::string& text) {
    const int code = errno;
    const std::string message = LastErrorText(text, code);
    if (mv::errorSink())
        mv::errorSink()("ERROR", message);
    else
        std::fputs(message.c_str(), stderr);
    errno = code;
}

int WriteProfileText(const std::string& section, const std::string& key, const std::string& text,
                     const std::string& file) {
    const std::string value = text.empty() ? std::string(" ") : text;
    if (mv::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                       file.c_str()) == 0) {
        ShowLastError("SAVE " + section + " " + key);
        return 0;
    }
    return 1;
}

int WriteProfileNumber(const std::string& section, const std::string& key, int number,
                       const std::string& file) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", number);
    return WriteProfileText(section, key, buf, file);
}
