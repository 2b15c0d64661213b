// The installs for firmware 2 or later: the two-step install of marked firmware, the packed
// install and the install of listed files only.
#include "flash/loader/flash_app.h"

#include "flash/loader/console_out.h"
#include "flash/loader/firmware_trailer.h"
#include "flash/loader/key_input.h"
#include "flash/loader/loader_ftp.h"
#include "flash/loader/text_format.h"

namespace flash {

namespace {

constexpr int kEchoTries = 240;
constexpr int kResetWaitMs = 2000;
constexpr std::size_t kTextBuffer = 20;
constexpr std::size_t kLongTextBuffer = 40;
// The first version whose two-step install can be left to the second step.
constexpr double kSingleStepVersion = 2.2;

} // namespace

int CX740FlashApp::WriteModeCommand(int mode) {
    if (!WriteCommand(Format("MODE %d IP=%s/%s/%s FTP=COMP2", mode, m_Ipc.c_str(), m_Snc.c_str(),
                             m_Gwc.c_str()))) {
        return 0;
    }
    m_FtpUser = "update";
    m_FtpPassword = "vorpal";
    return 1;
}

int CX740FlashApp::SetIpStep(const std::string& ip, const std::string& mask,
                             const std::string& gateway, const char* failure) {
    PrintAndLog(Format("Setting IP-Adress to %s", ip.c_str()));
    if (!SetIpConfiguration("", ip, mask, gateway)) {
        if (failure) {
            ConsoleOut().PrintError();
            SetMessage(failure);
        }
        return 0;
    }
    ConsoleOut().PrintOk();
    return 1;
}

int CX740FlashApp::ResetStep(int (CX740FlashApp::*reset)(int), int milliseconds) {
    PrintAndLog("Reset");
    if (!(this->*reset)(milliseconds)) {
        return 0;
    }
    ConsoleOut().PrintOk();
    return 1;
}

int CX740FlashApp::SetIpdAndReset(int (CX740FlashApp::*reset)(int), int milliseconds) {
    if (!m_Ipd.empty() && !SetIpStep(m_Ipd, m_Snd, m_Gwd)) {
        return 0;
    }
    return ResetStep(reset, milliseconds);
}

int CX740FlashApp::ReadAndLogConfiguration(ModulConfig& config, int rounds) {
    for (int round = 0;; ++round) {
        if (AskLastConfiguration(config)) {
            break;
        }
        if (round + 1 >= rounds) {
            ConsoleOut().PrintError();
            SetMessage(Format("A_X740_ReadModulConfig 0x%lx\n",
                              static_cast<unsigned long>(m_Exports.x740GetLastError())));
            return 0;
        }
    }
    m_Log.WriteLine("Serialnumber: " + config.serial);
    m_Log.WriteLine("IP_Address: " + config.ip);
    m_Log.WriteLine("IP_Gateway: " + config.gateway);
    m_Log.WriteLine(std::string("UseDHCP: ") + (config.dhcp ? "1" : "0"));
    return 1;
}

int CX740FlashApp::SetSystemSerial(const std::string& serial, const char* readFailed,
                                   const char* writeFailed) {
    char old[kTextBuffer] = {}, t2[kTextBuffer] = {}, t3[kTextBuffer] = {},
         user[kTextBuffer] = {}, password[kTextBuffer] = {}, t6[kTextBuffer] = {},
         t7[kTextBuffer] = {}, t8[kTextBuffer] = {}, t9[kTextBuffer] = {},
         t11[kLongTextBuffer] = {}, t12[kTextBuffer] = {};
    std::uint32_t value10 = 0;
    if (m_Exports.x740ReadSystemConfig(m_Link, old, t2, t3, user, password, t6, t7, t8, t9,
                                       &value10, t11, t12) == 0) {
        ConsoleOut().PrintError();
        SetMessage(readFailed ? std::string(readFailed)
                              : Format("A_X740_ReadSystemConfig 0x%lx\n",
                                       static_cast<unsigned long>(m_Exports.x740GetLastError())));
        return 0;
    }
    if (m_Exports.x740WriteSystemConfig(m_Link, serial.c_str(), t2, t3, user, password, t6, t7,
                                        t8, t9, value10, t11, t12) == 0) {
        ConsoleOut().PrintError();
        SetMessage(writeFailed ? std::string(writeFailed)
                               : Format("A_X740_WriteSystemConfig 0x%lx\n",
                                        static_cast<unsigned long>(m_Exports.x740GetLastError())));
        return 0;
    }
    DeleteModulConfigFile();
    return 1;
}

int CX740FlashApp::RestartInMode2(const char* user, const char* password) {
    std::uint8_t prompt[4] = {};
    PrintAndLog("Reset");
    if (!ResetKeepFtp()) {
        return 0;
    }
    ConsoleOut().PrintOk();
    if (!OpenCom()) {
        return 0;
    }
    PrintAndLog("Waiting for X740 ");
    if (!WaitForBootPrompt(prompt) || !WriteModeCommand(2)) {
        return 0;
    }
    m_FtpUser = user;
    m_FtpPassword = password;
    if (!PingModul(m_Ipc, kEchoTries)) {
        return 0;
    }
    ConsoleOut().PrintOk();
    return 1;
}

int CX740FlashApp::SendFtpServer(const char* plainName) {
    if (!m_Bnz) {
        return SendFileAs(WorkFile("Firmware-Binaries/ftpserv.bin"), plainName);
    }
    if (!SendFileAs(WorkFile("Firmware-Binaries/ftpserv.bnz"), "ftpserv.bnz")) {
        return 0;
    }
    PrintAndLog("Deleting ftpserv.bin");
    if (!DeleteFtpFile("ftpserv.bin")) {
        return 0;
    }
    ConsoleOut().PrintOk();
    return 1;
}

int CX740FlashApp::DeletePackedFtpServer() {
    if (m_Bnz) {
        return 1;
    }
    PrintAndLog("Deleting ftpserv.bnz");
    if (!DeleteFtpFile("ftpserv.bnz")) {
        return 0;
    }
    ConsoleOut().PrintOk();
    return 1;
}

int CX740FlashApp::InstallFirmwareStep1() {
    CConsoleOut& console = ConsoleOut();
    const auto startUpdate = [this, &console] {
        if (m_Exports.x740StartFirmwareUpdate(m_Link) == 0) {
            console.PrintError();
            SetMessage(Format("A_X740_StartFirmwareUpdate 0x%lx\n",
                              static_cast<unsigned long>(m_Exports.x740GetLastError())));
            return 0;
        }
        console.PrintOk();
        return 1;
    };
    if (!WriteModeCommand(1) || !PingModul(m_Ipc, kEchoTries)) {
        return 0;
    }
    console.PrintOk();
    PrintAndLog(Format("Opening Port COM%d: ", m_ComPort));
    if (!ReopenAndReadModulInfo()) {
        return 0;
    }
    console.PrintOk();
    PrintAndLog("Reading modul-configuration");
    if (!ReadAndLogConfiguration(m_Stored, kRestartReadRounds)) {
        return 0;
    }
    console.PrintOk();
    PrintAndLog("Connecting to X740 FTP-Server   STEP 1");
    if (!ConnectFtpRepeated()) {
        return 0;
    }
    console.PrintOk();
    FirmwareTrailer app;
    ReadFirmwareTrailer(WorkFile("Firmware-Binaries/app.bin"), app);
    if (app.marked && app.version >= kSingleStepVersion && m_FirmwareState != kFirmwareAt) {
        return InstallFirmwareStep2(m_Stored.serial);
    }
    ConsolePrintf("Removing files STEP1");
    m_Log.WriteLine("Removing files STEP1");
    if (!DeleteFirmwareFilesAll()) {
        return 0;
    }
    console.PrintOk();
    if (!SendFileAs(WorkFile("Firmware-Binaries/ftpserv.bin"), "DIAG.BIN")) {
        return 0;
    }
    PrintAndLog("Removing files STEP2");
    if (!DeleteFirmwareFiles()) {
        return 0;
    }
    console.PrintOk();
    if (!RestartInMode2("update", "vorpal")) {
        return 0;
    }
    PrintAndLog("Connecting to X740 FTP-Server   STEP 2");
    if (!ConnectFtpRepeated()) {
        return 0;
    }
    console.PrintOk();
    if (!SendFtpServer("ftpserv.img")) {
        return 0;
    }
    if (!SendFileAs(WorkFile("Firmware-Binaries/boot.bin"), "boot.img")) {
        return 0;
    }
    PrintAndLog("Creating firmware files   STEP 1");
    if (!OpenNetNoReadId() || !startUpdate()) {
        return 0;
    }
    PrintAndLog("Deleting DIAG.BIN");
    if (!DeleteFtpFile("DIAG.BIN")) {
        return 0;
    }
    console.PrintOk();
    if (!(m_Bnz ? SendFileAs(WorkFile("Firmware-Binaries/app.bnz"), "app.bnz")
                : SendFileAs(WorkFile("Firmware-Binaries/app.bin"), "app.img"))) {
        return 0;
    }
    PrintAndLog("Creating firmware files   STEP 2");
    if (!startUpdate()) {
        return 0;
    }
    if (!DeletePackedFtpServer()) {
        return 0;
    }
    PrintAndLog("Setting system configuration");
    if (!SetSystemSerial(m_Stored.serial, nullptr, nullptr)) {
        return 0;
    }
    console.PrintOk();
    return SetIpdAndReset(&CX740FlashApp::ResetAfterFtp, kResetWaitMs);
}

int CX740FlashApp::InstallFirmwareStep2(const std::string& serial) {
    CConsoleOut& console = ConsoleOut();
    if (!SendFileAs(WorkFile("Firmware-Binaries/ftpserv.bin"), "ftpserv.bin")) {
        return 0;
    }
    if (!RestartInMode2("root", "+3861597024")) {
        return 0;
    }
    PrintAndLog("Connecting to X740 FTP-Server   STEP 2");
    if (!ConnectFtp()) {
        console.PrintError();
        return 0;
    }
    console.PrintOk();
    if (!SendFtpServer("ftpserv.bin")) {
        return 0;
    }
    if (!SendFileAs(WorkFile("Firmware-Binaries/boot.bin"), "boot.bin")) {
        return 0;
    }
    if (!(m_Bnz ? SendFileAs(WorkFile("Firmware-Binaries/app.bnz"), "app.bnz")
                : SendFileAs(WorkFile("Firmware-Binaries/app.bin"), "app.bin"))) {
        return 0;
    }
    if (!DeletePackedFtpServer()) {
        return 0;
    }
    PrintAndLog(Format("Opening Port COM%d: ", m_ComPort));
    if (!ReopenAndReadModulInfo()) {
        return 0;
    }
    console.PrintOk();
    PrintAndLog("Setting system configuration");
    if (!SetSystemSerial(serial, "Error reading system-configuration",
                         "Error writing system-configuration")) {
        return 0;
    }
    console.PrintOk();
    return SetIpdAndReset(&CX740FlashApp::ResetAfterFtp, kResetWaitMs);
}

int CX740FlashApp::ConnectInMode1(const char* failure) {
    CConsoleOut& console = ConsoleOut();
    if (!WriteModeCommand(1) || !PingModul(m_Ipc, kEchoTries)) {
        return 0;
    }
    console.PrintOk();
    PrintAndLog("Connecting to X740 FTP-Server");
    if (!ConnectFtp()) {
        console.PrintError();
        if (failure) {
            SetMessage(failure);
        }
        return 0;
    }
    console.PrintOk();
    return 1;
}

int CX740FlashApp::InstallPackedFiles() {
    CConsoleOut& console = ConsoleOut();
    if (!ConnectInMode1(nullptr)) {
        return 0;
    }
    if (!SendFileList(0)) {
        return 0;
    }
    if (!m_FirmwareZip.empty()) {
        const bool ok =
            m_Bnz ? SendFileReplacing(WorkFile("Firmware-Binaries/app.bnz"), "app.bnz", "app.bin")
                  : SendFileReplacing(WorkFile("Firmware-Binaries/app.bin"), "app.bin", "app.bnz");
        if (!ok) {
            return 0;
        }
        console.PrintOk();
    }
    if (m_FtpOption) {
        if (!SendFileReplacing(WorkFile("Firmware-Binaries/ftpserv.bin"), "ftpserv.bin",
                               "ftpserv.bnz")) {
            return 0;
        }
        console.PrintOk();
    }
    if (m_FtpBnz) {
        if (!SendFileReplacing(WorkFile("Firmware-Binaries/ftpserv.bnz"), "ftpserv.bnz",
                               "ftpserv.bin")) {
            return 0;
        }
        console.PrintOk();
    }
    if (!m_Ipd.empty()) {
        PrintAndLog(Format("Opening Port COM%d: ", m_ComPort));
        if (!ReopenAndReadModulInfo()) {
            return 0;
        }
        console.PrintOk();
        if (ModulConfigFileExists()) {
            for (;;) {
                ConsolePrintf("\n");
                PrintAndLog("Use last configuration (Y/N)?");
                const int key = m_NoKey ? 'Y' : ReadKey();
                if (IsYes(key)) {
                    m_Log.WriteLine("Y");
                    ModulConfig stored;
                    if (!ReadModulConfigFile(stored) || !WriteModulConfiguration(stored)) {
                        console.PrintError();
                        SetMessage("Can not send configuration");
                        return 0;
                    }
                    break;
                }
                m_Log.WriteLine("N");
                // The end of input answers no: the stored configuration stays unsent and kept.
                if (key == kNoKey) {
                    break;
                }
            }
        }
        if (!SetIpStep(m_Ipd, m_Snd, m_Gwd, "Can not send configuration")) {
            return 0;
        }
    }
    return ResetStep(&CX740FlashApp::ResetModul, kResetWaitMs);
}

int CX740FlashApp::InstallFileList() {
    CConsoleOut& console = ConsoleOut();
    if (!ConnectInMode1("No Connection possible")) {
        return 0;
    }
    if (!SendFileList(0)) {
        return 0;
    }
    m_Ftp->Quit();
    PrintAndLog(Format("Opening Port COM%d: ", m_ComPort));
    if (!ReopenAndReadModulInfo()) {
        return 0;
    }
    console.PrintOk();
    return SetIpdAndReset(&CX740FlashApp::ResetModul, kResetWaitMs);
}

} // namespace flash
