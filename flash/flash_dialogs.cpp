#include "flash/flash_dialogs.h"

#include "xui/history_dlg.h"

#include <QString>

namespace flash {

void RegisterFlashTemplates() {
    static const xui::DialogTemplate history = xui::historyDlgTemplate(102, "History");
    xui::registerDialogTemplates({&history});
}

void RunHistoryDialog(const HistoryContent& content) {
    RegisterFlashTemplates();
    xui::CHistoryDlg dlg(content.templateId, content.lines);
    dlg.setWindowTitle(QString::fromStdString(content.caption));
    dlg.DoModal();
}

} // namespace flash
