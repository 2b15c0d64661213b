// The Portwire and X740_Core entry points the loader calls, gathered in one table. The
// program uses the libraries' own functions; tests put counting or failing stand-ins in place.
#pragma once

#include "services/include/X740_Core.h"

#include <cstdint>

namespace flash {

struct LoaderExports {
    LinkHandle (*openCom)(int comNumber, int baud);
    LinkHandle (*openNet)(std::uint32_t ipv4, int tcpPort);
    LinkHandle (*openNetNoReadId)(std::uint32_t ipv4, int tcpPort);
    void (*close)(LinkHandle link);
    std::uint16_t (*purgeComm)(LinkHandle link);
    std::uint16_t (*write)(LinkHandle link, const std::uint8_t* buffer, int len);
    std::uint16_t (*read)(LinkHandle link, std::uint8_t* buffer, int len);
    std::uint16_t (*getLastError)();
    std::uint16_t (*readModulInfo)(LinkHandle link, std::uint8_t* dest);

    std::uint16_t (*x740ReadModulInfo)(LinkHandle link, char* text1, char* text2, char* text3);
    std::uint16_t (*x740ReadModulConfig)(LinkHandle link, char* serial, char* ipAddress,
                                         char* subnetMask, char* gateway, int* dhcp);
    std::uint16_t (*x740WriteModulConfig)(LinkHandle link, const char* serial,
                                          const char* ipAddress, const char* subnetMask,
                                          const char* gateway, int dhcp);
    std::uint16_t (*x740ReadSystemConfig)(LinkHandle link, char* serial, char* text2, char* text3,
                                          char* ftpUser, char* ftpPassword, char* text6,
                                          char* text7, char* text8, char* text9,
                                          std::uint32_t* value10, char* text11, char* text12);
    std::uint16_t (*x740WriteSystemConfig)(LinkHandle link, const char* serial, const char* text2,
                                           const char* text3, const char* ftpUser,
                                           const char* ftpPassword, const char* text6,
                                           const char* text7, const char* text8, const char* text9,
                                           std::uint32_t value10, const char* text11,
                                           const char* text12);
    std::uint16_t (*x740StartFtpServer)(LinkHandle link);
    std::uint16_t (*x740ResetModul)(LinkHandle link);
    std::uint16_t (*x740ClearNvram)(LinkHandle link);
    std::uint16_t (*x740StartFirmwareUpdate)(LinkHandle link);
    std::uint32_t (*x740GetLastError)();
};

// The libraries' own functions.
LoaderExports DefaultLoaderExports();

} // namespace flash
