#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/draw/canvas.h"
#include "platform/print/printer_list.h"

namespace lumen {

class PdfDocument;

// One print job: pages drawn on the PDF document's canvases, then handed to
// the printer. A file printer's PDF is the file itself, on the printer's
// paper; a system printer's is a temporary file on the destination's
// default media, submitted to CUPS at 100 % and removed.
class PrintJob {
public:
    // Null when the printer or the document cannot be opened; `failure`
    // then says why.
    static std::unique_ptr<PrintJob> start(const Printer& printer, std::string_view documentName,
                                           std::string* failure = nullptr);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // A page's canvas (0.01 mm units, y upward), valid until endPage.
    Canvas* startPage();
    void endPage();
    // Ends the document and submits it; false when either failed.
    bool finish();
    const std::string& pdfPath() const { return pdfPath_; }
    // The sheet the pages are drawn on.
    const PaperSize& paper() const { return printer_.paper; }
    // Why finish failed.
    const std::string& failure() const { return failure_; }

private:
    PrintJob(Printer printer, std::string documentName, std::string pdfPath);
    bool submit();

    Printer printer_;
    std::string documentName_;
    std::string pdfPath_;
    std::unique_ptr<PdfDocument> document_;
    std::string failure_;
    bool finished_ = false;
};

}  // namespace lumen
