// CMorvelanApp: morvelan's application object. Start-up in its fixed order (settings, language,
// morvelan.ini, command line, window classes, main window, start dialog, last project), the
// application's commands, the module documentation viewer, and the per-user values written
// back at exit.
#pragma once

#include "morvelan/core/app_command_line.h"
#include "morvelan/core/app_state.h"
#include "morvelan/core/command_ids.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>


class CMainFrame;
class CAppHooks;
class CDocHooks;

// The save dialog's filter for projects.
inline constexpr const char* kSaveProjectFilter = "Morvelan Files (*.mvl)|*.mvl|";

namespace morvelan {
class CPrintSession;
}

class CMorvelanApp : public CMorvelanAppBase {
public:
    CMorvelanApp();
    ~CMorvelanApp() override;

    // Start-up; a QApplication must exist. 1 when the program runs, 0 when it must end.
    int InitInstance(int argc, const char* const* argv);
    // Writes the per-user values (a failure is shown), empties the catalogue and releases the
    // link.
    int ExitInstance();
    // The whole run: start-up, the event loop, exit. The per-user values are written at the end
    // once the main window was shown, also when the start-up fails after that or EndNow() cut
    // it short. Returns the exit code.
    int Run(int argc, const char* const* argv);
    // Ends the program at once, start-up included (SIGINT, SIGTERM): every open dialog and
    // message closes, dialogs opened after it close at once, and Run() ends as after Exit.
    void EndNow();
    bool EndRequested() const { return m_EndRequested; }
    // Idle time: lowers the idle counter; true while more idle work is wanted (never).
    bool OnIdle(long count);
    // Runs a command of the application; false when it is not one of them.
    bool OnCommand(int id);

    // The About command: the About box, with the frame's online polling paused while it shows.
    void OnAppAbout();
    void ShowModuleDocumentation(const std::string& typeName);
    // The message of missing documentation: line 1, then "No documentation found".
    void ShowNoDocumentation(const std::string& line1);
    // The system's reason why the shell could not open a document (caption "Error").
    void ShowDocumentOpenFailure(const std::string& path);
    // The default printer's name, or "Failed" when there is none.
    std::string GetDefaultPrinterName() const;
    // Makes printer n of the printer list the current printer.
    void SelectPrinter(int n);
    // The printer list, the current printer and the print state (made by InitInstance).
    morvelan::CPrintSession& Print();
    // The program's version text (FileVersion of its version block).
    std::string VersionText() const;

    QMainWindow* m_pMainWnd = nullptr;
    // The main frame (the same window as m_pMainWnd), null before start-up and after exit.
    CMainFrame* m_pFrame = nullptr;
    // Program-wide state of the workspace (the online flags are the base's).
    int m_LayoutMode = 1;     // 1 rack, 2 list
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
    // The chooser of a file to save (filter, current path); empty when cancelled.
    std::function<std::string(const std::string& filter, const std::string& current)>
        m_ChooseSaveFile;
    // Opens a project as the document (the document class connects here).
    std::function<bool(const std::string& path)> m_OpenProject;

private:
    void RunStartDialog();
    // Shows a CDib message after the paint or print that raised it, once per file.
    void InstallDibMessages();
    std::set<std::string> m_DibReported;
    bool m_SettingsRead = false;
    bool m_EndRequested = false;
    std::unique_ptr<CMainFrame> m_MainWindow;
    std::unique_ptr<CAppHooks> m_Hooks;
    std::unique_ptr<CDocHooks> m_DocHooks;
    std::unique_ptr<morvelan::CPrintSession> m_Print;
};

// The one application object of the program.
CMorvelanApp& theApp();

// "Morvelan Files (*.mvl)|*.mvl|..." as a Qt file dialog filter.
std::string QtFilterFromPipes(const std::string& filter);
// The default extension of a save dialog: that of the filter's first pattern ("emf" for
// "Meta Files (*.emf)|*.emf|"); empty when the pattern names none.
std::string DefaultExtensionFromPipes(const std::string& filter);
