// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/print/pdf_print_job.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/draw/pdf_document.h"

namespace lumen {

PdfPrintJob::PdfPrintJob(std::string pdfPath, PaperSize paper, std::optional<CupsDestination> destination)
    : pdfPath_(std::move(pdfPath)), paper_(std::move(paper)), destination_(std::move(destination)) {}

PdfPrintJob::~PdfPrintJob() {
    if (stage_ != Stage::Ended) abort();
}

bool PdfPrintJob::beginDocument(std::string_view documentName) {
    if (stage_ != Stage::Ready) {
        std::fprintf(stderr, "lumen: PrintJob::beginDocument called twice\n");
        std::abort();
    }
    documentName_ = std::string(documentName);
    errno = 0;
    document_ = std::make_unique<PdfDocument>(pdfPath_, paper_.hundredthMm);
    if (!document_->isOpen()) {
        failure_ = "cannot write \"" + pdfPath_ + "\"" + (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
        document_.reset();
        removeTemporaryFile();
        stage_ = Stage::Ended;
        return false;
    }
    stage_ = Stage::Open;
    return true;
}

// Drawing outside a document would be lost without a trace.
void PdfPrintJob::requireOpen(const char* call) const {
    if (stage_ != Stage::Open) {
        std::fprintf(stderr, "lumen: PrintJob::%s called outside an open document\n", call);
        std::abort();
    }
}

Canvas& PdfPrintJob::startPage(PageOrientation orientation) {
    requireOpen("startPage");
    return *document_->startPage(orientation);
}

void PdfPrintJob::endPage() {
    requireOpen("endPage");
    document_->endPage();
}

bool PdfPrintJob::endDocument() {
    requireOpen("endDocument");
    stage_ = Stage::Ended;
    const bool written = document_->close();
    if (!written) {
        failure_ = "cannot write \"" + pdfPath_ + "\"";
    }
    if (!destination_) {
        return written;
    }
    const bool submitted = written && destination_->submit(pdfPath_, documentName_, paper_, failure_);
    removeTemporaryFile();
    return submitted;
}

void PdfPrintJob::abort() {
    const bool begun = stage_ == Stage::Open;
    stage_ = Stage::Ended;
    if (document_) document_->close();
    // A file printer's file is ours only once the document was begun.
    if (destination_ || begun) std::remove(pdfPath_.c_str());
}

void PdfPrintJob::removeTemporaryFile() {
    if (destination_) std::remove(pdfPath_.c_str());
}

}  // namespace lumen
