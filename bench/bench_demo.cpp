// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <filesystem>

#include "demo/demo_home.h"
#include "demo/demo_recording.h"

namespace lumen {
namespace {

// A whole program home on disk, the figure that `holter demo` costs.
void BM_DemoHome(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "lumen_bench_demo";
    DemoOptions options;
    options.directory = folder.string();
    options.hours = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const DemoResult result = writeDemoHome(options);
        if (result.status != DemoStatus::Ok) state.SkipWithError(result.summary.c_str());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DemoHome)->Arg(1)->Arg(24)->Unit(benchmark::kMillisecond)->Iterations(1);

// The recording in memory: plan, signal, tables, forms and holter.mem.
void BM_DemoRecording(benchmark::State& state) {
    size_t beats = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        const RecordingImage r = DemoRecordingBuilder::build(static_cast<int32_t>(state.range(0)), 1);
        beats = r.plan.beats.size();
        bytes = r.holterMem.size();
    }
    state.counters["beats"] = static_cast<double>(beats);
    state.counters["holterMemBytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_DemoRecording)->Arg(24)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace lumen
