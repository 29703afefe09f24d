// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_home.h"
#include "lang/language_texts.h"
#include "platform/draw/raster_canvas.h"
#include "store/recording.h"
#include "view/strip_host.h"
#include "view/strip_painter.h"
#include "view/strip_window.h"

namespace lumen {
namespace {

// The ECG pane of a 1024 x 768 screen (screen class 1): strip 920 wide.
class BenchStripHost final : public StripHost {
public:
    BenchStripHost()
        : objects_(StripDrawingObjects::make(StripColors{}, 1)),
          image_(Size{kWidth + 1, kHeight}),
          pane_(Size{kWidth + 90, kHeight}) {}

    StripGeometry stripGeometry() const override { return {kWidth, kWidth + 90, kHeight, 45, 29, 1}; }
    const StripDrawingObjects& drawingObjects() const override { return objects_; }
    Image* stripImage() override { return &image_; }
    Canvas* beginPanePaint() override { return &pane_; }
    void endPanePaint(Canvas&) override {}
    bool selectedHasEvents() const override { return true; }
    bool stripFrozen() const override { return false; }

private:
    static constexpr int32_t kWidth = 920;
    static constexpr int32_t kHeight = 236;
    StripDrawingObjects objects_;
    RasterCanvas image_;
    RasterCanvas pane_;
};

// One 24-hour recording with its strip, shared by the benchmarks below.
struct StripBench {
    Recording recording{bench::demoHome24h()};
    StripWindow window;
    LanguageTexts texts;
    BenchStripHost host;
    StripPainter painter{recording, window, texts, host};

    StripBench() {
        recording.beats().load(recording);
        painter.view().channelMode = 3;
    }
    static StripBench& instance() {
        static StripBench bench;
        return bench;
    }
};

constexpr int32_t kDaySamples = 24 * 180000;
constexpr int32_t kStepSamples = 7919 * 50;  // an odd stride through the day

void BM_StripLoadAround(benchmark::State& state) {
    StripBench& bench = StripBench::instance();
    int32_t t = 3000;
    for (auto _ : state) {
        bench.painter.loadStripAround(t);
        t = (t + kStepSamples) % kDaySamples;
    }
}
BENCHMARK(BM_StripLoadAround)->Unit(benchmark::kMillisecond);

void BM_StripSpeedChange(benchmark::State& state) {
    StripBench& bench = StripBench::instance();
    for (auto _ : state) bench.painter.nextSpeed(kDaySamples / 2);
}
BENCHMARK(BM_StripSpeedChange)->Unit(benchmark::kMillisecond);

void BM_StripAmplitudeChange(benchmark::State& state) {
    StripBench& bench = StripBench::instance();
    bench.painter.loadStripAround(kDaySamples / 3);
    for (auto _ : state) bench.painter.nextAmplitude();
}
BENCHMARK(BM_StripAmplitudeChange)->Unit(benchmark::kMillisecond);

void BM_StripRelabelWithWriteBack(benchmark::State& state) {
    StripBench& bench = StripBench::instance();
    bench.painter.view().pixelsPerSample = 2;
    bench.painter.loadStripAround(kDaySamples - 6000);  // late in the day: the longest write-back walk
    LabelChanges changes;
    bool ventricular = false;
    for (auto _ : state) {
        ventricular = !ventricular;
        bench.painter.relabelFromPane(ventricular ? RelabelMode::Ventricular : RelabelMode::Normal, changes);
    }
}
BENCHMARK(BM_StripRelabelWithWriteBack)->Unit(benchmark::kMillisecond);

void BM_StripNextBeat(benchmark::State& state) {
    StripBench& bench = StripBench::instance();
    bench.painter.loadStripAround(kDaySamples / 4);
    bool forward = true;
    for (auto _ : state) {
        if (forward) bench.painter.selectNextBeat();
        else bench.painter.selectPreviousBeat();
        if (bench.painter.view().selectedBeat >= 8 || bench.painter.view().selectedBeat <= 1) forward = !forward;
    }
}
BENCHMARK(BM_StripNextBeat)->Unit(benchmark::kMillisecond);

void BM_StripCaliperDrag(benchmark::State& state) {
    StripBench& bench = StripBench::instance();
    bench.painter.loadStripAround(kDaySamples / 5);
    bench.painter.caliper().forgetRelease();
    bench.painter.pressCaliper(200, MouseKeys::LeftAlone);
    int32_t column = 300;
    for (auto _ : state) {
        bench.painter.moveCaliper(column, MouseKeys::LeftAlone);
        column = column >= 700 ? 300 : column + 7;
    }
    bench.painter.releaseCaliper(column);
}
BENCHMARK(BM_StripCaliperDrag)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lumen
