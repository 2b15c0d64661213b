// The serial boot-loader dialogue and the steps that open, probe, configure and reset the
// controller.
#include "flash/loader/flash_app.h"

#include "flash/loader/console_out.h"
#include "flash/loader/echo_probe.h"
#include "flash/loader/key_input.h"
#include "flash/loader/loader_ftp.h"
#include "flash/loader/text_format.h"
#include "platform/arp_cache.h"
#include "platform/clock.h"

#include <algorithm>
#include <cstring>

namespace flash {

namespace {

constexpr int kBootBaud = 9600;
constexpr int kFirmwareBaud = 115200;
constexpr int kPromptBytes = 4;
constexpr int kReopenPauseMs = 500;
constexpr int kModulInfoRetryMs = 1000;
constexpr int kAfterConfigWriteMs = 2000;
constexpr int kAfterFtpStartMs = 2000;
constexpr int kAfterFtpQuitMs = 5000;
constexpr int kEchoRetryMs = 1000;
constexpr int kEchoTries = 240;

// Buffers of the configuration texts: 20 bytes, 40 for the one 32-byte field.
constexpr std::size_t kTextBuffer = 20;
constexpr std::size_t kLongTextBuffer = 40;

bool IsPrompt(const std::uint8_t* buffer, const char* prompt) {
    return std::memcmp(buffer, prompt, kPromptBytes) == 0;
}

// The texts of the module information, each ended by a NUL or by the record's end.
std::vector<std::string> RecordTexts(const std::uint8_t* record, int count) {
    std::vector<std::string> texts;
    int pos = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* begin = record + pos;
        const std::uint8_t* end = record + kModulInfoRecordSize;
        const std::uint8_t* nul = std::find(begin, end, 0);
        texts.emplace_back(reinterpret_cast<const char*>(begin),
                           static_cast<std::size_t>(nul - begin));
        pos = nul == end ? kModulInfoRecordSize : static_cast<int>(nul - record) + 1;
    }
    return texts;
}

} // namespace

int CX740FlashApp::WaitForBootPrompt(std::uint8_t buffer[4]) {
    bool sawAt = false;
    for (int attempt = 0; attempt < kBootPromptAttempts; ++attempt) {
        if (m_Exports.read(m_Link, buffer, kPromptBytes) == 0) {
            continue;
        }
        if (sawAt) {
            return 1;
        }
        if (buffer[0] == 'A' && buffer[1] == 'T') {
            m_FirmwareState = kFirmwareAt;
            sawAt = true;
        } else if (IsPrompt(buffer, "MODE")) {
            m_FirmwareState = kFirmware2;
            return 1;
        } else if (IsPrompt(buffer, "DONG")) {
            m_FirmwareState = kFirmwareBelow2;
            return 1;
        }
    }
    ConsoleOut().PrintError();
    SetMessage("Modul does not send data\n");
    return 0;
}

int CX740FlashApp::SendBootReply() {
    return WriteCommand(kBootReplyPhrase);
}

int CX740FlashApp::WriteCommand(const std::string& text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (m_Exports.write(m_Link, bytes, static_cast<int>(text.size())) != 0) {
        return 1;
    }
    ConsoleOut().PrintError();
    SetMessage(Format("Write 0x%lx\n", static_cast<unsigned long>(m_Exports.getLastError())));
    return 0;
}

int CX740FlashApp::OpenFailed() {
    ConsoleOut().PrintError();
    SetMessage(Format("Open 0x%lx\n", static_cast<unsigned long>(m_Exports.getLastError())));
    return 0;
}

int CX740FlashApp::OpenCom() {
    m_Exports.close(m_Link);
    m_Link = m_Exports.openCom(m_ComPort, kBootBaud);
    if (m_Link == 0) {
        return OpenFailed();
    }
    m_Exports.purgeComm(m_Link);
    return 1;
}

int CX740FlashApp::OpenNet() {
    return OpenTcp(m_Exports.openNet);
}

int CX740FlashApp::OpenNetNoReadId() {
    return OpenTcp(m_Exports.openNetNoReadId);
}

int CX740FlashApp::OpenTcp(LinkHandle (*open)(std::uint32_t, int)) {
    // The serial link a step held before is closed, as OpenCom closes it: Portwire would hand
    // that port out again at its old speed.
    m_Exports.close(m_Link);
    // A text that is no address would be taken as the all-ones broadcast address.
    if (!IsValidIpText(m_Ipc)) {
        m_Link = 0;
        ConsoleOut().PrintError();
        SetMessage(Format("IP-Adress not valid: %s\n", m_Ipc.c_str()));
        return 0;
    }
    m_Link = open(DottedToHost(m_Ipc), m_TcpPort);
    return m_Link != 0 ? 1 : OpenFailed();
}

int CX740FlashApp::ReopenAndReadModulInfo() {
    Wait(kReopenPauseMs);
    m_Exports.close(m_Link);
    m_Link = m_Exports.openCom(m_ComPort, kFirmwareBaud);
    if (m_Link == 0) {
        return OpenFailed();
    }
    for (int attempt = 0; attempt < kModulInfoAttempts; ++attempt) {
        ConsolePrintf(".");
        char name[256] = {}, date[256] = {}, version[256] = {};
        if (m_Exports.x740ReadModulInfo(m_Link, name, date, version) != 0) {
            std::uint8_t record[kModulInfoRecordSize];
            const int ok = ReadModulInfo(record);
            m_Exports.purgeComm(m_Link);
            if (ok) {
                return 1;
            }
        }
        Wait(kModulInfoRetryMs);
    }
    ConsoleOut().PrintError();
    SetMessage("Modul does not send data\n");
    return 0;
}

int CX740FlashApp::ReadModulInfo(std::uint8_t record[kModulInfoRecordSize]) {
    std::uint8_t buffer[kModulInfoBufferSize];
    std::memset(buffer, 0xFF, sizeof buffer);
    if (m_Exports.readModulInfo(m_Link, buffer) == 0) {
        return 0;
    }
    std::memcpy(record, buffer, kModulInfoRecordSize);
    return 1;
}

int CX740FlashApp::PrintModulInfo(std::string& version) {
    std::uint8_t record[kModulInfoRecordSize];
    if (!ReadModulInfo(record)) {
        ConsoleOut().PrintError();
        SetMessage(Format("A_ReadModulInfo 0x%lx\n",
                          static_cast<unsigned long>(m_Exports.getLastError())));
        return 0;
    }
    const std::vector<std::string> texts = RecordTexts(record, 3);
    m_Log.Write("Firmware:");
    m_Log.WriteLine(texts[0]);
    m_Log.Write("Date:");
    m_Log.WriteLine(texts[1]);
    m_Log.Write("Version:");
    m_Log.WriteLine(texts[2]);
    version = texts[2];
    return 1;
}

int CX740FlashApp::ReadModulTexts(std::vector<std::string>& texts) {
    std::uint8_t record[kModulInfoRecordSize];
    if (!ReadModulInfo(record)) {
        return 0;
    }
    texts = RecordTexts(record, 3);
    return 1;
}

int CX740FlashApp::CheckIpTextLengths(const std::string& ip, const std::string& mask,
                                      const std::string& gateway) {
    for (const std::string* text : {&ip, &mask, &gateway}) {
        if (text->size() > kMaxIpTextLength) {
            ConsoleOut().PrintError();
            SetMessage(Format("IP text longer than %zu characters: %s\n", kMaxIpTextLength,
                              text->c_str()));
            return 0;
        }
    }
    return 1;
}

int CX740FlashApp::SetIpConfiguration(const std::string& serial, const std::string& ip,
                                      const std::string& mask, const std::string& gateway) {
    char oldSerial[kTextBuffer] = {}, oldIp[kTextBuffer] = {}, oldMask[kTextBuffer] = {},
         oldGateway[kTextBuffer] = {};
    int dhcp = 0;
    if (m_Exports.x740ReadModulConfig(m_Link, oldSerial, oldIp, oldMask, oldGateway, &dhcp) == 0) {
        ConsoleOut().PrintError();
        SetMessage(Format("A_X740_ReadModulConfig 0x%lx\n",
                          static_cast<unsigned long>(m_Exports.x740GetLastError())));
        return 0;
    }
    const std::string newSerial = serial.empty() ? std::string(oldSerial) : serial;
    const std::string newMask = mask.empty() ? std::string(oldMask) : mask;
    const std::string newGateway = gateway.empty() ? std::string(oldGateway) : gateway;
    if (!CheckIpTextLengths(ip, newMask, newGateway)) {
        return 0;
    }
    if (m_Exports.x740WriteModulConfig(m_Link, newSerial.c_str(), ip.c_str(), newMask.c_str(),
                                       newGateway.c_str(), 0) == 0) {
        ConsoleOut().PrintError();
        SetMessage(Format("A_X740_WriteModulConfig 0x%lx\n",
                          static_cast<unsigned long>(m_Exports.x740GetLastError())));
        return 0;
    }
    Wait(kAfterConfigWriteMs);
    return 1;
}

int CX740FlashApp::WriteModulConfiguration(const ModulConfig& config) {
    if (!CheckIpTextLengths(config.ip, config.mask, config.gateway)) {
        return 0;
    }
    char serial[kTextBuffer] = {}, t2[kTextBuffer] = {}, t3[kTextBuffer] = {},
         user[kTextBuffer] = {}, password[kTextBuffer] = {}, t6[kTextBuffer] = {},
         t7[kTextBuffer] = {}, t8[kTextBuffer] = {}, t9[kTextBuffer] = {},
         t11[kLongTextBuffer] = {}, t12[kTextBuffer] = {};
    std::uint32_t value10 = 0;
    if (m_Exports.x740ReadSystemConfig(m_Link, serial, t2, t3, user, password, t6, t7, t8, t9,
                                       &value10, t11, t12) != 0) {
        m_Exports.x740WriteSystemConfig(m_Link, config.serial.c_str(), t2, t3, user, password, t6,
                                        t7, t8, t9, value10, t11, t12);
    }
    const int ok = m_Exports.x740WriteModulConfig(m_Link, config.serial.c_str(), config.ip.c_str(),
                                                  config.mask.c_str(), config.gateway.c_str(),
                                                  static_cast<int>(config.dhcp));
    if (ok) {
        DeleteModulConfigFile();
    }
    return ok ? 1 : 0;
}

int CX740FlashApp::AskLastConfiguration(ModulConfig& config) {
    ModulConfig stored;
    // A file without its five lines is no configuration at all.
    if (ReadModulConfigFile(stored)) {
        ConsolePrintf("\n");
        ConsoleOut().PrintColored("Use last configuration (Y/N)?", kAttrYellow);
        if (m_NoKey || IsYes(ReadKey())) {
            config = stored;
            return 1;
        }
    }
    char serial[kTextBuffer] = {}, ip[kTextBuffer] = {}, mask[kTextBuffer] = {},
         gateway[kTextBuffer] = {};
    int dhcp = 0;
    if (m_Exports.x740ReadModulConfig(m_Link, serial, ip, mask, gateway, &dhcp) == 0) {
        return 0;
    }
    config.serial = serial;
    config.ip = ip;
    config.mask = mask;
    config.gateway = gateway;
    config.dhcp = dhcp;
    WriteModulConfigFile(config);
    return 1;
}

int CX740FlashApp::StartFtpServer(int wait) {
    if (m_Exports.x740StartFtpServer(m_Link) == 0) {
        SetMessage(Format("A_X740_StartFTPServer 0x%lx\n",
                          static_cast<unsigned long>(m_Exports.getLastError())));
        return 0;
    }
    Wait(kAfterFtpStartMs);
    m_Exports.close(m_Link);
    m_Link = 0;
    if (wait == 1) {
        if (!PingModul(m_Ipc, kEchoTries)) {
            return 0;
        }
        Wait(kAfterFtpStartMs);
    }
    return 1;
}

int CX740FlashApp::ResetModul(int milliseconds) {
    if (m_Ftp->IsOpen()) {
        m_Ftp->Quit();
        Wait(kAfterFtpQuitMs);
        return 1;
    }
    if (m_Exports.x740ResetModul(m_Link) == 0) {
        SetMessage(Format("A_X740_ResetModul 0x%lx\n",
                          static_cast<unsigned long>(m_Exports.getLastError())));
        return 0;
    }
    Wait(milliseconds);
    m_Exports.close(m_Link);
    m_Link = 0;
    return 1;
}

void CX740FlashApp::DoWarmstart() {
    // Best effort: the run goes on with the power switched by hand when this fails, so its
    // texts are shown and logged but the run's message stays as it was.
    const std::string message = m_Message;
    if (!OpenNetNoReadId()) {
        ConsolePrintf("DoWarmstart");
        ConsoleOut().PrintError();
        m_Log.WriteLine("Error DoWarmstart N_OpenNet_NoReadID");
    }
    ResetModul(0);
    m_Message = message;
}

int CX740FlashApp::PingModul(const std::string& ip, int tries) {
    DeleteArpEntry(ip);
    if (m_Echo->Open(ip) != IEchoProbe::kOpened) {
        SetMessage("Network Send\n");
        return 0;
    }
    int count = 0;
    for (;;) {
        switch (m_Echo->Poll()) {
        case IEchoProbe::kAnswered:
            return 1;
        case IEchoProbe::kSendFailed:
            SetMessage("Network Send\n");
            return 0;
        case IEchoProbe::kReceiveFailed:
            SetMessage("Network Receive\n");
            return 0;
        default:
            ConsolePrintf(".");
            if (++count >= tries) {
                ConsolePrintf("\n");
                SetMessage("Timeout\n");
                return 0;
            }
            Wait(kEchoRetryMs);
            break;
        }
    }
}

void CX740FlashApp::DeleteArpEntry(const std::string& ip) {
    if (m_OsName == "Windows 95" || !IsValidIpText(ip)) {
        return;
    }
    mv::deleteArpEntry(DottedToHost(ip));
}

} // namespace flash
