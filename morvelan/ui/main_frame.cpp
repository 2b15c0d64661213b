// The frame's creation, menus, texts, command states and documents.
#include "morvelan/ui/main_frame.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/ui/color_status_bar.h"
#include "morvelan/ui/frame_command_modules.h"
#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_toolbar.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/morvelan_view.h"
#include "morvelan/ui/online_commands.h"
#include "platform/settings_store.h"
#include "xui/qt_text.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QSplitter>

#include <algorithm>
#include <iterator>

namespace {

// Menu 128 as the resource holds it: popup, command (0: separator) and the default text.
struct MenuItem {
    int popup;
    int id;
    const char* text;
};

// Default texts are Windows-1252 bytes.
constexpr MenuItem kMainMenu[] = {
    {0, ID_FILE_NEW, "&Neu\tStrg+N"},
    {0, ID_FILE_OPEN, "\xD6&""ffnen...\tStrg+O"},
    {0, ID_FILE_SAVE, "S&peichern\tStrg+S"},
    {0, ID_FILE_SAVE_AS, "Speichern &unter..."},
    {0, 0, nullptr},
    {0, ID_FILE_IMPORT, "Import Version 1.52"},
    {0, ID_FILE_EXPORT_EMF, "&Export as EMF"},
    {0, 0, nullptr},
    {0, ID_PRINT, "&Drucken...\tStrg+P"},
    {0, 0, nullptr},
    {0, ID_FILE_MRU_FILE1, "Letzte Datei"},
    {0, 0, nullptr},
    {0, ID_APP_EXIT, "&Beenden"},
    {1, ID_INSERT_CONTROLLER, "Control-Modul einf\xFCgen"},
    {1, ID_ADD_MODULES, "Funktions-Modul einf\xFCgen"},
    {1, ID_INSERT_K2270, "K2270 einf\xFCgen"},
    {1, ID_INSERT_K2271, "K2271 einf\xFCgen"},
    {1, ID_DELETE_MODULE, "Modul l\xF6schen"},
    {1, 0, nullptr},
    {1, ID_SHOW_MODULES, "Module anzeigen"},
    {2, ID_PORT, "Port"},
    {2, 0, nullptr},
    {2, ID_DOWNLOAD, "Download"},
    {2, ID_UPLOAD, "Upload"},
    {2, ID_SAVED_CONFIGURATION, "Saved Configuration"},
    {2, 0, nullptr},
    {2, ID_DEBUG, "Debug"},
    {2, ID_FIRMWARE_INFO, "Firmware Info"},
    {3, ID_LANGUAGE, "Sprache"},
    {4, ID_HELP_DOCUMENT, "Hilfe"},
    {4, ID_APP_ABOUT, "Inf&o \xFC" "ber morvelan..."},
    {4, ID_HISTORY, "History"},
};

constexpr const char* kPopupTitles[kMainPopups] = {"&Datei", "&Bearbeiten", "&Online", "&Extras",
                                                   "&?"};
// Language texts of the popups by position.
constexpr int kPopupTextIds[kMainPopups] = {1, 8, 12, 24, 22};

// Language texts of the menu items, in the order they are applied.
constexpr int kMenuTexts[][2] = {
    {ID_FILE_NEW, 2},        {ID_FILE_OPEN, 3},         {ID_FILE_SAVE, 4},
    {ID_FILE_SAVE_AS, 5},    {ID_APP_EXIT, 7},          {ID_PRINT, 29},
    {ID_FILE_IMPORT, 58},    {ID_INSERT_CONTROLLER, 27}, {ID_ADD_MODULES, 28},
    {ID_DELETE_MODULE, 162}, {ID_SHOW_MODULES, 10},     {ID_INSERT_K2270, 31},
    {ID_INSERT_K2271, 57},   {ID_INSERT_EMPTY, 54},     {ID_PORT, 13},
    {ID_DOWNLOAD, 14},       {ID_UPLOAD, 15},           {ID_DEBUG, 16},
    {ID_FIRMWARE_INFO, 18},  {ID_SAVED_CONFIGURATION, 59}, {ID_LANGUAGE, 25},
    {ID_APP_ABOUT, 23},      {ID_HELP_DOCUMENT, 60},
};

} // namespace

CMainFrame::CMainFrame(CMorvelanApp& app, QWidget* parent) : QMainWindow(parent), app_(app) {
    app_.m_pFrame = this;
    online_ = std::make_unique<COnlineFrame>(*this);
}

CMainFrame::~CMainFrame() {
    // The tiles' windows go with the document's contents, before the views they live in.
    doc_.DeleteContents();
    if (app_.m_pFrame == this)
        app_.m_pFrame = nullptr;
}

bool CMainFrame::Create() {
    setObjectName(QStringLiteral("CMainFrame"));
    // Client: the splitter with both views, each 250 x 100 to start with.
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->setChildrenCollapsible(false);
    tree_ = new CLeftView(*this, splitter_);
    view_ = new CMorvelanView(*this, splitter_);
    if (!tree_ || !view_) {
        delete splitter_;
        splitter_ = nullptr;
        return false;
    }
    tree_->resize(250, 100);
    view_->resize(250, 100);
    splitter_->addWidget(tree_);
    splitter_->addWidget(view_);
    splitter_->setSizes({250, 750});
    splitter_->setStretchFactor(1, 1);
    setCentralWidget(splitter_);

    CreateMenus();
    toolBar_ = new CMainToolBar(*this);
    if (!toolBar_->Create(app_.m_Ini.toolbarOption == 1 ? kToolbarRowsAll : kToolbarRowsShort))
        return false;
    addToolBar(Qt::TopToolBarArea, toolBar_);
    statusBar_ = new CColorStatusBar(*this);
    setStatusBar(statusBar_);
    SetToolbarTexts();
    SetMenuTexts();
    CreateAccelerators();
    setAcceptDrops(true);

    RegisterOwnCommands();
    InstallFrameCommands(*this);

    doc_.OnNewDocument();
    doc_.m_Title = kUntitled;
    tree_->FillTree();
    view_->Invalidate();
    UpdateTitle();
    UpdateCommandStates();
    return true;
}

QAction* CMainFrame::MakeAction(int id, const QString& text) {
    auto it = actions_.find(id);
    if (it != actions_.end())
        return it->second;
    auto* action = new QAction(text, this);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    actions_[id] = action;
    return action;
}

QAction* CMainFrame::Action(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* CMainFrame::Popup(int position) const {
    return position >= 0 && position < kMainPopups ? popups_[position] : nullptr;
}

void CMainFrame::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menu%1").arg(IDR_MAINFRAME));
    for (int i = 0; i < kMainPopups; ++i) {
        popups_[i] = bar->addMenu(xui::fromCp1252(kPopupTitles[i]));
        popups_[i]->setObjectName(QStringLiteral("popup%1").arg(i));
        connect(popups_[i], &QMenu::aboutToShow, this, [this, i] {
            if (i == 0)
                FillRecentFiles();
            UpdateCommandStates();
        });
    }
    for (const MenuItem& item : kMainMenu) {
        if (item.id == 0) {
            popups_[item.popup]->addSeparator();
            continue;
        }
        if (item.id == ID_HISTORY && app_.m_Ini.history != 1)
            continue;
        QAction* action = MakeAction(item.id, xui::fromCp1252(item.text));
        popups_[item.popup]->addAction(action);
    }
    recentMenu_ = popups_[0];
}

void CMainFrame::CreateAccelerators() {
    const std::pair<const char*, int> keys[] = {
        {"Ctrl+N", ID_FILE_NEW},
        {"Ctrl+O", ID_FILE_OPEN},
        {"Ctrl+S", ID_FILE_SAVE},
        // The print selection, as its menu item shows.
        {"Ctrl+P", ID_PRINT},
    };
    for (const auto& [key, id] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(key)), this);
        shortcut->setObjectName(QStringLiteral("accel%1").arg(id));
        connect(shortcut, &QShortcut::activated, this, [this, id = id] { OnCommand(id); });
    }
    // Next and previous pane.
    auto* next = new QShortcut(QKeySequence(Qt::Key_F6), this);
    auto* prev = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
    auto cycle = [this] {
        QWidget* target = tree_->hasFocus() ? static_cast<QWidget*>(view_) : tree_;
        target->setFocus(Qt::ShortcutFocusReason);
    };
    connect(next, &QShortcut::activated, this, cycle);
    connect(prev, &QShortcut::activated, this, cycle);
}

void CMainFrame::FillRecentFiles() {
    QMenu* file = popups_[0];
    QAction* placeholder = Action(ID_FILE_MRU_FILE1);
    for (QAction* a : file->actions()) {
        if (a->property("recent").toBool()) {
            file->removeAction(a);
            a->deleteLater();
        }
    }
    const std::vector<std::string>& files = app_.m_RecentFiles;
    placeholder->setVisible(files.empty());
    for (std::size_t i = 0; i < files.size(); ++i) {
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
                                  QString::fromLocal8Bit(files[i].c_str())),
                              file);
        a->setProperty("recent", true);
        a->setObjectName(QStringLiteral("recent%1").arg(i));
        const std::string path = files[i];
        connect(a, &QAction::triggered, this, [this, path] {
            if (FrameCommandEnabled(ID_FILE_OPEN, UpdateState()))
                OpenDocumentFile(path);
        });
        file->insertAction(placeholder, a);
    }
}

void CMainFrame::SetMenuTexts() {
    for (int i = 0; i < kMainPopups; ++i)
        popups_[i]->setTitle(xui::fromCp1252(mv::LanguageText(kPopupTextIds[i])));
    for (const auto& [id, text] : kMenuTexts) {
        QAction* action = Action(id);
        // Only items of menu 128 change; others keep their texts.
        if (action && action->property("inMainMenu").isNull()) {
            bool inMenu = false;
            for (QMenu* popup : popups_)
                inMenu = inMenu || popup->actions().contains(action);
            action->setProperty("inMainMenu", inMenu);
        }
        if (action && action->property("inMainMenu").toBool())
            action->setText(xui::fromCp1252(mv::LanguageText(text)));
    }
    menuBar()->update();
}

void CMainFrame::SetToolbarTexts() {
    if (toolBar_)
        toolBar_->ApplyTexts();
}

FrameUpdateState CMainFrame::UpdateState() const {
    FrameUpdateState s;
    s.online = app_.m_Online;
    s.autoOnline = app_.m_AutoOnline;
    s.debug = DebugFlag();
    const CModuleTile* tile = SelectedTile();
    s.selection = !tile ? TileSelection::None
                        : (tile->IsController() ? TileSelection::Controller : TileSelection::Board);
    s.stationCount = const_cast<CMorvelanDoc&>(doc_).StationCount();
    return s;
}

bool CMainFrame::IsCommandEnabled(int id) const {
    return commands_.HasHandler(id) && FrameCommandEnabled(id, UpdateState());
}

void CMainFrame::UpdateCommandStates() {
    // Commands whose rule applies the tool-tip texts again when they become available.
    constexpr int kTipRules[] = {ID_DOWNLOAD,       ID_INSERT_K2270,      ID_DELETE_MODULE,
                                 ID_INSERT_EMPTY,   ID_INSERT_K2271,      ID_INSERT_CONTROLLER,
                                 ID_ADD_MODULES,    ID_DEBUG};
    const FrameUpdateState state = UpdateState();
    bool texts = false;
    for (auto& [id, action] : actions_) {
        if (id == ID_FILE_MRU_FILE1) {
            action->setEnabled(false);
            continue;
        }
        const bool enabled = commands_.HasHandler(id) && FrameCommandEnabled(id, state);
        if (enabled && !action->isEnabled())
            texts = texts || std::find(std::begin(kTipRules), std::end(kTipRules), id) !=
                                 std::end(kTipRules);
        action->setEnabled(enabled);
    }
    if (texts)
        SetToolbarTexts();
}

bool CMainFrame::OnCommand(int id) {
    if (!IsCommandEnabled(id))
        return false;
    const bool ran = commands_.Run(id);
    // A command may change what the panes show (the port, the address typed for a
    // connection), and nothing else repaints the bar for it.
    if (statusBar_)
        statusBar_->RefreshPanes();
    return ran;
}

void CMainFrame::DisableMainMenus() {
    for (int i : {0, 1, 3, 4})
        popups_[i]->menuAction()->setEnabled(false);
    menuBar()->update();
}

void CMainFrame::EnableMainMenus() {
    for (int i : {0, 1, 3, 4})
        popups_[i]->menuAction()->setEnabled(true);
    menuBar()->update();
    SetToolbarTexts();
}

void CMainFrame::OnEnterIdle() {
    online_->Session().IdleNotice();
}

int CMainFrame::DebugFlag() const {
    return online_->Session().DebugFlag();
}

void CMainFrame::PausePolling() {
    online_->Session().PausePolling();
}

void CMainFrame::ResumePolling() {
    online_->Session().ResumePolling();
}

int CMainFrame::IsPollingEnabled() const {
    return online_->Session().IsPollingEnabled() ? 1 : 0;
}

void CMainFrame::SetOnlineGrid(IOnlineGrid* grid) {
    online_->Session().SetOnlineGrid(grid);
}

void CMainFrame::ClearOnlineGrid() {
    online_->Session().ClearOnlineGrid();
}

IOnlineGrid* CMainFrame::OnlineGrid() const {
    return online_->Session().OnlineGrid();
}

CModuleTile* CMainFrame::SelectedTile() const {
    return tree_ ? tree_->SelectedTile() : nullptr;
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(xui::fromCp1252(doc_.m_Title) + QString::fromLatin1(kFrameTitleSuffix));
}

void CMainFrame::RefreshProject(CModuleTile* select) {
    tree_->FillTree();
    view_->Invalidate();
    if (select)
        tree_->SelectModul(select);
    UpdateTitle();
    UpdateCommandStates();
}

bool CMainFrame::NewDocument() {
    tree_->Clear();
    doc_.OnNewDocument();
    doc_.m_Title = kUntitled;
    RefreshProject();
    return true;
}

bool CMainFrame::OpenDocumentFile(const std::string& path) {
    tree_->Clear();
    const bool ok = doc_.OpenProject(path) == 1;
    ShowUntitledWhenForgotten();
    RefreshProject();
    return ok;
}

void CMainFrame::ImportDocument(const std::string& path) {
    tree_->Clear();
    doc_.ImportV152(path);
    ShowUntitledWhenForgotten();
    RefreshProject();
}

void CMainFrame::ShowUntitledWhenForgotten() {
    // A read that stopped half-way leaves the document without its file: it is shown as a new
    // project is, and Save asks for a name.
    if (doc_.m_PathName.empty() && doc_.m_Title.empty())
        doc_.m_Title = kUntitled;
}

void CMainFrame::SelectFirstTile() {
    CStation* station = doc_.Station(0);
    if (station && station->TileCount() > 0)
        tree_->SelectModul(station->Tile(0));
}

void CMainFrame::RepaintStatusBar() {
    if (!statusBar_)
        return;
    statusBar_->RefreshPanes();
    statusBar_->update();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    event->accept();
}

bool CMainFrame::AcceptsDrop() const {
    // A drop opens a project: refused whenever Open is, and while a modal action runs.
    return !QApplication::activeModalWidget() && FrameCommandEnabled(ID_FILE_OPEN, UpdateState());
}

bool CMainFrame::AcceptDropAsCopy(QDropEvent* event) const {
    // The dropped file is read where it lies. The drop is taken as a copy whatever the source
    // proposes: a source told "moved" would delete the file just opened. A source that offers
    // no copy is refused.
    if (!event->mimeData()->hasUrls() || !(event->possibleActions() & Qt::CopyAction) ||
        !AcceptsDrop()) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    AcceptDropAsCopy(event);
}

void CMainFrame::dropEvent(QDropEvent* event) {
    if (!AcceptDropAsCopy(event))
        return;
    const QList<QUrl> urls = event->mimeData()->urls();
    // The framework opens the first dropped file.
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            const std::string path = url.toLocalFile().toLocal8Bit().toStdString();
            activateWindow();
            OpenDocumentFile(path);
            break;
        }
    }
}
