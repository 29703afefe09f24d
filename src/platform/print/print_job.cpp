#include "platform/print/print_job.h"

#include <cups/cups.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/draw/pdf_document.h"

namespace lumen {

namespace {

std::string temporaryPdfPath()
{
    const char* directory = std::getenv("TMPDIR");
    std::string pattern = std::string(directory != nullptr && *directory != '\0' ? directory : "/tmp") +
                          "/lumen-print-XXXXXX.pdf";
    const int descriptor = ::mkstemps(pattern.data(), 4);
    if (descriptor < 0) {
        return {};
    }
    ::close(descriptor);
    return pattern;
}

// "name/instance" names a CUPS destination and its instance.
std::string destinationName(const std::string& printerName)
{
    return printerName.substr(0, printerName.find('/'));
}

}  // namespace

PrintJob::PrintJob(Printer printer, std::string documentName, std::string pdfPath)
    : printer_(std::move(printer)), documentName_(std::move(documentName)), pdfPath_(std::move(pdfPath))
{
    document_ = std::make_unique<PdfDocument>(pdfPath_);
}

PrintJob::~PrintJob()
{
    if (!finished_) {
        finish();
    }
}

std::unique_ptr<PrintJob> PrintJob::start(const Printer& printer, std::string_view documentName)
{
    const std::string path = printer.kind == PrinterKind::File ? printer.filePath : temporaryPdfPath();
    if (path.empty()) {
        return nullptr;
    }
    std::unique_ptr<PrintJob> job(new PrintJob(printer, std::string(documentName), path));
    if (!job->document_->isOpen()) {
        job->finished_ = true;
        if (printer.kind == PrinterKind::System) {
            std::remove(path.c_str());
        }
        return nullptr;
    }
    return job;
}

Canvas* PrintJob::startPage() { return finished_ ? nullptr : document_->startPage(); }

void PrintJob::endPage()
{
    if (!finished_) {
        document_->endPage();
    }
}

bool PrintJob::finish()
{
    if (finished_) {
        return false;
    }
    finished_ = true;
    const bool written = document_->close();
    if (printer_.kind == PrinterKind::File) {
        return written;
    }
    const int job = written ? cupsPrintFile(destinationName(printer_.name).c_str(), pdfPath_.c_str(),
                                            documentName_.c_str(), 0, nullptr)
                            : 0;
    std::remove(pdfPath_.c_str());
    return job != 0;
}

}  // namespace lumen
