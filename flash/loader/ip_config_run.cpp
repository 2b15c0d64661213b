// The runs that set a controller's IP data, clear its flash or start its FTP server through
// the boot loader.
#include "flash/loader/flash_app.h"

#include "flash/loader/console_out.h"
#include "flash/loader/text_format.h"

#include <cstring>

namespace flash {

namespace {

constexpr int kResetWaitMs = 2000;

// IP data the DEF option gives a controller.
constexpr const char* kDefaultIp = "10.10.12.6";
constexpr const char* kDefaultMask = "255.255.0.0";
constexpr const char* kDefaultGateway = "0.0.0.0";

bool IsDong(const std::uint8_t* prompt) {
    return std::memcmp(prompt, "DONG", 4) == 0;
}

} // namespace

void CX740FlashApp::AskPowerOn() {
    ConsoleOut().PrintColored(m_Toolkit ? "(turn power off and on now)" : "(turn power on now)",
                              kAttrYellow);
}

void CX740FlashApp::IpConfigurationRun() {
    CConsoleOut& console = ConsoleOut();
    std::uint8_t prompt[4] = {};
    int step = 1;
    while (step != 0) {
        switch (step) {
        case 1:
            if (m_Ipd.empty()) {
                PrintAndLog("Nothing to do\n");
                SetMessage("Nothing to do\n");
                return;
            }
            step = m_Nb ? 7 : (m_ComPort == 0 ? 10 : 3);
            break;
        case 3:
            PrintAndLog(Format("Opening Port COM%d: ", m_ComPort));
            if (m_NoKey) {
                DoWarmstart();
            }
            if (!OpenCom()) {
                return;
            }
            console.PrintOk();
            step = 4;
            break;
        case 4:
            PrintAndLog("Waiting for X740 ");
            if (!m_NoKey) {
                AskPowerOn();
            }
            if (!WaitForBootPrompt(prompt)) {
                return;
            }
            step = IsDong(prompt) ? 5 : 6;
            break;
        case 5:
            if (!SendBootReply()) {
                return;
            }
            PrintAndLog(" V<2 ");
            m_FtpUser = "kvn";
            m_FtpPassword = "qmx";
            step = 7;
            break;
        case 6:
            if (!WriteCommand("MODE 1")) {
                return;
            }
            PrintAndLog(" V>2 ");
            m_FtpUser = "update";
            m_FtpPassword = "vorpal";
            step = 7;
            break;
        case 7:
            if (!ReopenAndReadModulInfo()) {
                return;
            }
            console.PrintOk();
            step = 8;
            break;
        case 8:
            PrintAndLog(Format("Setting IP-Adress to %s", m_Ipd.c_str()));
            if (!SetIpConfiguration("", m_Ipd, m_Snd, m_Gwd)) {
                return;
            }
            console.PrintOk();
            step = 9;
            break;
        case 9:
            PrintAndLog("Reset");
            if (ResetModul(kResetWaitMs)) {
                console.PrintOk();
            }
            step = 0;
            break;
        case 10:
            if (m_Ipc.empty()) {
                PrintAndLog("Nothing to do\n");
                SetMessage("Nothing to do\n");
                return;
            }
            step = 11;
            break;
        case 11:
            PrintAndLog(Format("Connecting to: %s ", m_Ipc.c_str()));
            if (!OpenNet()) {
                return;
            }
            console.PrintOk();
            step = 8;
            break;
        default:
            step = 0;
            break;
        }
    }
}

void CX740FlashApp::DefaultConfigurationRun() {
    if (!ReopenAndReadModulInfo()) {
        return;
    }
    char serial[20] = {}, ip[20] = {}, mask[20] = {}, gateway[20] = {};
    int dhcp = 0;
    if (m_Exports.x740ReadModulConfig(m_Link, serial, ip, mask, gateway, &dhcp) == 0) {
        SetMessage(Format("A_X740_ReadModulConfig 0x%lx\n",
                          static_cast<unsigned long>(m_Exports.x740GetLastError())));
        return;
    }
    ModulConfig config;
    config.serial = serial;
    config.ip = kDefaultIp;
    config.mask = kDefaultMask;
    config.gateway = kDefaultGateway;
    config.dhcp = dhcp;
    if (!WriteModulConfiguration(config)) {
        SetMessage(Format("A_X740_WriteModulConfig 0x%lx\n",
                          static_cast<unsigned long>(m_Exports.x740GetLastError())));
    }
}

void CX740FlashApp::ClearFlashRun() {
    std::uint8_t prompt[4] = {};
    ConsolePrintf("Open 9600");
    if (!OpenCom()) {
        return;
    }
    ConsoleOut().PrintOk();
    ConsolePrintf("Wait  ");
    if (!WaitForBootPrompt(prompt)) {
        return;
    }
    if (IsDong(prompt)) {
        ConsolePrintf("V < 2\n");
        ConsolePrintf("Not supported\n");
        return;
    }
    if (!WriteCommand("MODE 1 FTP=COMP2 FFS=CLEARFLASH")) {
        return;
    }
    ConsolePrintf("V >= 2\n");
    ConsolePrintf("Clearflash\n");
}

void CX740FlashApp::StartFtpRun(int mode) {
    std::uint8_t prompt[4] = {};
    PrintAndLog(Format("Opening Port COM%d: ", m_ComPort));
    if (!OpenCom()) {
        return;
    }
    ConsoleOut().PrintOk();
    ConsolePrintf("Wait  ");
    if (!WaitForBootPrompt(prompt)) {
        return;
    }
    if (IsDong(prompt)) {
        if (!SendBootReply()) {
            return;
        }
        ConsolePrintf("V < 2\n");
        m_Log.WriteLine("V < 2");
        return;
    }
    if (!WriteCommand("MODE " + std::to_string(mode) + " IP=" + m_Ipc + "/" + m_Snc + "/" + m_Gwc +
                      " FTP=COMP2")) {
        return;
    }
    ConsolePrintf("V >= 2\n");
    m_Log.WriteLine("V >= 2");
}

} // namespace flash
