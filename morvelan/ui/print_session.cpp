#include "morvelan/ui/print_session.h"

#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/ui/module_dialog_seams.h"
#include "morvelan/ui/printer_device.h"
#include "xui/bitmaps.h"
#include "xui/message_dlg.h"
#include "xui/modal_cursor.h"
#include "xui/qt_text.h"

#include <QDate>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPrinter>

#include <cstdlib>

namespace morvelan {
namespace {

constexpr mv::COLORREF kErrorCaptionColor = 255;
constexpr int kTextNoModuleSelected = 5020;
constexpr const char* kPrinterUnavailable = "This printer cannot be used";
constexpr const char* kPrintFailed = "Printing failed";
constexpr const char* kPdfFilter = "PDF (*.pdf)|*.pdf|";
constexpr const char* kPdfExtension = "pdf";

// A typed name without a suffix gets ".pdf".
std::string WithPdfSuffix(std::string path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    if (!path.empty() && path.size() > name && path.find('.', name) == std::string::npos)
        path += std::string(".") + kPdfExtension;
    return path;
}

} // namespace

CPrintSession::CPrintSession(CMorvelanAppBase& app, std::unique_ptr<IPrinterSource> source)
    : app(app), source_(std::move(source)) {
    selectedTile = [] { return mv::docHooks().SelectedTile(); };
    // The program's file chooser (which lifts the wait cursor while it waits for the user).
    choosePdfFile = [] {
        FileDialogSpec wanted;
        wanted.save = true;
        wanted.filter = kPdfFilter;
        wanted.defaultExtension = kPdfExtension;
        wanted.overwritePrompt = true;
        return ChooseFile(wanted, nullptr);
    };
    shortDate = [] {
        return xui::toCp1252(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    };
    runPageSetup = [](QPrinter& printer, QWidget* parent) {
        QPageSetupDialog dlg(&printer, parent);
        const xui::ModalCursorLift lift;
        return dlg.exec() == QDialog::Accepted;
    };
}

void CPrintSession::Init() {
    printers.Enumerate(*source_);
    current = CPrinterSettings();
    // Without a system default the first entry of the list is the current printer.
    if (!current.InitByName(source_->DefaultName(), *source_))
        current.Take(printers, 0, *source_);
}

void CPrintSession::Report(const std::string& line1, const std::string& line2) const {
    xui::MessageRequest r;
    r.line1 = line1;
    r.line2 = line2;
    r.caption = mv::LanguageText(5000);
    r.bitmapId = xui::kBitmapError;
    r.buttonMode = xui::kMessageOk;
    r.captionColor = kErrorCaptionColor;
    xui::ShowMessage(r);
}

bool CPrintSession::SelectPrinter(int index) {
    if (current.Init(printers, index, *source_))
        return true;
    Report(printers.GetName(index), kPrinterUnavailable);
    return false;
}

mv::PrintContext CPrintSession::Context() const {
    mv::PrintContext c;
    c.programDir = app.m_ProgramDir;
    c.doc = document ? document() : nullptr;
    c.selected = selectedTile ? selectedTile() : nullptr;
    c.shortDate = shortDate;
    return c;
}

std::string CPrintSession::ChoosePdfPath() const {
    if (const char* env = std::getenv(kPrintPdfEnv); env && *env)
        return env;
    return choosePdfFile ? WithPdfSuffix(choosePdfFile()) : std::string();
}

PrintOutcome CPrintSession::Print(int mode, int boxes, int copies, mv::SIZE page) {
    if (!current.HasPrinter())
        return PrintOutcome::NotStarted;
    const mv::PrintContext context = Context();
    // The labels of the current controller or module need a selected tile; without one
    // nothing is printed and the user is told so.
    if ((mode == mv::kPrintControllerLabels || mode == mv::kPrintModuleLabels) &&
        !context.selected) {
        Report(mv::LanguageText(kTextNoModuleSelected), "");
        return PrintOutcome::NotStarted;
    }
    std::string pdf;
    if (current.IsPdf()) {
        pdf = ChoosePdfPath();
        if (pdf.empty())
            return PrintOutcome::NotStarted;
    }
    state.preview = 0;
    page = current.OrientedPage(page);
    state.printableHeight = page.cy;
    CPrinterDevice device(current, page, pdf);
    if (!device.Open()) {
        Report(current.IsPdf() ? pdf : current.m_DeviceName, device.LastError());
        return PrintOutcome::NotStarted;
    }
    mv::CLabelPrinter printer(device.Canvas(), device, state, context);
    const mv::PrintResult r = printer.Run(mode, 0, boxes, 0, copies, page.cy);
    if (!r.ok) {
        Report(kPrintFailed, r.error);
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Done;
}

void CPrintSession::PageSetup(QWidget* parent) {
    if (!current.HasPrinter())
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (current.IsPdf())
        printer.setOutputFormat(QPrinter::PdfFormat);
    else
        printer.setPrinterName(xui::fromCp1252(current.m_DeviceName));
    printer.setPageOrientation(current.m_Orientation == kLandscape ? QPageLayout::Landscape
                                                                  : QPageLayout::Portrait);
    if (!runPageSetup || !runPageSetup(printer, parent))
        return;
    current.m_Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape
                                ? kLandscape
                                : kPortrait;
    current.Save();
}

} // namespace morvelan
