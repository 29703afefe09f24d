// SPDX-License-Identifier: GPL-3.0-or-later
// The beat analysis of a day: 24 hours of a two-lead 360 Hz ECG, fed an
// hour at a time as an import reads it.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "analysis/ecg_analyser.h"
#include "analysis/synthetic_ecg.h"

namespace {

constexpr double kRateHz = 360.0;
constexpr int kHours = 24;

void BM_AnalyseDay(benchmark::State& state) {
    // The signal is made before the clock runs: an hour of it, fed 24 times.
    lumen::SyntheticEcg ecg(kRateHz, 9);
    std::vector<float> lead0, lead1;
    const auto hour = static_cast<size_t>(3600 * kRateHz);
    ecg.fill(0, hour, lead0, lead1);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    size_t beats = 0;
    for (auto _ : state) {
        lumen::EcgAnalyser analyser(kRateHz, 2);
        for (int h = 0; h < kHours; ++h)
            for (size_t at = 0; at < hour; at += 1 << 16) {
                const size_t n = std::min<size_t>(1 << 16, hour - at);
                analyser.append(std::span(lead0).subspan(at, n), std::span(lead1).subspan(at, n));
            }
        beats = analyser.finish().beats.size();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["beats"] = static_cast<double>(beats);
    state.counters["peakRssMiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    // What the analysis adds to the process: the signal and the benchmark are left out.
    state.counters["analysisMiB"] = static_cast<double>(usage.ru_maxrss - before.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_AnalyseDay)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
