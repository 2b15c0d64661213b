// What the project document asks of the running program (IDocHooks), answered by the
// application object, the frame, its tree and its rack view.
#pragma once

#include "morvelan/core/morvelan_doc_hooks.h"

class CMorvelanApp;

class CDocHooks : public mv::IDocHooks {
public:
    explicit CDocHooks(CMorvelanApp& app) : app_(app) {}

    std::string ProgramDir() override;
    const CModuleDescriptionList* Catalogue() override;
    CControllerConnection* Connection() override;
    int LoadLast() override;
    std::string MaskName() override;
    bool UnknownModule() override;
    void SetUnknownModule(bool on) override;
    CModuleTile* SelectedTile() override;
    void RefreshFrame() override;
    void AddToRecentFileList(const std::string& path) override;
    void InitialUpdateView() override;
    void SetRackLayout() override;
    int HorizontalScroll() override;
    int VerticalScroll() override;
    void RedrawView() override;
    void UpdateAllViews() override;
    void ClearTree() override;
    void RefreshTree() override;
    bool AskSaveProjectPath(std::string& path) override;
    std::unique_ptr<mv::ITileWindow> CreateTileWindow(CModuleTile& tile) override;

private:
    CMorvelanApp& app_;
};
