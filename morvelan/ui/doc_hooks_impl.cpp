#include "morvelan/ui/doc_hooks_impl.h"

#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/module_tile_wnd.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/morvelan_view.h"
#include "platform/settings_store.h"

std::string CDocHooks::ProgramDir() {
    return app_.m_ProgramDir;
}

const CModuleDescriptionList* CDocHooks::Catalogue() {
    return &app_.m_Catalogue;
}

CControllerConnection* CDocHooks::Connection() {
    return &app_;
}

int CDocHooks::LoadLast() {
    return app_.m_Ini.loadLast;
}

std::string CDocHooks::MaskName() {
    return app_.m_MaskFile;
}

bool CDocHooks::UnknownModule() {
    return app_.m_UnknownModule != 0;
}

void CDocHooks::SetUnknownModule(bool on) {
    app_.m_UnknownModule = on ? 1 : 0;
}

CModuleTile* CDocHooks::SelectedTile() {
    return app_.m_pFrame ? app_.m_pFrame->SelectedTile() : nullptr;
}

void CDocHooks::RefreshFrame() {
    if (app_.m_pFrame)
        app_.m_pFrame->UpdateTitle();
}

void CDocHooks::AddToRecentFileList(const std::string& path) {
    mv::addRecentFile(app_.m_RecentFiles, path);
}

void CDocHooks::InitialUpdateView() {
    if (app_.m_pFrame && app_.m_pFrame->View())
        app_.m_pFrame->View()->OnInitialUpdate();
}

void CDocHooks::SetRackLayout() {
    if (app_.m_pFrame && app_.m_pFrame->View())
        app_.m_pFrame->View()->LayoutRack();
}

int CDocHooks::HorizontalScroll() {
    return app_.m_pFrame && app_.m_pFrame->View() ? app_.m_pFrame->View()->HorizontalScroll() : 0;
}

int CDocHooks::VerticalScroll() {
    return app_.m_pFrame && app_.m_pFrame->View() ? app_.m_pFrame->View()->VerticalScroll() : 0;
}

void CDocHooks::RedrawView() {
    if (app_.m_pFrame && app_.m_pFrame->View())
        app_.m_pFrame->View()->Invalidate();
}

void CDocHooks::UpdateAllViews() {
    RedrawView();
}

void CDocHooks::ClearTree() {
    if (app_.m_pFrame && app_.m_pFrame->Tree())
        app_.m_pFrame->Tree()->Clear();
}

void CDocHooks::RefreshTree() {
    if (app_.m_pFrame && app_.m_pFrame->Tree())
        app_.m_pFrame->Tree()->FillTree();
}

bool CDocHooks::AskSaveProjectPath(std::string& path) {
    if (!app_.m_ChooseSaveFile)
        return false;
    const std::string chosen = app_.m_ChooseSaveFile(kSaveProjectFilter, path);
    if (chosen.empty())
        return false;
    path = chosen;
    return true;
}

std::unique_ptr<mv::ITileWindow> CDocHooks::CreateTileWindow(CModuleTile& tile) {
    CMainFrame* frame = app_.m_pFrame;
    if (!frame || !frame->View())
        return nullptr;
    return MakeTileWindow(tile, *frame, frame->View()->TileParent());
}
