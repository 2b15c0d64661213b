// The frame's print command (32787, also Ctrl+P) and the printer set-up (57606), over the
// application's print session.
#pragma once

class CMainFrame;
class CMorvelanDoc;
class QWidget;

namespace morvelan {

class CPrintSession;

// The print selection dialog for a project (null: the session's own).
void OnFilePrint(CPrintSession& session, QWidget* parent, const CMorvelanDoc* doc);
// The page set-up dialog of the current printer.
void OnFilePrintSetup(CPrintSession& session, QWidget* parent);

// Registers both commands in the frame's command table, over the application's session.
void InstallPrintCommands(CMainFrame& frame);

} // namespace morvelan
