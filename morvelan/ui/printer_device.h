// A print job's pages on a real printer or in a PDF file: a QPrinter in full-page mode with
// the paper's size in millimetres, drawn through the canvas in 0.1 mm. The first page exists
// once the job begins it, every later one only when the job asks, so no blank page is made.
// A PDF is written under a temporary name and renamed when the document ends; a dropped
// document leaves no file behind.
#pragma once

#include "morvelan/core/page_sink.h"
#include "morvelan/ui/printer_list.h"

#include <memory>
#include <string>

class QPainter;
class QPrinter;

namespace xui {
class QtCanvas;
}

namespace morvelan {

class CPrinterDevice final : public mv::PageSink {
public:
    // pageSize in 0.1 mm as the page is printed (wider than high on a landscape printer);
    // pdfPath is used for the PDF entry.
    CPrinterDevice(const CPrinterSettings& printer, mv::SIZE pageSize, std::string pdfPath);
    ~CPrinterDevice() override;
    CPrinterDevice(const CPrinterDevice&) = delete;
    CPrinterDevice& operator=(const CPrinterDevice&) = delete;

    // Sets the printer up and begins the document; false (with LastError) when it cannot.
    bool Open();
    // The canvas of the open document (MM_LOMETRIC).
    mv::Canvas& Canvas();

    bool StartDocument(const std::string& name) override;
    bool EndDocument() override;
    bool StartPage() override;
    bool EndPage() override;
    void AbortDocument() override;
    std::string LastError() const override { return error_; }

private:
    void Drop();

    CPrinterSettings printer_;
    mv::SIZE pageSize_;
    std::string pdfPath_;
    std::string partPath_;
    std::unique_ptr<QPrinter> qprinter_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<xui::QtCanvas> canvas_;
    mv::NullCanvas closed_;
    bool firstPageFree_ = false;
    bool open_ = false;
    std::string error_;
};

} // namespace morvelan
