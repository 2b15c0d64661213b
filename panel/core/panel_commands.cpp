#include "panel/core/panel_commands.h"

#include "panel/core/config_records.h"
#include "panel/core/telegrams.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "services/include/X740_Cam.h"
#include "services/include/X740_Core.h"

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace x740panel {

std::string Format(const char* format, ...) {
    char buf[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return n <= 0 ? std::string() : std::string(buf, std::min<std::size_t>(n, sizeof buf - 1));
}

std::string MakeLogLine(const std::string& text) {
    std::string line = text.find('\t') == std::string::npos ? "I\t" + text : text;
    if (line.size() > kMaxLogLine) {
        line.resize(kMaxLogLine);
    }
    return line;
}

std::string SerialFlagsText(int flags) {
    static const char* const kHandshake[] = {"RTS/CTS Handshaking, ", "no Handshaking, ", "",
                                             "SW Handshaking, "};
    static const char* const kData[] = {"5Bit Data, ", "6Bit Data, ", "7Bit Data, ",
                                        "8Bit Data, "};
    static const char* const kStop[] = {"1 Stopbit, ", "2 Stopbits, "};
    static const char* const kParity[] = {"no Parity", "even Parity", "odd Parity", ""};
    std::string text = kHandshake[flags & 3];
    text += kData[(flags >> 2) & 3];
    text += kStop[(flags >> 5) & 1];
    text += kParity[(flags >> 6) & 3];
    return text;
}

bool ReadModuleInfoTexts(LinkHandle handle, ModuleInfoTexts& texts) {
    std::array<std::uint8_t, kModuleInfoSize> record{};
    if (A_ReadModulInfo(handle, record.data()) != 1) {
        return false;
    }
    // Three zero-terminated texts one after the other, none reaching past the buffer.
    std::size_t at = 0;
    const auto next = [&] {
        std::string text;
        while (at < record.size() && record[at] != 0) {
            text.push_back(static_cast<char>(record[at++]));
        }
        ++at;
        return text;
    };
    texts.name = next();
    texts.date = next();
    texts.version = next();
    return true;
}

PanelCommands::PanelCommands(CX740PanelApp& app, PanelLog& log, PanelPrompts& prompts,
                             mv::Clock& clock)
    : app_(app), log_(log), prompts_(prompts), clock_(clock) {}

bool PanelCommands::Run(int id) {
    switch (id) {
    case kCmdStatus: Status(); return true;
    case kCmdModuleConfig: ModuleConfig(); return true;
    case kCmdSystemInfo: SystemInfo(); return true;
    case kCmdModuleIds: ModuleIds(); return true;
    case kCmdProtocolId: ProtocolId(); return true;
    case kCmdControllerId: Log("Controller ID -> " + GetControllerIdText()); return true;
    case kCmdInputs: Inputs(); return true;
    case kCmdMainService: MainService(); return true;
    case kCmdSerialService: SerialService(); return true;
    case kCmdClearConfig: ClearConfig(); return true;
    case kCmdStartFtpServer: StartFtpServer(); return true;
    case kCmdSsiSetup: SsiSetup(); return true;
    case kCmdSsiOffset: SsiOffset(); return true;
    case kCmdNswBlock: NswBlock(); return true;
    case kCmdNswBit: NswBit(); return true;
    case kCmdNswSetupSsi: NswSetupSsi(); return true;
    case kCmdNswProg: NswProg(); return true;
    default: return false;
    }
}

void PanelCommands::Status() {
    StatusRecord s;
    if (!RequestStatus(app_, s)) {
        Log(kDataErrorLine);
        return;
    }
    Log(Format("State: 0x%04x", s.state));
    Log(Format("Errornumber: %d, Errorinfo: %d, FOError: %d", s.errorNumber, s.errorInfo,
               s.foError));
    Log(Format("Cycletime %d", s.cycleTime));
    Log(Format("Voltage 2.5V = %dmV, Vccp1 = %dmV, 3.3V = %dmV", s.voltage2V5, s.vccp1,
               s.voltage3V3));
    Log(Format("Voltage 5V = %d mV, 12V = %dmV, Vccp2 = %dmV", s.voltage5V, s.voltage12V,
               s.vccp2));
    Log(Format("Temperature :%d\xB0"
               "C",
               s.temperature));
}

void PanelCommands::ModuleConfig() {
    ModuleConfigRecord c;
    if (!c.Read(app_.m_Handle)) {
        Log(kDataErrorLine);
        return;
    }
    Log(Format("Serialnumber : %s", c.serial));
    Log(Format("IP : %s, Mask: %s, Gateway %s", c.ipAddress, c.subnetMask, c.gateway));
    Log(Format("DHCP : %d", c.dhcp));
}

void PanelCommands::SystemInfo() {
    std::uint8_t bcd = 0, busBytes = 0, prints = 0;
    std::uint32_t ram = 0, nvram = 0, flashCode = 0, flashDevice = 0;
    if (A_X740_ReadSystemInfo(app_.m_Handle, &bcd, &busBytes, &prints, &ram, &nvram, &flashCode,
                              &flashDevice) != 1) {
        Log(kDataErrorLine);
        return;
    }
    Log(Format("Systeminfo: BCD Switch %d", bcd));
    Log(Format("Systeminfo: Systembus Bytes %d, Number of Prints %d", busBytes, prints));
    Log(Format("Systeminfo: RAM %d KB, NVRAM %d KB", static_cast<std::int32_t>(ram),
               static_cast<std::int32_t>(nvram)));
    Log(Format("Systeminfo: Flash-Code 0x%0x, Flash-Devicecode 0x%04x", flashCode, flashDevice));
}

void PanelCommands::ModuleIds() {
    const int n = A_GetNumberOfModules(app_.m_Handle);
    for (int i = 0; i < n; ++i) {
        Log(Format("ModulID [%d] -> 0x%04x", i, A_GetModulID(app_.m_Handle, i)));
    }
}

void PanelCommands::ProtocolId() {
    int id = 0;
    if (!RequestProtocolId(app_, id)) {
        Log(kDataErrorLine);
        return;
    }
    Log(Format("Protocoll ID -> %d", id));
}

std::string PanelCommands::GetControllerIdText() {
    std::uint16_t id = 0;
    if (!RequestControllerId(app_, id)) {
        return "Data Error";
    }
    return Format("0x%0x", id);
}

void PanelCommands::Inputs() {
    std::vector<std::uint8_t> inputs;
    if (!RequestInputs(app_, inputs)) {
        Log(kDataErrorLine);
        return;
    }
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        Log(Format("Input [%d] -> 0x%02x", static_cast<int>(i), inputs[i]));
    }
}

void PanelCommands::MainService() {
    int port = 0, timeout = 0, reconnect = 0, idle = 0;
    if (A_X740_ReadMainServiceConfig(app_.m_Handle, &port, &timeout, &reconnect, &idle) != 1) {
        Log(kDataErrorLine);
        return;
    }
    Log(Format("MainService: IP-Portnumber %d", port));
    Log(Format("MainService: Timeout %d", timeout));
    Log(Format("MainService: IP-ReconnectTimeout %d", reconnect));
    Log(Format("MainService: IP-IdleTimeout %d", idle));
}

void PanelCommands::SerialService() {
    char name[20] = {};
    int second = 0, baud = 0, flags = 0, timeout = 0;
    if (A_X740_ReadSerServiceConfig(app_.m_Handle, name, &second, &baud, &flags, &timeout) != 1) {
        Log(kDataErrorLine);
        return;
    }
    Log(Format("SerService: Port \"%s\"", name));
    Log(Format("SerService: %d Baud, Timeout %d", baud, timeout));
    Log("SerService: " + SerialFlagsText(flags));
}

void PanelCommands::ClearConfig() {
    Log(A_X740_ClearModulConfigs(app_.m_Handle) == 1 ? "Clear Configuration -> OK"
                                                      : "Clear Configuration -> FAILURE");
    clock_.sleep(kCommandPauseMs);
}

void PanelCommands::StartFtpServer() {
    Log(A_X740_StartFTPServer(app_.m_Handle) == 1 ? "Start FTPServer -> OK"
                                                   : "E\tStart FTPServer -> ERROR");
    clock_.sleep(kCommandPauseMs);
}

void PanelCommands::CamReadFailed() {
    Log(Format("E\tError while reading. Errorcode : %d",
               static_cast<std::int32_t>(A_X740_Cam_GetLastError() & 0x7FFFFFFFu)));
}

namespace {
int ToLong(const std::string& text) {
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}
} // namespace

void PanelCommands::SsiSetup() {
    std::string index = "0";
    if (!prompts_.AskSsiIndex(index)) {
        return;
    }
    int v[10] = {};
    if (A_X740_Cam_ReadSSISetup(app_.m_Handle, ToLong(index), &v[0], &v[1], &v[2], &v[3], &v[4],
                                &v[5], &v[6], &v[7], &v[8], &v[9]) != 1) {
        CamReadFailed();
        return;
    }
    Log("Inbetriebnahme SSI");
    Log(Format("Direction %d, Increments %d, Userincrements %d", v[0], v[1], v[2]));
    Log(Format("ModulIdx %d, ModulOffset %d", v[3], v[4]));
    Log(Format("Preset Modulidx %d, Preset ByteOffset %d", v[5], v[6]));
    Log(Format("Preset Modul Bitoffset %d, Valuemask %X, Optionsflag %d", v[7],
               static_cast<std::uint32_t>(v[8]), v[9]));
}

void PanelCommands::SsiOffset() {
    std::string index = "0";
    if (!prompts_.AskSsiIndex(index)) {
        return;
    }
    const int id = ToLong(index);
    int offset = 0;
    if (A_X740_Cam_ReadSSIEncoderOffset(app_.m_Handle, id, &offset) != 1) {
        CamReadFailed();
        return;
    }
    Log("Encoder Offset");
    Log(Format("ID %d, Offset %d", id, offset));
}

void PanelCommands::NswBlock() {
    std::string block = "0", bit = "-1";
    if (!prompts_.AskCamBlock(block, bit)) {
        return;
    }
    const int number = ToLong(block);
    int module = 0, offset = 0;
    if (A_X740_Cam_ReadNSWSetupBlock(app_.m_Handle, number, &module, &offset) != 1) {
        CamReadFailed();
        return;
    }
    Log("NSW Setup (Blockconfig)");
    Log(Format("Block Number %d, Modulindex %d, Bitoffset %d", number, module, offset));
}

void PanelCommands::NswBit() {
    std::string block = "0", bit = "0";
    if (!prompts_.AskCamBlock(block, bit)) {
        return;
    }
    const int number = ToLong(block);
    const int bitOffset = ToLong(bit);
    int track = 0;
    if (A_X740_Cam_ReadNSWSetupBit(app_.m_Handle, number, bitOffset, &track) != 1) {
        CamReadFailed();
        return;
    }
    Log("NSW Setup (Bitconfig)");
    Log(Format("Block Number %d, Bitoffset %d, Nockenbahn %d", number, bitOffset, track));
}

void PanelCommands::NswSetupSsi() {
    int index = 0, speed = 0;
    if (A_X740_Cam_ReadNSWSetupSSI(app_.m_Handle, &index, &speed) != 1) {
        CamReadFailed();
        return;
    }
    Log("NSW Setup ");
    Log(Format("SSI-Encoder Index %d, NSW Update Max. Speed %d", index, speed));
}

void PanelCommands::NswProg() {
    std::string block = "0", bit = "-1";
    if (!prompts_.AskCamBlock(block, bit)) {
        return;
    }
    const int number = ToLong(block);
    int channel = 0, startAngle = 0, startTime = 0, endAngle = 0, endTime = 0, type = 0;
    char name[20] = {};
    if (A_X740_Cam_ReadNSWProg(app_.m_Handle, number, &channel, name, &startAngle, &startTime,
                               &endAngle, &endTime, &type) != 1) {
        CamReadFailed();
        return;
    }
    Log("NSW Prog");
    Log(Format("Number %d, (%s) (Typ $%02x ) Channel %d", number, name, type, channel));
    Log(Format("Start %d (%d ms), End %d (%d ms)", startAngle, startTime, endAngle, endTime));
}

void PanelCommands::LoadModuleDescriptions(const std::string& language) {
    descriptions_.RemoveAll();
    if (app_.m_InstallDir.empty()) {
        clock_.sleep(CModuleDescriptionList::kScanEndPauseMs);
        return;
    }
    descriptions_.Scan(app_.m_InstallDir, language, nullptr, clock_);
}

std::string PanelCommands::GetModuleText(std::uint16_t id) const {
    for (int i = 0; i < descriptions_.GetSize(); ++i) {
        const CModuleDescription* d = descriptions_.GetAt(i);
        if (d->m_Id == id) {
            return d->m_Description + " - " + d->m_DisplayName;
        }
    }
    return {};
}

namespace {
void WriteKey(const char* section, const std::string& key, const std::string& value,
              const std::string& file) {
    // An empty text is written as one blank.
    mv::WritePrivateProfileStringA(section, key.c_str(), value.empty() ? " " : value.c_str(),
                                   file.c_str());
}
} // namespace

void PanelCommands::WriteSystemSections(const std::string& file) {
    const LinkHandle h = app_.m_Handle;
    WriteKey("System", "ControllerID", GetControllerIdText(), file);
    std::uint8_t bcd = 0, busBytes = 0, prints = 0;
    std::uint32_t ram = 0, nvram = 0, flashCode = 0, flashDevice = 0;
    if (A_X740_ReadSystemInfo(h, &bcd, &busBytes, &prints, &ram, &nvram, &flashCode,
                              &flashDevice) == 1) {
        const auto dec = [](std::uint32_t v) {
            return Format("%d", static_cast<std::int32_t>(v));
        };
        WriteKey("System", "SizeRAM", dec(ram), file);
        WriteKey("System", "SizeNVRAM", dec(nvram), file);
        WriteKey("System", "FlashCode", dec(flashCode), file);
        WriteKey("System", "FlashDeviceCode", dec(flashDevice), file);
    }
    ModuleInfoTexts info;
    if (ReadModuleInfoTexts(h, info)) {
        WriteKey("System", "FirmwareName", info.name, file);
        WriteKey("System", "FirmwareDate", info.date, file);
        WriteKey("System", "FirmwareVersion", info.version, file);
    }
    ModuleConfigRecord c;
    if (c.Read(h)) {
        WriteKey("System", "SerialNumber", c.serial, file);
        WriteKey("System", "IP_Address", c.ipAddress, file);
        WriteKey("System", "IP_SubnetMask", c.subnetMask, file);
        WriteKey("System", "IP_Gateway", c.gateway, file);
        WriteKey("System", "IP_UseDHCP", c.dhcp != 0 ? "1" : "0", file);
    }
    const int n = A_GetNumberOfModules(h);
    for (int i = 0; i < n; ++i) {
        WriteKey("IOConfig", Format("%d", i), GetModuleText(A_GetModulID(h, i)), file);
    }
}

} // namespace x740panel
