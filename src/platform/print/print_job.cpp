#include "platform/print/print_job.h"

#include <cups/cups.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/draw/pdf_document.h"

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

std::string cupsFailure(const std::string& what) { return what + ": " + cupsLastErrorString(); }

// The destination's own default media: the user's "media" option, else the
// queue's media-default (cupsGetDestMediaDefault alone falls back to Letter
// for a queue whose default is A4).
bool defaultMedia(cups_dest_t* destination, cups_dinfo_t* info, cups_size_t& size) {
    const char* media = cupsGetOption(CUPS_MEDIA, destination->num_options, destination->options);
    if (media == nullptr) {
        ipp_attribute_t* queueDefault = cupsFindDestDefault(CUPS_HTTP_DEFAULT, destination, info, CUPS_MEDIA);
        media = queueDefault != nullptr ? ippGetString(queueDefault, 0, nullptr) : nullptr;
    }
    const bool found = media != nullptr
                           ? cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, destination, info, media, 0, &size) != 0
                           : cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, destination, info, 0, &size) != 0;
    return found && size.width > 0 && size.length > 0;
}

// The sheet a CUPS destination prints on by default ("name/instance"
// names a destination and its instance); nullopt when there is no such
// destination. A destination that does not tell its media gets A4 with no
// media asked for.
std::optional<PaperSize> destinationPaper(const std::string& printerName, std::string& failure) {
    const size_t slash = printerName.find('/');
    const std::string name = printerName.substr(0, slash);
    const std::string instance = slash == std::string::npos ? "" : printerName.substr(slash + 1);
    cups_dest_t* destination =
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), instance.empty() ? nullptr : instance.c_str());
    if (destination == nullptr) {
        failure = cupsFailure("CUPS has no printer \"" + printerName + "\"");
        return std::nullopt;
    }
    PaperSize paper{PaperSize::a4().hundredthMm, ""};
    cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, destination);
    cups_size_t size{};
    if (info != nullptr && defaultMedia(destination, info, size)) {
        paper = PaperSize{Size{size.width, size.length}, size.media};
    }
    cupsFreeDestInfo(info);
    cupsFreeDests(1, destination);
    return paper;
}

}  // namespace

PrintJob::PrintJob(Printer printer, std::string documentName, std::string pdfPath)
    : printer_(std::move(printer)), documentName_(std::move(documentName)), pdfPath_(std::move(pdfPath)) {
    document_ = std::make_unique<PdfDocument>(pdfPath_, printer_.paper.hundredthMm);
}

PrintJob::~PrintJob() {
    if (!finished_) {
        finish();
    }
}

std::unique_ptr<PrintJob> PrintJob::start(const Printer& printer, std::string_view documentName, std::string* failure) {
    std::string why;
    Printer onPaper = printer;
    if (printer.kind == PrinterKind::System) {
        const std::optional<PaperSize> paper = destinationPaper(printer.name, why);
        if (!paper) {
            if (failure != nullptr) *failure = why;
            return nullptr;
        }
        onPaper.paper = *paper;
    }
    const std::string path = printer.kind == PrinterKind::File ? printer.filePath : temporaryPdfPath();
    if (path.empty()) {
        if (failure != nullptr) *failure = std::string("cannot create a temporary file: ") + std::strerror(errno);
        return nullptr;
    }
    errno = 0;
    std::unique_ptr<PrintJob> job(new PrintJob(std::move(onPaper), std::string(documentName), path));
    if (!job->document_->isOpen()) {
        if (failure != nullptr) {
            *failure = "cannot write \"" + path + "\"" + (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
        }
        job->finished_ = true;
        if (printer.kind == PrinterKind::System) {
            std::remove(path.c_str());
        }
        return nullptr;
    }
    return job;
}

Canvas* PrintJob::startPage() { return finished_ ? nullptr : document_->startPage(); }

void PrintJob::endPage() {
    if (!finished_) {
        document_->endPage();
    }
}

bool PrintJob::finish() {
    if (finished_) {
        return false;
    }
    finished_ = true;
    const bool written = document_->close();
    if (!written) {
        failure_ = "cannot write \"" + pdfPath_ + "\"";
    }
    if (printer_.kind == PrinterKind::File) {
        return written;
    }
    return written && submit();
}

// Hands the PDF to CUPS on the sheet it was drawn for, at 100 %: a report
// scaled to fit would no longer be 25 mm/s and 10 mm/mV.
bool PrintJob::submit() {
    cups_option_t* options = nullptr;
    int count = 0;
    if (!printer_.paper.media.empty()) {
        count = cupsAddOption("media", printer_.paper.media.c_str(), count, &options);
    }
    count = cupsAddOption("print-scaling", "none", count, &options);
    count = cupsAddOption("fit-to-page", "false", count, &options);
    const std::string destination = printer_.name.substr(0, printer_.name.find('/'));
    const int job = cupsPrintFile(destination.c_str(), pdfPath_.c_str(), documentName_.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0) {
        failure_ = cupsFailure("CUPS did not take the job for \"" + printer_.name + "\"");
    }
    std::remove(pdfPath_.c_str());
    return job != 0;
}

}  // namespace lumen
