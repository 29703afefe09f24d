// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/print/print_job.h"
#include "platform/win32/gdi_canvas.h"

namespace lumen {

// A print job on a Windows printer through its GDI device context
// (CreateDC, StartDoc, StartPage/EndPage, EndDoc), portrait, each page a
// GdiCanvas in 0.01 mm. With `outputFile` the driver writes the document
// into that file (a PDF printer's --print-to).
class GdiPrintJob final : public PrintJob {
public:
    // Null when the printer cannot be opened; `failure` says why.
    static std::unique_ptr<GdiPrintJob> open(const std::string& printerName, std::optional<std::string> outputFile,
                                             std::string& failure);
    ~GdiPrintJob() override;
    GdiPrintJob(const GdiPrintJob&) = delete;
    GdiPrintJob& operator=(const GdiPrintJob&) = delete;

    Size pageHundredthMm() const override;
    bool beginDocument(std::string_view documentName) override;
    using PrintJob::startPage;
    Canvas& startPage(PageOrientation orientation) override;
    void endPage() override;
    bool endDocument() override;
    void abort() override;
    const std::string& failure() const override { return failure_; }

private:
    GdiPrintJob(HDC dc, std::optional<std::string> outputFile) : dc_(dc), outputFile_(std::move(outputFile)) {}
    void orient(PageOrientation orientation);

    HDC dc_;
    std::optional<std::string> outputFile_;
    std::unique_ptr<GdiCanvas> page_;
    bool started_ = false;
    PageOrientation orientation_ = PageOrientation::Portrait;
    std::string failure_;
};

}  // namespace lumen
