// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "platform/print/printer_list.h"
#include "print/print_host.h"
#include "print/print_request.h"
#include "print/report_facts.h"
#include "print/report_strip.h"

namespace lumen {

class EventCatalog;
class LanguageTexts;

// Everything the page reads besides the request.
struct ReportSources {
    const LanguageTexts& texts;
    EventCatalog& catalog;
    const StripWindow& window;
    const ReportFacts& facts;
};

enum class PrintResult : int32_t { PrintedOrDeclined = 0, NoPrinter = 1 };

// The printer of that index in the list, the first one when there is no
// such index, null when the list is empty.
const Printer* defaultPrinter(const PrinterList& printers, int32_t printerIndex);

// Asks, cuts the excerpt to the paper strip, opens the printer and prints
// the one-page report.
PrintResult printReport(PrintHost& host, const PrinterList& printers, const PrintRequest& request,
                        const ReportSources& sources);

// The paper strip of a request: the excerpt cut to fit, calipers moved.
ReportStrip reportStripOf(const PrintRequest& request, const StripWindow& window);

}  // namespace lumen
