// IP data as the loader keeps it: dotted texts checked by the classic inet_addr rules, the
// files ipc.cfg and ipd.cfg (address, subnet mask, gateway) and Modulcfg.cfg (the module
// configuration kept between runs). All files are read from the current directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace flash {

inline constexpr const char* kIpcFile = "ipc.cfg";
inline constexpr const char* kIpdFile = "ipd.cfg";
inline constexpr const char* kModulConfigFile = "Modulcfg.cfg";
// The controller keeps an IP text in 16 bytes: 15 characters and the terminator.
inline constexpr std::size_t kMaxIpTextLength = 15;

// True when the text is an IPv4 address by the inet_addr rules (1 to 4 parts, each decimal,
// octal or hexadecimal, no blanks) other than the all-ones address 255.255.255.255.
bool IsValidIpText(const std::string& text);
// The address of a dotted text, first octet most significant; 0xFFFFFFFF when it is none.
std::uint32_t DottedToHost(const std::string& text);

struct IpData {
    std::string ip, mask, gateway;
};

// The files of a few lines: ipc.cfg, ipd.cfg, Modulcfg.cfg.
inline constexpr std::size_t kMaxSmallFileBytes = 64 * 1024;

// The lines of a text file the user gives: a regular file of at most `maxBytes`, read without
// blocking. A CR before a line end is not part of the line. False when it cannot be read.
bool ReadTextLines(const std::string& name, std::size_t maxBytes, std::vector<std::string>& lines);

// The three lines of ipc.cfg or ipd.cfg. False when the file is missing, has fewer than
// three lines, or a line is no valid address or longer than the controller keeps. A CR
// before the line end is not part of the line; lines after the third are ignored.
bool ReadIpFile(const char* name, IpData& data);

// The module configuration as the loader handles it.
struct ModulConfig {
    std::string serial, ip, mask, gateway;
    long dhcp = 0;
};

// Modulcfg.cfg: five lines (serial, address, mask, gateway, DHCP flag as a number).
// Whether something readable stands in its place; nothing is opened.
bool ModulConfigFileExists();
// False when the file is missing or holds fewer than five lines.
bool ReadModulConfigFile(ModulConfig& config);
bool WriteModulConfigFile(const ModulConfig& config);
void DeleteModulConfigFile();

} // namespace flash
