#include "morvelan/core/app_command_line.h"

#include <arpa/inet.h>

std::optional<std::uint32_t> ParseDottedAddress(const std::string& text) {
    // The classic reading: one to four parts, decimal, octal or hexadecimal, the last part
    // filling the bytes that remain ("10.1" is 10.0.0.1).
    in_addr addr{};
    if (::inet_aton(text.c_str(), &addr) == 0)
        return std::nullopt;
    return ntohl(addr.s_addr);
}

void CAppCommandLineInfo::ParseParam(const std::string& param, bool flag, bool /*last*/) {
    const std::size_t eq = param.find('=');
    const std::string after = eq == std::string::npos ? std::string() : param.substr(eq + 1);
    bool used = false;
    if (param.compare(0, 3, "MSK") == 0) {
        if (!after.empty())
            m_MaskFile = after;
        used = param.compare(0, 4, "MSK=") == 0;
    }
    if (param.compare(0, 2, "IP") == 0) {
        if (!after.empty()) {
            if (auto ip = ParseDottedAddress(after))
                m_IpAddress = *ip;
            else
                m_Problems.push_back(param + ": not an IPv4 address, the stored one is kept");
        }
        used = used || param.compare(0, 3, "IP=") == 0;
    }
    if (flag || used)
        return; // flags of the framework have no meaning here
    if (m_nShellCommand == FileOpen)
        return; // the first document named is the one opened
    m_strFileName = param;
    m_nShellCommand = FileOpen;
}

void CAppCommandLineInfo::Parse(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        const bool flag = !arg.empty() && arg[0] == '-';
        ParseParam(flag ? arg.substr(1) : arg, flag, i == argc - 1);
    }
}
