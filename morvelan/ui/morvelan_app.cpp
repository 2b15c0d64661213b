#include "morvelan/ui/morvelan_app.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/app_profile.h"
#include "morvelan/core/label_printer.h"
#include "morvelan/ui/dialog_hooks.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/core/dib.h"
#include "morvelan/ui/about_dlg.h"
#include "morvelan/online/online_set_dlg.h"
#include "morvelan/ui/app_hooks_impl.h"
#include "morvelan/ui/doc_hooks_impl.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_view.h"
#include "morvelan/online/online_modul_data.h"
#include "morvelan/ui/print_session.h"
#include "morvelan/ui/program_icon.h"
#include "morvelan/ui/start_dlg.h"
#include "platform/ini_file.h"
#include "platform/settings_store.h"
#include "platform/version_block.h"
#include "platform/regular_file.h"
#include "platform/win_path.h"
#include "xui/bitmaps.h"
#include "xui/controls.h"
#include "xui/message_dlg.h"
#include "xui/modal_cursor.h"
#include "xui/qt_text.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <set>
#include <unistd.h>

namespace {

// Caption colour and symbol of the error messages.
constexpr mv::COLORREF kErrorCaptionColor = 255;

// The system's text for a document the shell could not open: why the file cannot be read,
// else that no program is set up to open it.
std::string DocumentOpenFailure(const std::string& path) {
    if (::access(path.c_str(), R_OK) != 0)
        return std::strerror(errno);
    return "No application is associated with the specified file for this operation.";
}

// The program's message dialog with the error symbol, OK only.
void ShowErrorMessage(const std::string& line1, const std::string& line2) {
    xui::MessageRequest r;
    r.line1 = line1;
    r.line2 = line2;
    r.caption = "ERROR";
    r.bitmapId = xui::kBitmapError;
    r.buttonMode = xui::kMessageOk;
    r.captionColor = kErrorCaptionColor;
    xui::ShowMessage(r);
}

} // namespace

CMorvelanApp& theApp() {
    static CMorvelanApp app;
    return app;
}

std::string QtFilterFromPipes(const std::string& filter) {
    std::string out;
    std::size_t pos = 0;
    while (pos < filter.size()) {
        const std::size_t bar1 = filter.find('|', pos);
        if (bar1 == std::string::npos)
            break;
        const std::size_t bar2 = filter.find('|', bar1 + 1);
        const std::string name = filter.substr(pos, bar1 - pos);
        if (name.empty())
            break;
        const std::string pattern = filter.substr(bar1 + 1, bar2 == std::string::npos
                                                                 ? std::string::npos
                                                                 : bar2 - bar1 - 1);
        // Qt takes the patterns in parentheses, blank-separated; "*.*" means every file, also
        // one without a dot in its name, which on Linux is "*".
        std::string patterns;
        for (std::size_t at = 0; at <= pattern.size();) {
            const std::size_t semi = std::min(pattern.find(';', at), pattern.size());
            const std::string one = pattern.substr(at, semi - at);
            if (!one.empty())
                patterns += (patterns.empty() ? "" : " ") + (one == "*.*" ? "*" : one);
            at = semi + 1;
        }
        std::string shown = name.substr(0, name.find('('));
        while (!shown.empty() && shown.back() == ' ')
            shown.pop_back();
        if (!out.empty())
            out += ";;";
        out += shown + " (" + patterns + ")";
        if (bar2 == std::string::npos)
            break;
        pos = bar2 + 1;
    }
    return out;
}

std::string DefaultExtensionFromPipes(const std::string& filter) {
    const std::size_t bar1 = filter.find('|');
    if (bar1 == std::string::npos)
        return {};
    const std::size_t end = filter.find_first_of("|;", bar1 + 1);
    const std::string pattern = filter.substr(bar1 + 1, end == std::string::npos
                                                            ? std::string::npos
                                                            : end - bar1 - 1);
    const std::size_t dot = pattern.rfind('.');
    if (dot == std::string::npos)
        return {};
    const std::string extension = pattern.substr(dot + 1);
    return extension.find_first_of("*?") == std::string::npos ? extension : std::string();
}

CMorvelanApp::CMorvelanApp() {
    m_SystemMessage = [](const std::string& caption, const std::string& text) {
        const xui::ModalCursorLift lift;
        QMessageBox::critical(nullptr, xui::fromCp1252(caption), xui::fromCp1252(text));
    };
    m_SystemInformation = [](const std::string& caption, const std::string& text) {
        const xui::ModalCursorLift lift;
        QMessageBox::information(nullptr, xui::fromCp1252(caption), xui::fromCp1252(text));
    };
    m_OpenDocumentFile = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path.c_str())));
    };
    m_CurrentDirectory = [] {
        char buf[PATH_MAX];
        return ::getcwd(buf, sizeof buf) ? std::string(buf) : std::string(".");
    };
    m_ChooseOpenFile = [](const std::string& filter) {
        const xui::ModalCursorLift lift;
        const QString f = QFileDialog::getOpenFileName(
            nullptr, QString(), QString(), QString::fromStdString(QtFilterFromPipes(filter)));
        return f.toLocal8Bit().toStdString();
    };
    m_ChooseSaveFile = [](const std::string& filter, const std::string& current) {
        QFileDialog dialog(nullptr, QString(), QString::fromLocal8Bit(current.c_str()),
                           QString::fromStdString(QtFilterFromPipes(filter)));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QString::fromStdString(DefaultExtensionFromPipes(filter)));
        const xui::ModalCursorLift lift;
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::string();
        return dialog.selectedFiles().front().toLocal8Bit().toStdString();
    };
}

CMorvelanApp::~CMorvelanApp() {
    m_MainWindow.reset();
    if (m_Hooks)
        mv::setAppHooks(nullptr);
    if (m_DocHooks)
        mv::setDocHooks(nullptr);
    mv::setDibMessageSink(nullptr);
}

std::string CMorvelanApp::VersionText() const {
    return mv::readVersionValue(mv::programFolder() + "/morvelan", "FileVersion");
}

int CMorvelanApp::InitInstance(int argc, const char* const* argv) {
    GetOSName();
    m_RecentFiles = mv::loadRecentFiles();
    m_ProgramDir = m_CurrentDirectory().substr(0, 200);
    mv::setErrorBoxSink(m_SystemMessage);

    if (!ReadRegistrySettings()) {
        if (!m_Language.LoadProblem().empty())
            m_SystemMessage(m_Language.FilePath(), m_Language.LoadProblem());
        m_SystemMessage(kStartFailCaption, kStartFailText);
        return 0;
    }
    m_SettingsRead = true;
    setModuleDescriptionContext({m_ProgramDir, m_Language.LanguageName()});
    ReadIniSettings();

    m_CmdInfo = CAppCommandLineInfo();
    m_CmdInfo.Parse(argc, argv);
    if (!m_CmdInfo.m_MaskFile.empty())
        m_MaskFile = m_CmdInfo.m_MaskFile;
    if (m_CmdInfo.m_IpAddress)
        m_IpAddress = *m_CmdInfo.m_IpAddress;

    m_Hooks = std::make_unique<CAppHooks>(*this);
    mv::setAppHooks(m_Hooks.get());
    m_DocHooks = std::make_unique<CDocHooks>(*this);
    mv::setDocHooks(m_DocHooks.get());
    InstallDibMessages();
    for (const std::string& problem : m_CmdInfo.m_Problems)
        ShowErrorMessage("Command line", problem);
    // A settings file that cannot be read leaves the defaults in force: say so.
    const std::string settings = ProgramFile(kSettingsFileName);
    if (const std::string why = mv::iniUnreadableReason(settings); !why.empty())
        ShowErrorMessage(settings, why);
    if (m_EndRequested)
        return 0;
    xui::RegisterControlClasses();
    morvelan::RegisterOnlineModulSetDataClass();
    morvelan::RegisterOnlineModulData();
    RegisterStartTemplates();
    morvelan::RegisterModuleDialogTemplates();
    Print().Init();
    xui::registerBitmapResource(IDB_START, xui::readPictureFile(ProgramFile("start196.bmp")));
    xui::registerBitmapResource(IDB_START2, xui::readPictureFile(ProgramFile("start198.bmp")));
    for (const auto& [id, file] : {std::pair{IDB_TOOLBAR_HOT, "toolbar130.bmp"},
                                   std::pair{IDB_TOOLBAR, "toolbar131.bmp"},
                                   std::pair{IDB_TREE, "tree134.bmp"},
                                   std::pair{IDB_PROJECT_PAGE, "res1038.bmp"},
                                   std::pair{IDB_PROJECT_LOGO, "res133.bmp"}})
        xui::registerBitmapResource(id, xui::readPictureFile(ProgramFile(file)));
    // Every window and dialog, the panel's too, takes the program's icon from the application.
    QApplication::setWindowIcon(morvelan::LoadProgramIcon(m_ProgramDir));

    m_MainWindow = std::make_unique<CMainFrame>(*this);
    if (!m_MainWindow->Create()) {
        m_MainWindow.reset();
        return 0;
    }
    m_pMainWnd = m_MainWindow.get();
    m_pMainWnd->resize(1024, 700);
    if (!m_OpenProject)
        m_OpenProject = [this](const std::string& path) {
            return m_pFrame && m_pFrame->OpenDocumentFile(path);
        };
    if (m_Ini.maximised == 1)
        m_pMainWnd->showMaximized();
    else
        m_pMainWnd->show();

    RunStartDialog();
    if (m_EndRequested)
        return 0;

    // The project named on the command line opens once the catalogue is read; a project that
    // cannot be opened ends the program. Config.mvl is kept for a start without one.
    if (m_CmdInfo.m_nShellCommand == CAppCommandLineInfo::FileOpen) {
        if (!m_OpenProject(m_CmdInfo.m_strFileName))
            return 0;
    } else if (m_Ini.loadLast == 1) {
        const std::string last = mv::joinPath(m_ProgramDir, kLastProjectName);
        if (mv::canReadRegularFile(last) && m_OpenProject(last) && m_pFrame)
            m_pFrame->SelectFirstTile();
    }
    return 1;
}

void CMorvelanApp::InstallDibMessages() {
    // A message raised while a window paints or a page prints waits until the event loop is
    // free again; a file reported once is not reported again by a repaint.
    mv::setDibMessageSink([this](const std::string& text, const std::string& file) {
        if (!m_DibReported.insert(text + "\n" + file).second)
            return;
        QTimer::singleShot(0, [this, text] { m_SystemMessage("morvelan", text); });
    });
}

void CMorvelanApp::RunStartDialog() {
    StartScan scan = [this](const ModuleScanProgress& progress) { return ScanCatalogue(progress); };
    if (m_Ini.logo == 1) {
        CStartDlg dlg(VersionText(), scan, m_pMainWnd);
        dlg.DoModal();
    } else {
        CStart2Dlg dlg(scan, m_pMainWnd);
        dlg.DoModal();
    }
}

int CMorvelanApp::ExitInstance() {
    if (m_pFrame)
        m_pFrame->Doc().OnCloseDocument();
    if (!WriteRegistrySettings())
        ShowLastError("SAVE " + mv::settingsStorePath(mv::SettingsRoot::User));
    mv::saveRecentFiles(m_RecentFiles);
    m_Print.reset();
    // The tiles point into the catalogue: the windows and the document go first.
    m_MainWindow.reset();
    m_pMainWnd = nullptr;
    m_Catalogue.RemoveAll();
    CloseConnection();
    if (m_Hooks) {
        mv::setAppHooks(nullptr);
        m_Hooks.reset();
    }
    if (m_DocHooks) {
        mv::setDocHooks(nullptr);
        m_DocHooks.reset();
    }
    mv::setDibMessageSink(nullptr);
    mv::setErrorBoxSink(nullptr);
    return 0;
}

int CMorvelanApp::Run(int argc, const char* const* argv) {
    const int started = InitInstance(argc, argv);
    int result = started ? 0 : 1;
    if (started && !m_EndRequested) {
        // Idle time goes to the application object whenever the event queue has run empty.
        const QMetaObject::Connection idle =
            QObject::connect(QAbstractEventDispatcher::instance(),
                             &QAbstractEventDispatcher::aboutToBlock, [this] { OnIdle(0); });
        result = QApplication::exec();
        QObject::disconnect(idle);
    }
    if (m_pMainWnd || (m_EndRequested && m_SettingsRead))
        ExitInstance();
    return m_EndRequested ? 0 : result;
}

void CMorvelanApp::EndNow() {
    m_EndRequested = true;
    // Leaves every running event loop, the modal ones of dialogs and messages with it; loops
    // started before the main one returns end at once.
    QCoreApplication::exit(0);
}

bool CMorvelanApp::OnIdle(long /*count*/) {
    CountIdle();
    return false;
}

bool CMorvelanApp::OnCommand(int id) {
    if (id == ID_APP_EXIT && m_pMainWnd) {
        m_pMainWnd->close();
        return true;
    }
    return m_pFrame && m_pFrame->OnCommand(id);
}

void CMorvelanApp::ShowNoDocumentation(const std::string& line1) {
    ShowErrorMessage(line1, kNoDocumentation);
}

void CMorvelanApp::ShowDocumentOpenFailure(const std::string& path) {
    m_SystemInformation("Error", DocumentOpenFailure(path));
}

void CMorvelanApp::OnAppAbout() {
    if (m_pFrame)
        m_pFrame->PausePolling();
    morvelan::CAboutDlg dlg(mv::programFolder(), GetOSName(), m_Language, m_pFrame);
    dlg.DoModal();
    if (m_pFrame)
        m_pFrame->ResumePolling();
}

void CMorvelanApp::ShowModuleDocumentation(const std::string& typeName) {
    if (typeName.empty())
        return;
    const std::string file = FindModuleDocumentation(typeName);
    if (file.empty()) {
        ShowNoDocumentation(typeName);
        return;
    }
    if (!m_OpenDocumentFile(file))
        ShowDocumentOpenFailure(file);
}

morvelan::CPrintSession& CMorvelanApp::Print() {
    if (!m_Print)
        m_Print = std::make_unique<morvelan::CPrintSession>(*this,
                                                           morvelan::MakeSystemPrinterSource());
    return *m_Print;
}

void CMorvelanApp::SelectPrinter(int n) { Print().SelectPrinter(n); }

std::string CMorvelanApp::GetDefaultPrinterName() const {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return "Failed";
    return xui::toCp1252(info.printerName());
}
