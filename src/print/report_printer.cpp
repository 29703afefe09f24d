// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report_printer.h"

#include "lang/language_texts.h"
#include "print/report_page.h"
#include "print/report_tools.h"

namespace lumen {

const Printer* defaultPrinter(const PrinterList& printers, int32_t printerIndex) {
    return printers.select(printerIndex);
}

ReportStrip reportStripOf(const PrintRequest& request, const StripWindow& window) {
    const ReportExcerpt asShown{request.excerptStart, request.excerptEnd, request.firstColumn, request.secondColumn};
    ReportStrip strip;
    strip.window = &window;
    strip.excerpt = fitToStrip(asShown, request.pixelsPerSample);
    strip.pixelsPerSample = request.pixelsPerSample;
    strip.amplitudeStep = request.amplitudeStep;
    strip.channelMode = request.channelMode;
    strip.unitsPerMillivolt = request.unitsPerMillivolt;
    strip.channel1Millivolts = request.channel1Millivolts;
    strip.channel2Millivolts = request.channel2Millivolts;
    return strip;
}

PrintResult printReport(PrintHost& host, const PrinterList& printers, const PrintRequest& request,
                        const ReportSources& sources) {
    const LanguageTexts& texts = sources.texts;
    if (!host.confirm(texts.text(TextId::PrintQuestion), texts.text(TextId::PrintCaption))) {
        return PrintResult::PrintedOrDeclined;
    }
    const ReportStrip strip = reportStripOf(request, sources.window);
    const Printer* printer = defaultPrinter(printers, request.printerIndex);
    std::unique_ptr<PageOutput> job =
        printer != nullptr ? host.startJob(*printer, texts.text(TextId::DocumentName)) : nullptr;
    if (!job) {
        const std::string cause = printer != nullptr ? host.jobFailure() : printers.emptyReason();
        host.tellCause(cause.empty() ? std::string("no printer") : cause);
        host.showError(texts.text(TextId::NoPrinter), texts.text(TextId::ErrorCaption));
        return PrintResult::NoPrinter;
    }
    const ReportTools tools;
    // A driver that gives no page yields no page; the job still ends.
    if (Canvas* page = job->startPage(); page != nullptr) {
        {
            CanvasStateGuard keep(*page);
            page->selectPen(tools.finePen);
            page->selectFont(tools.smallFont);
            ReportPage(*page, tools, texts).draw(sources.facts, strip, sources.catalog);
        }
        job->endPage();
    }
    if (!job->finish()) {
        host.tellCause(job->failure());
    }
    return PrintResult::PrintedOrDeclined;
}

}  // namespace lumen
