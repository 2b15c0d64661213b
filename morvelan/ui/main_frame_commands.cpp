// The commands the frame serves itself: files, special boards, delete, upload, firmware
// information, port, debug, module list, language and help.
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/flag_module.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/param_number.h"
#include "morvelan/ui/frame_seams.h"
#include "morvelan/ui/language_dlg.h"
#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/morvelan_view.h"
#include "morvelan/ui/online_commands.h"
#include "platform/win_path.h"

#include <sys/stat.h>

namespace {

// Catalogue keys of the special boards.
constexpr const char* kKeyK2270 = "@K2270";
constexpr const char* kKeyK2271 = "@K2271";
constexpr const char* kKeyEmpty = "@PEmpty";
// Help documents: the newest of "0255.pdf" down to "0000.pdf" in the help folder.
constexpr int kNewestHelp = 255;
constexpr int kTextHelpFolder = 10022;

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

void CMainFrame::RegisterOwnCommands() {
    DialogSeams& seams = dialogSeams();
    commands_.Register(ID_FILE_NEW, [this] { NewDocument(); });
    commands_.Register(ID_FILE_OPEN, [this] { OnFileOpen(); });
    commands_.Register(ID_FILE_SAVE, [this] { OnFileSave(); });
    commands_.Register(ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); });
    commands_.Register(ID_FILE_IMPORT, [this] { OnFileImport(); });
    commands_.Register(ID_APP_EXIT, [this] { close(); });
    commands_.Register(ID_INSERT_K2270, [this] { OnInsertSpecial(0); });
    commands_.Register(ID_INSERT_K2271, [this] { OnInsertSpecial(1); });
    commands_.Register(ID_INSERT_EMPTY, [this] { OnInsertSpecial(-1); });
    commands_.Register(ID_DELETE_MODULE, [this] { OnDelete(); });
    commands_.Register(ID_HELP_DOCUMENT, [this] { ShowHelp(); });
    commands_.Register(ID_LANGUAGE, [this] {
        morvelan::CLanguageDlg dlg(app_.m_Language, this);
        dlg.DoModal();
        SetMenuTexts();
        SetToolbarTexts();
    });
    commands_.Register(
        ID_UPLOAD, [this] { Upload(0); }, [&seams] { return bool(seams.uploadDialog); });
    commands_.Register(
        ID_SAVED_CONFIGURATION, [this] { Upload(1); },
        [&seams] { return bool(seams.uploadDialog); });
    commands_.Register(
        ID_FIRMWARE_INFO, [this] { ShowFirmwareInfo(); },
        [&seams] { return bool(seams.firmwareDialog); });
    commands_.Register(
        ID_MODULE_CHECK, [&seams] { seams.moduleCheckDialog(); },
        [&seams] { return bool(seams.moduleCheckDialog); });
    commands_.Register(
        ID_PORT, [this] { OnPort(); }, [&seams] { return bool(seams.portDialog); });
    commands_.Register(
        ID_DEBUG, [this] { OnDebug(); }, [&seams] { return bool(seams.onlineSwitch); });
    commands_.Register(
        ID_SHOW_MODULES, [this] { OnShowModules(); },
        [&seams] { return bool(seams.moduleListDialog); });
}

void CMainFrame::OnFileOpen() {
    const std::string path = app_.m_ChooseOpenFile(kProjectFilter);
    if (!path.empty())
        OpenDocumentFile(path);
}

void CMainFrame::OnFileImport() {
    const std::string path = app_.m_ChooseOpenFile(kProjectFilter);
    if (!path.empty())
        ImportDocument(path);
}

void CMainFrame::OnFileSave() {
    doc_.OnFileSave();
    UpdateTitle();
}

void CMainFrame::OnFileSaveAs() {
    doc_.OnFileSaveAs();
    UpdateTitle();
}

void CMainFrame::PrepareInsert() {
    app_.m_LayoutMode = 1;
    view_->LayoutRack();
    view_->Invalidate();
}

void CMainFrame::OnInsertSpecial(int kind) {
    PrepareInsert();
    CModuleTile* tile = SelectedTile();
    if (!tile)
        return;
    int position = 1;
    if (!tile->IsController()) {
        tile->m_Highlight = 0;
        // Right behind the selected board, by its place in the station.
        const CStation* station = doc_.Station(tile->m_Station);
        const int index = station ? station->IndexOf(tile) : -1;
        if (index < 0)
            return;
        position = index + 1;
    }
    if (kind < 0)
        InsertEmptyModul(position);
    else
        InsertSpecialModul(position, kind);
}

void CMainFrame::InsertSpecialModul(int position, int kind) {
    InsertByKey(position, kind == 1 ? kKeyK2271 : kKeyK2270, kind);
}

void CMainFrame::InsertEmptyModul(int position) {
    InsertByKey(position, kKeyEmpty, -1);
}

void CMainFrame::InsertByKey(int position, const char* key, int kind) {
    PrepareInsert();
    const int found = app_.m_Catalogue.FindByName(key);
    if (found < 0) {
        // Without the catalogue entry nothing is inserted.
        mv::appHooks().ShowMessage(
            mv::ErrorMessage(std::string("Module description missing: ") + key));
        return;
    }
    auto tile = std::make_unique<CModuleTile>();
    tile->Create(app_.m_Catalogue.GetAt(found), app_.m_ProgramDir);
    if (kind == 1) {
        if (auto* flag = dynamic_cast<CFlagModule*>(&tile->Module()))
            flag->m_Option = 1;
    }
    CModuleTile* inserted = doc_.InsertModuleAt(tile, position);
    if (!inserted) {
        mv::appHooks().ShowMessage(mv::ErrorMessage(
            std::string("Module cannot be inserted: ") + key,
            mv::FormatC("Position %d", position)));
        return;
    }
    const CStation* station = doc_.Station(inserted->m_Station);
    const int headWidth = station->Tile(0)->Module().width;
    inserted->MoveTo(position * kRackPitch + headWidth - 21 - view_->HorizontalScroll(),
                     kRackTop - view_->VerticalScroll(), inserted->Module().width, kRackHeight,
                     false);
    inserted->m_Slot = position - 1;
    RefreshProject(inserted);
}

void CMainFrame::OnDelete() {
    CModuleTile* tile = SelectedTile();
    if (!tile)
        return;
    CModuleTile* next = nullptr;
    const int stationIndex = tile->m_Station;
    if (tile->IsController()) {
        // A deleted station leaves nothing selected.
        doc_.DeleteGroup(stationIndex);
    } else {
        tile->m_Highlight = 0;
        const CStation* station = doc_.Station(stationIndex);
        const int index = station ? station->IndexOf(tile) : -1;
        if (index < 0)
            return;
        next = doc_.RemoveModuleAt(stationIndex, index);
    }
    RefreshProject(next);
}

int CMainFrame::Upload(int mode) {
    app_.m_LayoutMode = 1;
    mv::appHooks().SetWaitCursor(true);
    int opened = 0;
    if (app_.OpenConnection(1) == 1) {
        opened = 1;
        m_UploadFlag = 1;
        if (dialogSeams().uploadDialog)
            dialogSeams().uploadDialog(mode);
        m_UploadFlag = 0;
    }
    app_.CloseConnection();
    mv::appHooks().SetWaitCursor(false);
    RepaintStatusBar();
    return opened;
}

void CMainFrame::ShowFirmwareInfo() {
    PausePolling();
    CModuleTile* tile = SelectedTile();
    const CStation* station = tile ? doc_.Station(tile->m_Station) : nullptr;
    if (station && station->TileCount() > 0 && dialogSeams().firmwareDialog) {
        std::string fw, fd, fv;
        station->Tile(0)->Module().GetFirmwareTexts(fw, fd, fv);
        // The module's first text goes to the second field, its second to the first.
        dialogSeams().firmwareDialog(fd, fw, fv);
    }
    ResumePolling();
}

void CMainFrame::OnPort() {
    int choice = app_.m_Com;
    dialogSeams().portDialog(choice);
    app_.m_Com = choice;
    RepaintStatusBar();
}

void CMainFrame::OnDebug() {
    morvelan::COnlineSession& session = online_->Session();
    session.SetDebugFlag(session.DebugFlag() ? 0 : 1);
    dialogSeams().onlineSwitch(*this);
    // The debug flag follows the online flag: a refused go-online leaves it 0.
    session.SetDebugFlag(app_.m_Online);
    UpdateCommandStates();
}

void CMainFrame::OnShowModules() {
    PausePolling();
    dialogSeams().moduleListDialog();
    ResumePolling();
}

void CMainFrame::ShowHelp() {
    const std::string folder = app_.m_ProgramDir + mv::LanguageText(kTextHelpFolder);
    std::string name;
    for (int n = kNewestHelp; n >= 0; --n) {
        name = mv::toSlashPath(folder + mv::FormatC("%04d.pdf", n));
        const std::string resolved = mv::resolvePath(name);
        if (!FileExists(resolved))
            continue;
        if (!app_.m_OpenDocumentFile(resolved))
            app_.ShowDocumentOpenFailure(resolved);
        return;
    }
    app_.ShowNoDocumentation(name);
}
