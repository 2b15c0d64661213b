#include "morvelan/ui/module_dialog_commands.h"

#include "morvelan/core/command_ids.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/station.h"
#include "morvelan/ui/frame_seams.h"
#include "morvelan/ui/label_dlgs.h"
#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/modul_list_dlg.h"
#include "morvelan/ui/module_dialog_seams.h"
#include "morvelan/ui/module_insert_dlgs.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/morvelan_view.h"
#include "morvelan/ui/port_select_dlg.h"
#include "morvelan/ui/project_dlg.h"

#include <QPointer>

namespace morvelan {
namespace {

// The frame's document, tree and rack view as the insertion dialogs see them.
class FrameWorkspace : public IModuleWorkspace {
public:
    explicit FrameWorkspace(CMainFrame& frame) : frame_(frame) {}
    CMorvelanDoc* Document() override { return &frame_.Doc(); }
    std::string ProgramDir() override { return frame_.App().m_ProgramDir; }
    int HorizontalScroll() override { return frame_.View()->HorizontalScroll(); }
    int VerticalScroll() override { return frame_.View()->VerticalScroll(); }
    CModuleTile* SelectedTile() override { return frame_.SelectedTile(); }
    void FillTree() override { frame_.Tree()->FillTree(); }
    void RepaintView() override { frame_.View()->Invalidate(); }
    void SelectModul(CModuleTile* tile) override { frame_.Tree()->SelectModul(tile); }

private:
    CMainFrame& frame_;
};

// The tile shows its new labels.
int Repainted(CModuleTile& tile, int result) {
    if (result == mv::IDOK)
        tile.Refresh(1);
    return result;
}

// Commands 32771 and 32772: the rack layout, then the dialog over the frame's workspace.
template <class Dialog> void RunInsertDialog(const QPointer<CMainFrame>& f) {
    if (!f)
        return;
    f->PrepareInsert();
    FrameWorkspace workspace(*f);
    Dialog dlg(f->App().m_Catalogue, workspace, f);
    dlg.DoModal();
    f->UpdateCommandStates();
}

} // namespace

void InstallModuleDialogCommands(CMainFrame& frame) {
    QPointer<CMainFrame> f(&frame);
    frame.Commands().Register(ID_INSERT_CONTROLLER,
                              [f] { RunInsertDialog<CInsertControlModuleDlg>(f); });
    frame.Commands().Register(ID_ADD_MODULES, [f] { RunInsertDialog<CAddModulesDlg>(f); });

    DialogSeams& seams = dialogSeams();
    seams.projectDialog = [f] {
        if (!f)
            return 0;
        CProjectDlg dlg(f->Doc(), f);
        const int result = dlg.DoModal();
        f->UpdateTitle();
        return result;
    };
    seams.changeModuleDialog = [f](int index) {
        CStation* station = f ? f->Doc().Station(index) : nullptr;
        if (!station)
            return 0;
        CChangeModuleDlg dlg(*station, f);
        const int result = dlg.DoModal();
        f->RefreshProject(f->SelectedTile());
        return result;
    };
    seams.labelDialog = [f](CModuleTile& tile) {
        CLabelDlg dlg(tile, f);
        return Repainted(tile, dlg.DoModal());
    };
    seams.sliderLabelDialog = [f](CModuleTile& tile) {
        CSliderLabelDlg dlg(tile, f);
        return Repainted(tile, dlg.DoModal());
    };
    seams.controllerSliderLabelDialog = [f](CModuleTile& tile) {
        CControllerSliderLabelDlg dlg(tile, f);
        return Repainted(tile, dlg.DoModal());
    };
    seams.portDialog = [f](int& choice) {
        CPortSelectDlg dlg(choice, f);
        return dlg.DoModal();
    };
    seams.moduleListDialog = [f] {
        if (!f)
            return 0;
        CModulListDlg dlg(f->App().m_Catalogue, f->App().m_Ini.pictureDocumentation(), f);
        return dlg.DoModal();
    };
}

} // namespace morvelan
