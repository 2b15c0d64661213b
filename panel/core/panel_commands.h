// The service panel's controller commands that need no window of their own: the System
// reads, clearing the configuration, starting the FTP server and the SSI and cam-switch reads.
// Each reports its result as log lines. Also the operations the data-file code shares: the
// controller ID text, module names, the module information texts and the system sections of
// a data file.
#pragma once

#include "catalogue/module_description.h"
#include "panel/core/panel_app.h"
#include "panel/core/panel_log.h"

#include <string>

namespace mv {
class Clock;
}

namespace x740panel {

// Command ids of the panel's menu and toolbar.
enum PanelCommand : int {
    kCmdProtocolId = 40001,
    kCmdModuleIds = 40002,
    kCmdControllerId = 40003,
    kCmdInputs = 40004,
    kCmdSystemInfo = 40005,
    kCmdStatus = 40006,
    kCmdModuleConfig = 40007,
    kCmdMainService = 40010,
    kCmdSerialService = 40011,
    kCmdIpConfig = 40012,
    kCmdClearConfig = 40013,
    kCmdReset = 40014,
    kCmdStartFtpServer = 40015,
    kCmdFtpClient = 40016,
    kCmdSsiSetup = 40020,
    kCmdNswBlock = 40024,
    kCmdNswBit = 40025,
    kCmdNswProg = 40027,
    kCmdSsiToModule = 40028,
    kCmdSsiOffset = 40029,
    kCmdNswFromModule = 40030,
    kCmdNswToModule = 40032,
    kCmdNswSetupSsi = 40033,
    kCmdSsiFromModule = 40044,
    kCmdNswWarnings = 40050,
    kCmdFilterFromModule = 40052,
    kCmdFilterToModule = 40053,
    kCmdSsiOffsetWrite = 40054,
    kCmdIdentification = 40063,
};

// Pause after clearing the configuration and after starting the FTP server.
inline constexpr int kCommandPauseMs = 500;
// Size of the module information record buffer.
inline constexpr std::size_t kModuleInfoSize = 256;

inline constexpr const char* kDataErrorLine = "E\tData Error";

// The three texts of the module information record (firmware name, date, version).
struct ModuleInfoTexts {
    std::string name;
    std::string date;
    std::string version;
};
// Reads the record with A_ReadModulInfo into a zeroed buffer and takes its three texts
// within it; false when the read fails.
bool ReadModuleInfoTexts(LinkHandle handle, ModuleInfoTexts& texts);

class PanelCommands {
public:
    PanelCommands(CX740PanelApp& app, PanelLog& log, PanelPrompts& prompts, mv::Clock& clock);

    // Runs a command of the table above that needs no dialog; false for any other id.
    bool Run(int id);

    // Reads every description file of the installation's Modul folder (none without an
    // installation folder), sorted by file name.
    void LoadModuleDescriptions(const std::string& language);
    const CModuleDescriptionList& Descriptions() const { return descriptions_; }

    // "0x%0x" of the controller ID, or "Data Error".
    std::string GetControllerIdText();
    // Description, " - " and display name of the first record read with that ID; empty when
    // none has it.
    std::string GetModuleText(std::uint16_t id) const;
    // Writes the [System] and [IOConfig] sections of a data file.
    void WriteSystemSections(const std::string& file);

private:
    void Status();
    void ModuleConfig();
    void SystemInfo();
    void ModuleIds();
    void ProtocolId();
    void Inputs();
    void MainService();
    void SerialService();
    void ClearConfig();
    void StartFtpServer();
    void SsiSetup();
    void SsiOffset();
    void NswBlock();
    void NswBit();
    void NswSetupSsi();
    void NswProg();
    void CamReadFailed();
    void Log(const std::string& text) { log_.AddLogLine(text); }

    CX740PanelApp& app_;
    PanelLog& log_;
    PanelPrompts& prompts_;
    mv::Clock& clock_;
    CModuleDescriptionList descriptions_;
};

// Text helpers (exposed for tests).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The serial service line after "SerService: ": handshake, data bits, stop bits, parity.
std::string SerialFlagsText(int flags);

} // namespace x740panel
