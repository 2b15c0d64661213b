// CAdvancedDlg ("X740 Advanced"): the service panel. A menu and a toolbar of controller
// commands, a colour-coded log list, and a 1 s timer that drives the reconnect machine after
// a reset or the hand-over of the link to the FTP client.
#pragma once

#include "panel/core/panel_commands.h"
#include "panel/core/reachability_probe.h"
#include "panel/core/reconnect.h"
#include "panel/core/telegrams.h"
#include "panel/ui/mlist_box.h"
#include "xui/xdialog.h"

#include <QPointer>
#include <QTimer>

#include <functional>
#include <map>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QToolBar;

namespace x740panel {

inline constexpr int kMenuResource = 15029;
inline constexpr int kToolbarResource = 15030;
inline constexpr int kReconnectTimerMs = 1000;
inline constexpr int kResetSettleMs = 2000;
inline constexpr mv::COLORREF kTooltipColor = 0xC0FFFF;
// The controller family whose SSI and cam-switch functions the panel offers.
inline constexpr std::uint16_t kCamControllerFamily = 0x3200;

inline constexpr const char* kNswWarningValue = "NSWWarning";
// Login of the controller's FTP server when its system configuration cannot be read.
inline constexpr const char* kFallbackFtpUser = "kvn";
inline constexpr const char* kFallbackFtpPassword = "qmx";

// What the FTP dialog is handed (step 6 of the hand-over).
struct FtpHandover {
    int firmwareMajor = 0;
    CMListBox* log = nullptr; // the FTP code writes its lines here
    std::string host;         // dotted address of the controller
    std::string password;
    std::string user;
};

class CAdvancedDlg;

// Runs the FTP dialog of the hand-over (the link is closed by then; the dialog writes its lines
// into handover.log). The panel's FTP dialog unless another is set; without one the hand-over
// goes on to the reset at once.
using FtpDialogRunner = std::function<void(CAdvancedDlg& panel, const FtpHandover& handover)>;
void SetFtpDialogRunner(FtpDialogRunner runner);

// The file chooser of the data-file commands: save (with overwrite prompt) or open, a filter
// "text|pattern|", default extension "ini"; false when cancelled. A non-native file dialog
// unless another is set.
using DataFileChooser =
    std::function<bool(QWidget* parent, bool save, const std::string& filter, std::string& path)>;
void SetDataFileChooser(DataFileChooser chooser);

class CAdvancedDlg : public xui::CXDialog, public PanelLog, public PanelPrompts {
    Q_OBJECT

public:
    explicit CAdvancedDlg(QWidget* parent = nullptr);
    ~CAdvancedDlg() override;

    // PanelLog
    void AddLogLine(const std::string& text,
                    std::unique_ptr<LogItemRecord> record = nullptr) override;
    void ReplaceLogLine(const std::string& text) override;
    // PanelPrompts
    bool AskSsiIndex(std::string& index) override;
    bool AskCamBlock(std::string& block, std::string& bitOffset) override;

    // Removes, translates and dispatches one waiting event; true when there was one.
    bool PumpMessage();
    void EnableControls(bool on);
    std::string GetControllerIdText() { return commands_.GetControllerIdText(); }
    std::string GetModuleText(std::uint16_t id) const { return commands_.GetModuleText(id); }
    void WriteSystemSections(const std::string& file) { commands_.WriteSystemSections(file); }

    // The raw service telegrams, on the panel's current link.
    bool ReadSsiSetupRaw(int index, SsiSetupValues& v) { return x740panel::ReadSsiSetupRaw(app_, index, v); }
    bool WriteSsiSetupRaw(int index, const SsiSetupValues& v) { return x740panel::WriteSsiSetupRaw(app_, index, v); }
    bool ReadSsiOffsetRaw(int index, std::int32_t& o) { return x740panel::ReadSsiOffsetRaw(app_, index, o); }
    bool WriteSsiOffsetRaw(int index, std::int32_t o) { return x740panel::WriteSsiOffsetRaw(app_, index, o); }
    bool ReadNswSetupRaw(int& a, int& b) { return x740panel::ReadNswSetupRaw(app_, a, b); }
    bool WriteNswSetupRaw(int a, int b) { return x740panel::WriteNswSetupRaw(app_, a, b); }
    bool ReadBlockConfigRaw(int block, int& c, int& d) { return x740panel::ReadBlockConfigRaw(app_, block, c, d); }
    bool WriteBlockConfigRaw(int a, int b, int c) { return x740panel::WriteBlockConfigRaw(app_, a, b, c); }
    bool ReadBitConfigRaw(int a, int b, int& c) { return x740panel::ReadBitConfigRaw(app_, a, b, c); }
    bool WriteBitConfigRaw(int a, int b, int c) { return x740panel::WriteBitConfigRaw(app_, a, b, c); }

    // One tick of the reconnect machine (what timer 1 runs every second).
    void OnTimer();

    CMListBox* LogList() const { return log_; }
    QAction* Action(int id) const;
    QMenu* Menu(const QString& title) const;
    QToolBar* ToolBar() const { return toolbar_; }
    QLabel* TooltipWindow() const { return tooltip_; }
    const ReconnectState& Reconnect() const { return reconnect_; }
    std::uint32_t Port() const { return port_; }
    int NswWarnings() const { return nswWarnings_; }
    bool WaitCursorHeld() const { return waitCursor_; }
    bool Busy() const { return busy_; }
    const PanelCommands& Commands() const { return commands_; }
    PanelCommands& Commands() { return commands_; }
    void SetWaitCursorHeld(bool on) { SetWaitCursor(on); }

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void CreateMenu();
    bool CreateToolBar();
    void ApplyControllerGating(std::uint16_t controllerId);
    void RunCommand(int id);
    void OnReset();
    void OnFtpClient();
    void OnIpConfig();
    void OnIdentification();
    void OnNswWarnings();
    void OnLogDoubleClick();
    void StartReconnect();
    void SyncWaitCursor();
    void SetWaitCursor(bool on);
    void ShowTooltip(QWidget* button, const QString& text);

    // Seams filled by the data-file and FTP code: the data-file commands (SSI, cam-switch and
    // filter files to and from the controller, and the offset write), the record editor a
    // log line's record opens, and the FTP dialog of the hand-over.
    void OnDataFileCommand(int id);
    void OpenRecordEditor(const LogItemRecord& record);
    void RunFtpDialog(const FtpHandover& handover);

    CX740PanelApp& app_;
    PanelCommands commands_;
    CMListBox* log_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QLabel* tooltip_ = nullptr;
    std::map<int, QAction*> actions_;
    std::map<QString, QMenu*> menus_;
    QTimer timer_;
    ReconnectState reconnect_;
    std::optional<CReachabilityProbe> probe_;
    std::uint32_t port_ = 0;
    int nswWarnings_ = 1;
    bool busy_ = false;
    bool waitCursor_ = false;
};

} // namespace x740panel
