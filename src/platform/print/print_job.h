#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/draw/canvas.h"
#include "platform/print/printer_list.h"

namespace lumen {

class PdfDocument;

// One print job: pages drawn on the PDF document's canvases, then handed to
// the printer. A file printer's PDF is the file itself; a system printer's
// is a temporary file submitted to CUPS and removed.
class PrintJob {
public:
    // Null when the document cannot be created.
    static std::unique_ptr<PrintJob> start(const Printer& printer, std::string_view documentName);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // A page's canvas (0.01 mm units, y upward), valid until endPage.
    Canvas* startPage();
    void endPage();
    // Ends the document and submits it; false when either failed.
    bool finish();
    const std::string& pdfPath() const { return pdfPath_; }

private:
    PrintJob(Printer printer, std::string documentName, std::string pdfPath);

    Printer printer_;
    std::string documentName_;
    std::string pdfPath_;
    std::unique_ptr<PdfDocument> document_;
    bool finished_ = false;
};

}  // namespace lumen
