// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report on a full day: the whole page, chart of every event
// included, must be produced in well under 200 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "bench_home.h"
#include "events/event_catalog.h"
#include "events/recording_canvas.h"
#include "print/job_print_host.h"
#include "print/report_page.h"
#include "print/report_printer.h"
#include "store/event_feed.h"
#include "store/recording.h"
#include "store/trend_table.h"

namespace lumen {
namespace {

// The viewer as it stands after start-up: everything loaded, the first event
// selected, the strip window around it (25 mm/s on a 920-column strip).
struct DayOnScreen {
    Recording recording{bench::demoHome24h()};
    TrendTable trends;
    LanguageTexts texts;
    EventCatalog catalog{texts};
    StripWindow window;
    PrintRequest request;
    ReportFacts facts;

    DayOnScreen()
    {
        recording.beats().load(recording);
        recording.beats().count();
        trends.load(recording);
        feedEvents(recording, trends, catalog);
        catalog.setScreenArea(Rect{0, 0, 1024, 19 * 20});
        test::RecordingCanvas screen;
        catalog.paintAll(screen, PaintTarget::Screen);
        const int32_t windowStart = std::max(0, catalog.cursorPosition() - 230);
        window.loadWithClocks(recording, windowStart / 500);
        request.excerptStart = windowStart % 500;
        request.excerptEnd = request.excerptStart + 460;
        request.firstColumn = 300;
        request.secondColumn = 420;
        request.unitsPerMillivolt = recording.amplitudeCode();
        facts = gatherReportFacts(recording, trends, catalog, texts, std::string(catalog.selectedLongName()));
    }
};

class FileHost final : public JobPrintHost {
public:
    bool confirm(std::string_view, std::string_view) override { return true; }
    void showError(std::string_view, std::string_view) override {}
};

// Confirmation to finished PDF file: layout, chart, strip, fonts embedded.
void BM_ReportToPdfFile(benchmark::State& state)
{
    DayOnScreen day;
    const std::string path = (std::filesystem::temp_directory_path() / "lumen-bench-report.pdf").string();
    const PrinterList printers = PrinterList::toFile(path);
    FileHost host;
    for (auto _ : state) {
        const PrintResult result =
            printReport(host, printers, day.request, ReportSources{day.texts, day.catalog, day.window, day.facts});
        benchmark::DoNotOptimize(result);
    }
    state.counters["pdfBytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_ReportToPdfFile)->Unit(benchmark::kMillisecond);

// The drawing calls alone, without cairo: the page's own share.
void BM_ReportPageCalls(benchmark::State& state)
{
    DayOnScreen day;
    const ReportTools tools;
    const ReportStrip strip = reportStripOf(day.request, day.window);
    test::RecordingCanvas paper;
    for (auto _ : state) {
        paper.forget();
        ReportPage(paper, tools, day.texts).draw(day.facts, strip, day.catalog);
        benchmark::DoNotOptimize(paper.lines.size());
    }
}
BENCHMARK(BM_ReportPageCalls)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumen
