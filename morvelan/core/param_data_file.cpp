#include "morvelan/core/param_data_file.h"

#include "morvelan/core/param_number.h"
#include "platform/ini_file.h"
#include "platform/regular_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kLineEnd = "\r\n";

// The next line of `text` from `pos` without its CR LF or LF; false when none is left.
bool NextLine(const std::string& text, std::size_t& pos, std::string& line) {
    if (pos >= text.size())
        return false;
    std::size_t end = text.find('\n', pos);
    const std::size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos)
        end = text.size();
    if (end > pos && text[end - 1] == '\r')
        --end;
    line = text.substr(pos, end - pos);
    pos = next;
    return true;
}

std::int32_t Saturate32(std::int64_t v) {
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (v < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string ParamDataText(const std::string& descriptionFile,
                          const std::vector<ParamGroup>& groups) {
    std::string text = descriptionFile + kLineEnd;
    for (const ParamGroup& group : groups) {
        for (const CModulParam* param : group.params)
            text += mv::FormatC("%ld", static_cast<long>(param->value)) + kLineEnd;
    }
    return text;
}

bool WriteParamDataFile(const std::string& path, const std::string& descriptionFile,
                        const std::vector<ParamGroup>& groups) {
    // The temporary beside the target has the mode the target keeps.
    std::string staging;
    const int fd = mv::iniCreateTemporary(path, staging);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, ParamDataText(descriptionFile, groups)) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && std::rename(staging.c_str(), path.c_str()) == 0)
        return true;
    const int saved = errno;
    ::unlink(staging.c_str());
    errno = saved;
    return false;
}

ParamDataResult ReadParamDataFile(const std::string& path, const std::string& descriptionFile,
                                  const std::vector<ParamGroup>& groups) {
    ParamDataResult result;
    std::string text;
    if (!mv::readRegularFile(path, kMaxParamDataFile, text)) {
        result.status = ParamDataRead::CannotOpen;
        return result;
    }
    std::size_t pos = 0;
    std::string line;
    NextLine(text, pos, line);
    if (line != descriptionFile) {
        result.status = ParamDataRead::OtherType;
        result.firstLine = line;
        return result;
    }
    for (const ParamGroup& group : groups) {
        for (CModulParam* param : group.params) {
            if (!NextLine(text, pos, line)) {
                result.status = ParamDataRead::Short;
                return result;
            }
            param->value = Saturate32(mv::ParseLongC(line));
            ++result.valuesRead;
        }
    }
    return result;
}
