#include "morvelan/ui/print_commands.h"

#include "morvelan/core/command_ids.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/print_select_dlg.h"
#include "morvelan/ui/print_session.h"

#include <utility>

namespace morvelan {

void OnFilePrint(CPrintSession& session, QWidget* parent, const CMorvelanDoc* doc) {
    // The project given here is printed for this dialog only; without one the session's own
    // seam names it.
    auto before = session.document;
    if (doc)
        session.document = [doc] { return doc; };
    CPrintSelectDlg dlg(session, parent);
    dlg.DoModal();
    session.document = std::move(before);
}

void OnFilePrintSetup(CPrintSession& session, QWidget* parent) { session.PageSetup(parent); }

void InstallPrintCommands(CMainFrame& frame) {
    CMainFrame* f = &frame;
    frame.Commands().Register(ID_PRINT,
                              [f] { OnFilePrint(f->App().Print(), f, &f->Doc()); });
    frame.Commands().Register(ID_FILE_PRINT_SETUP,
                              [f] { OnFilePrintSetup(f->App().Print(), f); });
}

} // namespace morvelan
