// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/print/print_job.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/print/pdf_print_job.h"

namespace lumen {

namespace {

std::string temporaryPdfPath() {
    const char* directory = std::getenv("TMPDIR");
    std::string pattern =
        std::string(directory != nullptr && *directory != '\0' ? directory : "/tmp") + "/lumen-print-XXXXXX.pdf";
    const int descriptor = ::mkstemps(pattern.data(), 4);
    if (descriptor < 0) {
        return {};
    }
    ::close(descriptor);
    return pattern;
}

}  // namespace

// On this system every job is a PDF: a file printer's is the file, a system
// printer's goes to CUPS on the destination's own default paper.
std::unique_ptr<PrintJob> openPrintJob(const Printer& printer, std::string* failure) {
    std::string why;
    if (printer.kind == PrinterKind::File) {
        return std::make_unique<PdfPrintJob>(printer.filePath, printer.paper);
    }
    CupsDestination destination(printer.name);
    const std::optional<PaperSize> paper = destination.defaultPaper(why);
    if (!paper) {
        if (failure != nullptr) *failure = why;
        return nullptr;
    }
    const std::string path = temporaryPdfPath();
    if (path.empty()) {
        if (failure != nullptr) *failure = std::string("cannot create a temporary file: ") + std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<PdfPrintJob>(path, *paper, std::move(destination));
}

}  // namespace lumen
