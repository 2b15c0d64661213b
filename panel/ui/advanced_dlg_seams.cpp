// Where the panel's data-file commands, the record editors and the FTP dialog join the panel.
// Until those parts are in place the commands do nothing.
#include "panel/ui/advanced_dlg.h"

#include "panel/ftp/ftp_events.h"
#include "panel/ftpdlg/ftp_dlg.h"
#include "panel/ui/mlist_box.h"
#include "panel/ui/panel_clock.h"

namespace x740panel {

namespace {

// The panel's log list as the log of the FTP code: each line is appended, made the current
// line and shown at once.
class LogListSink final : public ftp::LogSink {
public:
    explicit LogListSink(CMListBox* list) : list_(list) {}
    void AddLine(std::string_view line) override {
        if (list_ == nullptr)
            return;
        list_->AddLine(std::string(line), nullptr);
        list_->repaint();
    }

private:
    CMListBox* list_;
};

// The FTP dialog over the hand-over's login, its lines in the panel's log list.
void RunPanelFtpDialog(CAdvancedDlg& panel, const FtpHandover& handover) {
    LogListSink log(handover.log);
    ftpdlg::CFtpDlg dlg(&panel);
    dlg.SetFirmwareMajor(handover.firmwareMajor);
    dlg.SetLogList(&log);
    dlg.SetHost(handover.host);
    dlg.SetPassword(handover.password);
    dlg.SetUser(handover.user);
    dlg.SetClock(&PanelClock());
    dlg.DoModal();
}

FtpDialogRunner& Runner() {
    static FtpDialogRunner runner = RunPanelFtpDialog;
    return runner;
}

} // namespace

void SetFtpDialogRunner(FtpDialogRunner runner) { Runner() = std::move(runner); }

void CAdvancedDlg::OnDataFileCommand(int /*id*/) {}

void CAdvancedDlg::OpenRecordEditor(const LogItemRecord& record) {
    switch (record.type) {
    case kLogItemSsiSection:
    case kLogItemNswSetup:
    case kLogItemBlockConfig:
    case kLogItemBitConfig:
    case kLogItemCam:
    default:
        break;
    }
}

void CAdvancedDlg::RunFtpDialog(const FtpHandover& handover) {
    if (Runner()) {
        Runner()(*this, handover);
    }
}

} // namespace x740panel
