// The command line of morvelan. Only '-' marks a flag ('/' starts absolute paths). Every
// parameter is looked at for the mask file ("MSK" ... "=<file>") and the controller address
// ("IP" ... "=<a.b.c.d>"); a parameter that begins exactly "MSK=" or "IP=" is used up by that,
// the first other parameter that is not a flag names the document to open.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CAppCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen };

    // One parameter: param without its flag character, flag when it had one.
    void ParseParam(const std::string& param, bool flag, bool last);
    // All parameters of a command line (argv[0] is skipped).
    void Parse(int argc, const char* const* argv);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;              // document to open
    std::string m_MaskFile;                 // from MSK=
    std::optional<std::uint32_t> m_IpAddress; // from IP=, first octet most significant
    std::vector<std::string> m_Problems;    // parameters that could not be used, with why
};

// An IPv4 address as a 32-bit number, first octet in the most significant byte. Read as the
// classic address reader reads it: "127.1" is 127.0.0.1, "0x7f.1" too.
std::optional<std::uint32_t> ParseDottedAddress(const std::string& text);
