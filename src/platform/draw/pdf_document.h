// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "platform/draw/canvas.h"
#include "platform/draw/page_orientation.h"

namespace lumen {

// A print job as a vector PDF file of portrait pages with embedded fonts, on
// the sheet the printer uses (A4 unless told otherwise).
// Each page is drawn through a Canvas that starts in HundredthMillimetre
// mode (y grows upward, the top edge of the page is y = 0); its Pixels mode
// is a 600 dpi device, like a printer's.
class PdfDocument {
public:
    static constexpr Size a4HundredthMm{21000, 29700};
    static constexpr int32_t dotsPerInch = 600;

    // Opens the file; isOpen() tells whether that worked.
    explicit PdfDocument(const std::string& path, Size pageHundredthMm = a4HundredthMm);
    Size pageHundredthMm() const;
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    bool isOpen() const;
    // Begins a page and returns its canvas, valid until endPage(); nullptr
    // when the document is not open. A page still open is ended first.
    Canvas* startPage(PageOrientation orientation = PageOrientation::Portrait);
    void endPage();
    // Ends an open page and finishes the file; false when it failed.
    bool close();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace lumen
