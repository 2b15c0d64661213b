#include "morvelan/ui/printer_device.h"

#include "platform/file_mode.h"
#include "xui/qt_canvas.h"
#include "xui/qt_text.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <cstdio>
#include <sys/stat.h>

namespace morvelan {

CPrinterDevice::CPrinterDevice(const CPrinterSettings& printer, mv::SIZE pageSize,
                               std::string pdfPath)
    : printer_(printer), pageSize_(pageSize), pdfPath_(std::move(pdfPath)) {}

CPrinterDevice::~CPrinterDevice() {
    if (open_)
        AbortDocument();
}

bool CPrinterDevice::Open() {
    qprinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& p = *qprinter_;
    if (printer_.IsPdf()) {
        if (pdfPath_.empty()) {
            error_ = "No file named for the PDF";
            return false;
        }
        partPath_ = pdfPath_ + ".part";
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString::fromLocal8Bit(partPath_.c_str()));
    } else {
        p.setOutputFormat(QPrinter::NativeFormat);
        p.setPrinterName(xui::fromCp1252(printer_.m_DeviceName));
        if (!p.isValid()) {
            error_ = "The printer " + printer_.m_DeviceName + " is not available";
            return false;
        }
    }
    p.setFullPage(true);
    p.setDocName(QString::fromLatin1(mv::kPrintDocumentName));
    p.setCreator(QString::fromLatin1(mv::kPrintDocumentName));
    // A landscape page is the paper turned: the paper's own size with the orientation.
    const bool landscape = printer_.m_Orientation == kLandscape;
    const mv::SIZE paper = landscape ? mv::SIZE{pageSize_.cy, pageSize_.cx} : pageSize_;
    const QPageSize size(QSizeF(paper.cx / 10.0, paper.cy / 10.0), QPageSize::Millimeter,
                         QString(), QPageSize::FuzzyMatch);
    p.setPageLayout(QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                QMarginsF(0, 0, 0, 0)));
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&p)) {
        error_ = printer_.IsPdf() ? "The file " + pdfPath_ + " cannot be written"
                                  : "The printer " + printer_.m_DeviceName + " cannot start";
        Drop();
        return false;
    }
    canvas_ = std::make_unique<xui::QtCanvas>(*painter_, p.resolution(), p.resolution());
    canvas_->setMapMode(mv::MM_LOMETRIC);
    firstPageFree_ = true;
    open_ = true;
    return true;
}

mv::Canvas& CPrinterDevice::Canvas() {
    if (canvas_)
        return *canvas_;
    return closed_;
}

bool CPrinterDevice::StartDocument(const std::string& /*name*/) {
    if (!open_ && error_.empty())
        error_ = "The printer is not open";
    return open_;
}

bool CPrinterDevice::StartPage() {
    if (!open_)
        return false;
    if (firstPageFree_) {
        firstPageFree_ = false;
        return true;
    }
    if (!qprinter_->newPage()) {
        error_ = "The printer refused a new page";
        return false;
    }
    return true;
}

bool CPrinterDevice::EndPage() { return open_; }

bool CPrinterDevice::EndDocument() {
    if (!open_)
        return false;
    canvas_.reset();
    const bool ended = painter_->end();
    open_ = false;
    if (!ended) {
        error_ = "The document could not be finished";
        Drop();
        return false;
    }
    // The finished PDF takes the mode of the file it replaces.
    if (printer_.IsPdf() &&
        (::chmod(partPath_.c_str(), mv::ReplacementMode(pdfPath_)) != 0 ||
         std::rename(partPath_.c_str(), pdfPath_.c_str()) != 0)) {
        error_ = "The file " + pdfPath_ + " cannot be written";
        Drop();
        return false;
    }
    return true;
}

void CPrinterDevice::AbortDocument() {
    if (open_) {
        canvas_.reset();
        qprinter_->abort();
        if (painter_->isActive())
            painter_->end();
        open_ = false;
    }
    Drop();
}

void CPrinterDevice::Drop() {
    canvas_.reset();
    if (!partPath_.empty())
        QFile::remove(QString::fromLocal8Bit(partPath_.c_str()));
}

} // namespace morvelan
