#include "flash/loader/ip_files.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace flash {

namespace {

// Files of a few lines; anything larger is not one of them.
constexpr std::size_t kMaxFileBytes = 64 * 1024;

bool ReadLines(const char* name, std::vector<std::string>& lines) {
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        return false;
    }
    std::string text(kMaxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes) {
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

} // namespace

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
    if (!ReadLines(name, lines) || lines.size() < 3) {
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
    std::ifstream in(kModulConfigFile, std::ios::binary);
    return static_cast<bool>(in);
}

bool ReadModulConfigFile(ModulConfig& config) {
    std::vector<std::string> lines;
    if (!ReadLines(kModulConfigFile, lines) || lines.size() < 5) {
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
    std::FILE* file = std::fopen(kModulConfigFile, "w");
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
