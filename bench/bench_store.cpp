// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up work of the store on a 24-hour recording: open, load the beats
// and trend tables, count, and feed every event into the catalog.
#include <benchmark/benchmark.h>

#include "bench_home.h"
#include "events/event_catalog.h"
#include "lang/language_texts.h"
#include "store/event_feed.h"
#include "store/recording.h"
#include "store/trend_table.h"

namespace lumen {
namespace {

void BM_OpenRecordingAndFeedEvents(benchmark::State& state) {
    const LanguageTexts texts;
    for (auto _ : state) {
        Recording recording(bench::demoHome24h());
        recording.beats().load(recording);
        TrendTable trends;
        trends.load(recording);
        EventCatalog catalog(texts);
        feedEvents(recording, trends, catalog);
        benchmark::DoNotOptimize(catalog.row(0).count());
    }
}
BENCHMARK(BM_OpenRecordingAndFeedEvents)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumen
