// What printing keeps for the whole run: the printer list and the current printer, the print
// state of the label jobs, and the seams tests answer (the printers, the PDF file chooser, the
// date, the page set-up dialog, the project being printed). The paper settings and the print
// mode are the application's own values (written to the per-user store at exit).
#pragma once

#include "morvelan/core/app_state.h"
#include "morvelan/core/label_printer.h"
#include "morvelan/ui/printer_list.h"

#include <functional>
#include <memory>
#include <string>

class QPrinter;
class QWidget;

namespace morvelan {

// Environment variable that names the PDF file instead of asking.
inline constexpr const char* kPrintPdfEnv = "MORVELAN_PRINT_PDF";

// What became of a print: not started (no printer, no file, no selected tile for the labels
// of the current controller or module, the printer could not begin), failed on the way
// (dropped and reported), or done.
enum class PrintOutcome { NotStarted, Failed, Done };

class CPrintSession {
public:
    // The settings live in `app`, which must outlive the session.
    CPrintSession(CMorvelanAppBase& app, std::unique_ptr<IPrinterSource> source);

    // Lists the printers; the current printer becomes the system default, or the first entry
    // of the list when the system has none.
    void Init();
    // Makes printer n the current one; a printer that cannot be used is named in a message and
    // the current one stays. False then.
    bool SelectPrinter(int index);

    // The project, the selected tile, the program folder and the date, for a job.
    mv::PrintContext Context() const;
    // The PDF file to write: the environment's, else asked (empty when cancelled); a chosen
    // name without a suffix gets ".pdf".
    std::string ChoosePdfPath() const;
    // Prints a job (print mode kPrint...) on the current printer on paper of `page` (0.1 mm),
    // turned when the printer prints landscape.
    // A job that cannot start or fails is reported in a message.
    PrintOutcome Print(int mode, int boxes, int copies, mv::SIZE page);
    // The page set-up dialog for the current printer; its orientation is kept.
    void PageSetup(QWidget* parent);

    CMorvelanAppBase& app;
    IPrinterSource& Source() { return *source_; }
    CPrinterList printers;
    CPrinterSettings current;
    mv::PrintState state;

    // Seams: the project being printed (doc, selected tile), the file chooser for the PDF, the
    // user's short date, and the page set-up dialog (true when accepted).
    std::function<const CMorvelanDoc*()> document;
    std::function<CModuleTile*()> selectedTile;
    std::function<std::string()> choosePdfFile;
    std::function<std::string()> shortDate;
    std::function<bool(QPrinter& printer, QWidget* parent)> runPageSetup;

private:
    void Report(const std::string& line1, const std::string& line2) const;
    std::unique_ptr<IPrinterSource> source_;
};

} // namespace morvelan
