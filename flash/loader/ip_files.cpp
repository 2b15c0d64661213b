#include "flash/loader/ip_files.h"

#include "platform/regular_file.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace flash {

bool ReadTextLines(const std::string& name, std::size_t maxBytes, std::vector<std::string>& lines) {
    std::string text;
    if (!mv::readRegularFile(name, maxBytes, text)) {
        return false;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return true;
}

bool IsValidIpText(const std::string& text) {
    if (text.empty() || text.find_first_of(" \t\r\n\v\f") != std::string::npos) {
        return false;
    }
    in_addr address{};
    if (::inet_aton(text.c_str(), &address) == 0) {
        return false;
    }
    return address.s_addr != INADDR_NONE;
}

std::uint32_t DottedToHost(const std::string& text) {
    in_addr address{};
    if (text.find_first_of(" \t\r\n\v\f") != std::string::npos ||
        ::inet_aton(text.c_str(), &address) == 0) {
        return INADDR_NONE;
    }
    return ntohl(address.s_addr);
}

bool ReadIpFile(const char* name, IpData& data) {
    std::vector<std::string> lines;
    if (!ReadTextLines(name, kMaxSmallFileBytes, lines) || lines.size() < 3) {
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (lines[i].size() > kMaxIpTextLength || !IsValidIpText(lines[i])) {
            return false;
        }
    }
    data.ip = lines[0];
    data.mask = lines[1];
    data.gateway = lines[2];
    return true;
}

bool ModulConfigFileExists() {
    return ::access(kModulConfigFile, R_OK) == 0;
}

bool ReadModulConfigFile(ModulConfig& config) {
    std::vector<std::string> lines;
    if (!ReadTextLines(kModulConfigFile, kMaxSmallFileBytes, lines) || lines.size() < 5) {
        return false;
    }
    config.serial = lines[0];
    config.ip = lines[1];
    config.mask = lines[2];
    config.gateway = lines[3];
    config.dhcp = std::atol(lines[4].c_str());
    return true;
}

bool WriteModulConfigFile(const ModulConfig& config) {
    std::FILE* file = mv::openRegularFileForWriting(kModulConfigFile, false);
    if (!file) {
        return false;
    }
    const int n =
        std::fprintf(file, "%s\n%s\n%s\n%s\n%ld\n", config.serial.c_str(), config.ip.c_str(),
                     config.mask.c_str(), config.gateway.c_str(), config.dhcp);
    const bool closed = std::fclose(file) == 0;
    return n > 0 && closed;
}

void DeleteModulConfigFile() {
    std::remove(kModulConfigFile);
}

} // namespace flash
