// What the project document asks of the rest of the application: the application's state
// (catalogue, connection, settings, the unknown-module flag), the project tree, the main view,
// the frame and the file dialog. The application installs its implementation; until then (and
// in tests) the default answers with neutral values and keeps the unknown-module flag itself.
#pragma once

#include "morvelan/core/tile_window.h"

#include <memory>
#include <string>

class CModuleDescriptionList;
class CControllerConnection;
class CModuleTile;

namespace mv {

class IDocHooks {
public:
    virtual ~IDocHooks() = default;

    // Application state.
    // The program directory (no trailing separator needed); by default the folder the
    // description files are read from.
    virtual std::string ProgramDir();
    virtual const CModuleDescriptionList* Catalogue() { return nullptr; }
    virtual CControllerConnection* Connection() { return nullptr; }
    // The LOADLAST setting: 1 writes Config.mvl on closing.
    virtual int LoadLast() { return 0; }
    // The mask name given with MSK= on the command line; empty when none was given.
    virtual std::string MaskName() { return {}; }
    // The unknown-module flag: set while the project holds a module the catalogue lacks.
    virtual bool UnknownModule() { return m_UnknownModule; }
    virtual void SetUnknownModule(bool on) { m_UnknownModule = on; }

    // The main frame's selected tile (null when none).
    virtual CModuleTile* SelectedTile() { return nullptr; }
    virtual void RefreshFrame() {}
    virtual void AddToRecentFileList(const std::string& /*path*/) {}

    // The main view.
    // Its initial update for a new document, before anything is placed: the scroll back at
    // the origin, so the places the document gives its tiles are the view's.
    virtual void InitialUpdateView() {}
    virtual void SetRackLayout() {}
    virtual int HorizontalScroll() { return 0; }
    virtual int VerticalScroll() { return 0; }
    virtual void RedrawView() {}
    virtual void UpdateAllViews() {}

    // The project tree.
    virtual void ClearTree() {}
    virtual void AddStationToTree(int /*station*/) {}
    virtual void RefreshTree() {}

    // The window that shows a new tile (called once by CModuleTile::Create); null: no window.
    // The tile owns it and destroys it first when it is destroyed itself.
    virtual std::unique_ptr<ITileWindow> CreateTileWindow(CModuleTile& /*tile*/) {
        return nullptr;
    }

    // The file dialog for saving a project (default extension "mvl", filter
    // "Morvelan Files (*.mvl)|*.mvl|", hide read-only, ask before overwriting); false on Cancel.
    virtual bool AskSaveProjectPath(std::string& /*path*/) { return false; }

private:
    bool m_UnknownModule = false;
};

// The installed hooks (a default set until the application installs its own).
IDocHooks& docHooks();
// Installs hooks (not owned); nullptr restores the default set.
void setDocHooks(IDocHooks* hooks);

} // namespace mv
