// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "platform/print/print_job.h"
#include "platform/win32/gdi_print_job.h"
#include "platform/win32/wide_text.h"

namespace lumen {

namespace {

constexpr const char* kSystemPdfPrinter = "Microsoft Print to PDF";

// A printer that writes PDF files: Windows's own, else any whose name says PDF.
std::optional<std::string> pdfPrinter() {
    std::optional<std::string> found;
    const PrinterList installed = PrinterList::fromSystem();
    for (const Printer& printer : installed.printers()) {
        std::string upper = printer.name;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
        if (printer.name == kSystemPdfPrinter) return printer.name;
        if (!found && upper.find("PDF") != std::string::npos) found = printer.name;
    }
    return found;
}

}  // namespace

// Every job goes to a printer's device context; --print-to FILE.pdf needs a
// PDF printer to write the file.
std::unique_ptr<PrintJob> openPrintJob(const Printer& printer, std::string* failure) {
    std::string why;
    std::unique_ptr<PrintJob> job;
    if (printer.kind == PrinterKind::File) {
        const std::optional<std::string> writer = pdfPrinter();
        if (!writer) {
            why = "no PDF printer is installed (such as Microsoft Print to PDF), so " + printer.filePath +
                  " cannot be written";
        } else {
            job = GdiPrintJob::open(*writer, printer.filePath, why);
        }
    } else {
        job = GdiPrintJob::open(printer.name, std::nullopt, why);
    }
    if (!job && failure != nullptr) *failure = why;
    return job;
}

}  // namespace lumen
