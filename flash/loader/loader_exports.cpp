#include "flash/loader/loader_exports.h"

namespace flash {

LoaderExports DefaultLoaderExports() {
    LoaderExports e{};
    e.openCom = &A_OpenCom;
    e.openNet = &A_OpenNet;
    e.openNetNoReadId = &A_OpenNet_NoReadID;
    e.close = &A_Close;
    e.purgeComm = &A_PurgeComm;
    e.write = &A_Write;
    e.read = &A_Read;
    e.getLastError = &A_GetLastError;
    e.readModulInfo = &A_ReadModulInfo;
    e.x740ReadModulInfo = &A_X740_ReadModulInfo;
    e.x740ReadModulConfig = &A_X740_ReadModulConfig;
    e.x740WriteModulConfig = &A_X740_WriteModulConfig;
    e.x740ReadSystemConfig = &A_X740_ReadSystemConfig;
    e.x740WriteSystemConfig = &A_X740_WriteSystemConfig;
    e.x740StartFtpServer = &A_X740_StartFTPServer;
    e.x740ResetModul = &A_X740_ResetModul;
    e.x740ClearNvram = &A_X740_ClearNVRAM;
    e.x740StartFirmwareUpdate = &A_X740_StartFirmwareUpdate;
    e.x740GetLastError = &A_X740_GetLastError;
    return e;
}

} // namespace flash
