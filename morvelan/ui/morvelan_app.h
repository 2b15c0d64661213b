// CMorvelanApp: morvelan's application object. Start-up in its fixed order (settings, language,
// morvelan.ini, command line, window classes, main window, start dialog, last project), the
// application's commands, the module documentation viewer, and the per-user values written
// back at exit.
#pragma once

#include "morvelan/core/app_command_line.h"
#include "morvelan/core/app_state.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Framework command ids the application serves.
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_FILE_IMPORT = 32797;
constexpr int ID_FILE_EXPORT_EMF = 32799;

class CMorvelanApp : public CMorvelanAppBase {
public:
    CMorvelanApp();
    ~CMorvelanApp() override;

    // Start-up; a QApplication must exist. 1 when the program runs, 0 when it must end.
    int InitInstance(int argc, const char* const* argv);
    // Writes the per-user values, empties the catalogue and releases the link.
    int ExitInstance();
    // Idle time: lowers the idle counter; true while more idle work is wanted (never).
    bool OnIdle(long count);
    // Runs a command of the application; false when it is not one of them.
    bool OnCommand(int id);

    void ShowModuleDocumentation(const std::string& typeName);
    // The default printer's name, or "Failed" when there is none.
    std::string GetDefaultPrinterName() const;
    // The program's version text (FileVersion of its version block).
    std::string VersionText() const;

    QMainWindow* m_pMainWnd = nullptr;
    CAppCommandLineInfo m_CmdInfo;
    std::vector<std::string> m_RecentFiles;

    // Seams of the platform, replaced by tests: the platform message box with the error and
    // with the information symbol (caption, text), the shell that opens a document (false when
    // it cannot), the folder the program starts in, and the chooser of a file to open (empty
    // when cancelled).
    std::function<void(const std::string& caption, const std::string& text)> m_SystemMessage;
    std::function<void(const std::string& caption, const std::string& text)> m_SystemInformation;
    std::function<bool(const std::string& path)> m_OpenDocumentFile;
    std::function<std::string()> m_CurrentDirectory;
    std::function<std::string(const std::string& filter)> m_ChooseOpenFile;
    // Opens a project as the document (the document class connects here).
    std::function<bool(const std::string& path)> m_OpenProject;

private:
    void OnFileOpen();
    void RunStartDialog();
    std::unique_ptr<QMainWindow> m_MainWindow;
    struct Hooks;
    std::unique_ptr<Hooks> m_Hooks;
};

// The one application object of the program.
CMorvelanApp& theApp();

// "Morvelan Files (*.mvl)|*.mvl|..." as a Qt file dialog filter.
std::string QtFilterFromPipes(const std::string& filter);
