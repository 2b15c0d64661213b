// The controller's module and system configuration as the panel reads and writes them through
// X740_Core, with text buffers of the sizes the library fills.
#pragma once

#include "portwire/include/Portwire.h"

#include <cstdint>

namespace x740panel {

struct ModuleConfigRecord {
    char serial[20] = {};
    char ipAddress[20] = {};
    char subnetMask[20] = {};
    char gateway[20] = {};
    int dhcp = 0;

    bool Read(LinkHandle handle);
};

// The twelve fields; fields 4 and 5 are the FTP server's login.
struct SystemConfigRecord {
    char serial[20] = {};
    char text2[20] = {};
    char text3[20] = {};
    char ftpUser[20] = {};
    char ftpPassword[20] = {};
    char text6[20] = {};
    char text7[20] = {};
    char text8[20] = {};
    char text9[20] = {};
    std::uint32_t value10 = 0;
    char text11[40] = {};
    char text12[20] = {};

    bool Read(LinkHandle handle);
    bool Write(LinkHandle handle) const;
};

} // namespace x740panel
