#include "flash/flash_dialogs.h"

#include "flash/check_dlg.h"
#include "xui/history_dlg.h"

#include <QString>

namespace flash {

namespace {

constexpr std::uint32_t kDialogStyle =
    mv::WS_POPUP | mv::WS_CAPTION | mv::WS_SYSMENU | mv::DS_MODALFRAME | mv::DS_SETFONT;
constexpr std::uint32_t kChild = mv::WS_CHILD | mv::WS_VISIBLE;

} // namespace

xui::DialogTemplate CheckDlgTemplate() {
    return {CCheckDlg::kTemplateId,
            "Check",
            "MS Sans Serif",
            8,
            0,
            0,
            140,
            150,
            kDialogStyle,
            {
                {"CCheckListBox", CCheckDlg::kListId, "", 7, 7, 126, 106,
                 kChild | mv::WS_BORDER | mv::WS_VSCROLL | mv::WS_TABSTOP | mv::LBS_NOTIFY |
                     mv::LBS_OWNERDRAWFIXED | mv::LBS_HASSTRINGS},
                {"Static", CCheckDlg::kStatusId, "", 7, 117, 126, 9, kChild | mv::SS_LEFT},
                {"Button", mv::IDOK, "OK", 45, 130, 50, 14,
                 kChild | mv::WS_TABSTOP | mv::BS_DEFPUSHBUTTON},
            }};
}

void RegisterFlashTemplates() {
    static const xui::DialogTemplate check = CheckDlgTemplate();
    static const xui::DialogTemplate history = xui::historyDlgTemplate(102, "History");
    xui::registerDialogTemplates({&check, &history});
}

void RunHistoryDialog(const HistoryContent& content) {
    RegisterFlashTemplates();
    xui::CHistoryDlg dlg(content.templateId, content.lines);
    dlg.setWindowTitle(QString::fromStdString(content.caption));
    dlg.DoModal();
}

} // namespace flash
