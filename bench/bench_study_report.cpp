// SPDX-License-Identifier: GPL-3.0-or-later
// The study report of a full day: its numbers (HRV spectra of every five
// minutes included) and the whole PDF, as `holter report` makes it, must
// take well under a second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "bench_home.h"
#include "events/event_catalog.h"
#include "events/event_code_table.h"
#include "print/job_print_host.h"
#include "print/study_report.h"
#include "store/event_feed.h"
#include "store/recording.h"
#include "store/trend_table.h"
#include "study/study_calculator.h"

namespace lumen {
namespace {

class FileHost final : public JobPrintHost {
public:
    bool confirm(std::string_view, std::string_view) override { return true; }
    void showError(std::string_view, std::string_view) override {}
};

// Opening the recording, feeding its events, the numbers and every page.
void BM_StudyReportOfADay(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() / "lumen-bench-study.pdf").string();
    const Printer printer{path, PrinterKind::File, path, PaperSize::a4()};
    bench::demoHome24h();  // made once per machine, outside the timing
    for (auto _ : state) {
        Recording recording{bench::demoHome24h()};
        recording.beats().load(recording);
        TrendTable trends;
        trends.load(recording);
        LanguageTexts texts;
        EventCatalog catalog{texts};
        feedEvents(recording, trends, catalog);
        const StudyInput input = StudyInput::read(recording, trends, catalog.row(kToPrinterRow).count());
        const StudyFigures figures = StudyCalculator::compute(input);
        const StudyReportSources sources{.figures = figures,
                                         .input = input,
                                         .recording = recording,
                                         .flaggedEvents = StudyReport::flaggedEvents(catalog, recording),
                                         .patientLine = "Patient: DEMO",
                                         .interpretation = "",
                                         .reviewer = "",
                                         .reportDate = "2026-12-07",
                                         .unitsPerMillivolt = recording.amplitudeCode(),
                                         .sheetHundredthMm = PaperSize::a4().hundredthMm};
        FileHost host;
        const std::unique_ptr<PageOutput> output = host.startJob(printer, StudyReport::kDocumentName);
        benchmark::DoNotOptimize(output && StudyReport::print(*output, sources));
    }
    state.counters["pdfBytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_StudyReportOfADay)->Unit(benchmark::kMillisecond);

// The numbers alone: the beat walk, the episodes and the spectra.
void BM_StudyFiguresOfADay(benchmark::State& state) {
    Recording recording{bench::demoHome24h()};
    recording.beats().load(recording);
    TrendTable trends;
    trends.load(recording);
    const StudyInput input = StudyInput::read(recording, trends, 0);
    for (auto _ : state) benchmark::DoNotOptimize(StudyCalculator::compute(input));
}
BENCHMARK(BM_StudyFiguresOfADay)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumen
