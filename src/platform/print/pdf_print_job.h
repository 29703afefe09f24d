// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/print/cups_destination.h"
#include "platform/print/paper_size.h"
#include "platform/print/print_job.h"

namespace lumen {

class PdfDocument;

// A print job as a vector PDF file on the printer's paper. Without a
// destination the file is the output (a file printer); with one, the file is
// a temporary one, handed to CUPS at endDocument and removed.
class PdfPrintJob final : public PrintJob {
public:
    PdfPrintJob(std::string pdfPath, PaperSize paper, std::optional<CupsDestination> destination = std::nullopt);
    // A document still open is dropped, as by abort().
    ~PdfPrintJob() override;
    PdfPrintJob(const PdfPrintJob&) = delete;
    PdfPrintJob& operator=(const PdfPrintJob&) = delete;

    Size pageHundredthMm() const override { return paper_.hundredthMm; }
    bool beginDocument(std::string_view documentName) override;
    using PrintJob::startPage;
    Canvas& startPage(PageOrientation orientation) override;
    void endPage() override;
    bool endDocument() override;
    void abort() override;
    const std::string& failure() const override { return failure_; }

private:
    enum class Stage { Ready, Open, Ended };

    void requireOpen(const char* call) const;
    void removeTemporaryFile();

    std::string pdfPath_;
    PaperSize paper_;
    std::optional<CupsDestination> destination_;
    std::string documentName_;
    std::unique_ptr<PdfDocument> document_;
    std::string failure_;
    Stage stage_ = Stage::Ready;
};

}  // namespace lumen
