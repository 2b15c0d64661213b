// CMainFrame: morvelan's one top-level window. It owns the project document, a splitter with
// the project tree (CLeftView) and the rack view (CMorvelanView), the toolbar, the coloured
// status bar, menu 128 and the accelerators; every menu item, toolbar button and accelerator
// runs through one command table. It decides which commands are available, inserts the
// special boards, opens the help document and offers the online mode its flags and hooks.
#pragma once

#include "morvelan/core/command_ids.h"
#include "morvelan/core/frame_update_rules.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/online/online_frame.h"
#include "morvelan/ui/command_table.h"

#include <QMainWindow>
#include <QTimer>

#include <map>
#include <memory>
#include <string>

class CMorvelanApp;
class COnlineFrame;
class CLeftView;
class CMorvelanView;
class CMainToolBar;
class CColorStatusBar;
class CModuleTile;
class QMenu;
class QSplitter;

// Resources of the frame.
constexpr int IDR_MAINFRAME = 128;   // menu and accelerators
constexpr int IDR_TREE_MENU = 132;   // the tree's context menu
constexpr int IDB_TOOLBAR_HOT = 130; // toolbar images under the mouse
constexpr int IDB_TOOLBAR = 131;     // toolbar images
constexpr int IDB_TREE = 134;        // tree images
constexpr int AFX_IDW_TOOLBAR = 0xE800;
constexpr int AFX_IDW_STATUS_BAR = 0xE801;
constexpr int AFX_IDW_PANE_FIRST = 0xE900;
inline constexpr const char* kFrameTitleSuffix = " - morvelan";
// The title the framework gives a new document.
inline constexpr const char* kUntitled = "Unbenannt";
// Number of menu 128's popups: File, Edit, Online, Extras, ?.
constexpr int kMainPopups = 5;

// The live value grid an online module dialog shows; the frame redraws it after every poll.
using IOnlineGrid = morvelan::IOnlineGrid;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(CMorvelanApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Creation in its fixed order: splitter with both views, toolbar with images and buttons,
    // status bar, tool-tip and menu texts, then the commands. False when a part fails.
    bool Create();

    CMorvelanApp& App() const { return app_; }
    CMorvelanDoc& Doc() { return doc_; }
    CLeftView* Tree() const { return tree_; }
    CMorvelanView* View() const { return view_; }
    CMainToolBar* ToolBar() const { return toolBar_; }
    CColorStatusBar* ColorStatusBar() const { return statusBar_; }
    QSplitter* Splitter() const { return splitter_; }

    // Commands.
    CommandTable& Commands() { return commands_; }
    // Runs a command when its update rule and its handler allow; false when it did not run.
    bool OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    FrameUpdateState UpdateState() const;
    // Applies the update rules to every menu item and toolbar button.
    void UpdateCommandStates();
    // The action of a command (menu item and toolbar button share it); null when none.
    QAction* Action(int id) const;
    // Menu 128's popup at a position (0 File .. 4 ?).
    QMenu* Popup(int position) const;
    // A new action for a command that is not in menu 128 (the tree's context menu).
    QAction* MakeAction(int id, const QString& text);

    // Texts from the language table.
    void SetMenuTexts();
    void SetToolbarTexts();

    // Online mode's hooks: polling paused and resumed around modal online actions, and the live
    // value grid that is shown.
    void PausePolling();
    void ResumePolling();
    int IsPollingEnabled() const;
    void SetOnlineGrid(IOnlineGrid* grid);
    void ClearOnlineGrid();
    IOnlineGrid* OnlineGrid() const;
    // Online mode: the polling session with timer 1 and the idle time it watches.
    COnlineFrame& Online() const { return *online_; }
    void DisableMainMenus();
    void EnableMainMenus();
    // The enter-idle probe: lowered while a modal dialog or a popup waits for input.
    void OnEnterIdle();
    // Upload (mode 0) or saved configuration (mode 1); 1 when the connection opened.
    int Upload(int mode = 0);

    // Inserting special boards at a position of the selected tile's station.
    void InsertSpecialModul(int position, int kind);
    void InsertEmptyModul(int position);
    // Layout mode 1, the rack layout and a redraw of the view (the insert commands' start).
    void PrepareInsert();

    // Documents.
    bool NewDocument();
    // Opens a project; true on success. The tree and the view show it either way.
    bool OpenDocumentFile(const std::string& path);
    void ImportDocument(const std::string& path);
    // The window title: document title + " - morvelan".
    void UpdateTitle();
    // Selects the first tile of the first station in the tree (after LOADLAST).
    void SelectFirstTile();
    // The tree's selection.
    CModuleTile* SelectedTile() const;
    // Fills the tree and redraws the view after a change of the project's structure.
    void RefreshProject(CModuleTile* select = nullptr);

    // Help (32802): the newest "%04d.pdf" of the help folder.
    void ShowHelp();
    void ShowFirmwareInfo();
    // Writes the project's texts and states into a status pane and repaints the status bar.
    void RepaintStatusBar();

    // Frame state (the application object holds the program-wide state).
    int m_UploadFlag = 0;
    // The Debug command's flag (kept by the online session).
    int DebugFlag() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool AcceptsDrop() const;
    // Accepts a drop or its entry as a copy when a project may be dropped; false when refused.
    bool AcceptDropAsCopy(QDropEvent* event) const;
    // Shows a document that lost its file (a stopped open or import) as untitled.
    void ShowUntitledWhenForgotten();
    void CreateMenus();
    void CreateAccelerators();
    void RegisterOwnCommands();
    void FillRecentFiles();
    void OnInsertSpecial(int kind);
    void OnDelete();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileOpen();
    void OnFileImport();
    void OnPort();
    void OnDebug();
    void OnShowModules();
    void InsertByKey(int position, const char* key, int kind);

    CMorvelanApp& app_;
    CMorvelanDoc doc_;
    CommandTable commands_;
    QSplitter* splitter_ = nullptr;
    CLeftView* tree_ = nullptr;
    CMorvelanView* view_ = nullptr;
    CMainToolBar* toolBar_ = nullptr;
    CColorStatusBar* statusBar_ = nullptr;
    QMenu* popups_[kMainPopups] = {};
    QMenu* recentMenu_ = nullptr;
    std::map<int, QAction*> actions_;
    // Declared last: made after the document and the views it works on, gone before them.
    std::unique_ptr<COnlineFrame> online_;
};
