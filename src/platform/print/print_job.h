// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/draw/canvas.h"
#include "platform/draw/geometry.h"
#include "platform/draw/page_orientation.h"
#include "platform/print/printer_list.h"

namespace lumen {

// One document on one printer, handed over the way a printer driver takes
// it: beginDocument, then startPage/endPage for every page, then
// endDocument, or abort to drop it. Each back-end implements it for its
// printers; openPrintJob picks the implementation.
class PrintJob {
public:
    virtual ~PrintJob() = default;

    // The sheet the pages are drawn on.
    virtual Size pageHundredthMm() const = 0;
    // Opens the document; false when the printer cannot take it, and
    // failure() says why.
    virtual bool beginDocument(std::string_view documentName) = 0;
    // A page's canvas in 0.01 mm (y upward, the top edge at y = 0), valid
    // until endPage. Only between beginDocument and endDocument. A landscape
    // page is the sheet turned: its top edge is the sheet's long side.
    virtual Canvas& startPage(PageOrientation orientation) = 0;
    Canvas& startPage() { return startPage(PageOrientation::Portrait); }
    virtual void endPage() = 0;
    // Ends the document and hands it to the printer; false when either
    // failed, and failure() says why.
    virtual bool endDocument() = 0;
    // Drops the document: nothing of it reaches the printer.
    virtual void abort() = 0;
    virtual const std::string& failure() const = 0;
};

// A job for `printer`; null when the printer cannot be reached, and
// `failure` then says why.
std::unique_ptr<PrintJob> openPrintJob(const Printer& printer, std::string* failure = nullptr);

}  // namespace lumen
