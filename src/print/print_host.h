// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "platform/draw/canvas.h"
#include "platform/draw/page_orientation.h"
#include "platform/print/printer_list.h"

namespace lumen {

// The pages of one print job, as the printer hands them out.
class PageOutput {
public:
    virtual ~PageOutput() = default;
    // The page's canvas in 0.01 mm, y upward from the top edge; null when
    // the printer gives none (the page is then simply not printed).
    virtual Canvas* startPage(PageOrientation orientation) = 0;
    Canvas* startPage() { return startPage(PageOrientation::Portrait); }
    virtual void endPage() = 0;
    // Ends the document and hands it to the printer.
    virtual bool finish() = 0;
    // Why finish failed.
    virtual std::string failure() const = 0;
};

// What printing needs from the window system: its message boxes and its
// printers. The shell implements it; tests script it.
class PrintHost {
public:
    virtual ~PrintHost() = default;
    // A Yes/No box with the question icon and no owner; true for Yes.
    virtual bool confirm(std::string_view text, std::string_view caption) = 0;
    // An OK box with the exclamation icon and no owner.
    virtual void showError(std::string_view text, std::string_view caption) = 0;
    // A print job on that printer; null when the printer cannot be opened,
    // and jobFailure() then says why.
    virtual std::unique_ptr<PageOutput> startJob(const Printer& printer, std::string_view documentName) = 0;
    virtual std::string jobFailure() const = 0;
    // Tells the cause of a failure beside the message box, which only says
    // that printing failed.
    virtual void tellCause(std::string_view cause) = 0;
};

}  // namespace lumen
