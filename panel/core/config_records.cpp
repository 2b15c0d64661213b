#include "panel/core/config_records.h"

#include "services/include/X740_Core.h"

namespace x740panel {

bool ModuleConfigRecord::Read(LinkHandle handle) {
    return A_X740_ReadModulConfig(handle, serial, ipAddress, subnetMask, gateway, &dhcp) == 1;
}

bool SystemConfigRecord::Read(LinkHandle handle) {
    return A_X740_ReadSystemConfig(handle, serial, text2, text3, ftpUser, ftpPassword, text6, text7,
                                   text8, text9, &value10, text11, text12) == 1;
}

bool SystemConfigRecord::Write(LinkHandle handle) const {
    return A_X740_WriteSystemConfig(handle, serial, text2, text3, ftpUser, ftpPassword, text6,
                                    text7, text8, text9, value10, text11, text12) == 1;
}

} // namespace x740panel
