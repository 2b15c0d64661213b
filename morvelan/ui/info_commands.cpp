#include "morvelan/ui/info_commands.h"

#include "morvelan/core/command_ids.h"
#include "morvelan/ui/about_dlg.h"
#include "morvelan/ui/history_table.h"
#include "morvelan/ui/info_list_dlg.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/modul_info_dlg.h"
#include "morvelan/ui/module_dialog_seams.h"
#include "xui/history_dlg.h"

namespace morvelan {

void RegisterInfoTemplates() {
    static const xui::DialogTemplate history = xui::historyDlgTemplate(IDD_HISTORY, "History");
    static const xui::DialogTemplate about = aboutDlgTemplate();
    static const xui::DialogTemplate infoList = infoListDlgTemplate();
    static const xui::DialogTemplate modulInfo = modulInfoDlgTemplate();
    xui::registerDialogTemplates({&history, &about, &infoList, &modulInfo});
}

void InstallInfoCommands(CMainFrame& frame) {
    RegisterInfoTemplates();
    frame.Commands().Register(ID_HISTORY, [&frame] {
        xui::CHistoryDlg dlg(IDD_HISTORY, HistoryTable(), &frame);
        dlg.DoModal();
    });
    frame.Commands().Register(ID_APP_ABOUT, [&frame] { frame.App().OnAppAbout(); });
    CMorvelanApp* app = &frame.App();
    setModuleInfoViewer([app](const std::string& typeName, QWidget* parent) {
        CModulInfoDlg dlg(app->m_ProgramDir, app->m_Catalogue, &app->m_Language, parent);
        dlg.m_TypeName = typeName;
        dlg.DoModal();
    });
}

} // namespace morvelan
