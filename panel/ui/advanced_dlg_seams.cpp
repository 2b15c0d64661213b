// Where the panel's data-file commands, the record editors and the FTP dialog join the panel.
// Until those parts are in place the commands do nothing.
#include "panel/ui/advanced_dlg.h"

namespace x740panel {
namespace {
FtpDialogRunner& Runner() {
    static FtpDialogRunner runner;
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
