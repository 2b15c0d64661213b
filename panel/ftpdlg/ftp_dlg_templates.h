// The dialog templates of the FTP dialog and its small dialogs.
#pragma once

#include "xui/dialog_template.h"

namespace ftpdlg {

const xui::DialogTemplate& FtpDlgTemplate();
const xui::DialogTemplate& StatusDlgTemplate();
const xui::DialogTemplate& OverwriteDlgTemplate();
const xui::DialogTemplate& MessageDlgTemplate();

} // namespace ftpdlg
