// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation and painting of the event rows with a full day of events in one
// row: every step must stay instant however many events the row holds.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>

#include "events/event_catalog.h"
#include "events/recording_canvas.h"
#include "platform/draw/raster_canvas.h"

namespace lumen {
namespace {

constexpr int32_t kStart = 1449000;
constexpr int32_t kDayTicks = 8640 * 500;
constexpr int32_t kBusyEvents = 100000;

struct BusyDay {
    LanguageTexts texts;
    EventCatalog catalog{texts};
    test::RecordingCanvas canvas;

    BusyDay() {
        catalog.setRecordingSpan(kStart, kStart + kDayTicks);
        catalog.setScreenArea({0, 0, 1024, 19 * 20});
        std::mt19937 random(7);
        int32_t position = 0;
        for (int32_t i = 0; i < kBusyEvents; ++i) {
            position += std::uniform_int_distribution<int32_t>(0, 2 * kDayTicks / kBusyEvents)(random);
            catalog.dispatchCode(i % 50 == 0 ? 160 : 32, position, 0, i);
        }
        for (int32_t r = 1; r < 17; ++r) {
            catalog.dispatchCode(EventCodeTable::category(r).code, r * 10000, 0, -1);
        }
        catalog.paintAll(canvas, PaintTarget::Screen);
        canvas.forget();
    }
};

void BM_NextAndPreviousEvent(benchmark::State& state) {
    BusyDay day;
    day.catalog.seekAfterCursor();
    for (int32_t i = 0; i < kBusyEvents / 2; ++i) {
        day.catalog.nextEvent();
    }
    bool forward = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(forward ? day.catalog.nextEvent() : day.catalog.previousEvent());
        forward = !forward;
    }
}
BENCHMARK(BM_NextAndPreviousEvent);

void BM_SeekNearest(benchmark::State& state) {
    BusyDay day;
    std::mt19937 random(3);
    std::uniform_int_distribution<int32_t> time(kStart - 1000, kStart + kDayTicks + 1000);
    EventSource& busy = day.catalog.row(0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(busy.seekNearest(time(random)));
    }
}
BENCHMARK(BM_SeekNearest);

void BM_ClickIntoBusyRow(benchmark::State& state) {
    BusyDay day;
    std::mt19937 random(5);
    std::uniform_int_distribution<int32_t> x(92, 933);
    for (auto _ : state) {
        day.catalog.clickAt({x(random), 5});
        benchmark::DoNotOptimize(day.catalog.cursorTime());
    }
}
BENCHMARK(BM_ClickIntoBusyRow);

void BM_RowChangeIntoBusyRow(benchmark::State& state) {
    BusyDay day;
    bool down = true;
    for (auto _ : state) {
        if (down) {
            day.catalog.nextRow();
        } else {
            day.catalog.previousRow();
        }
        down = !down;
        benchmark::DoNotOptimize(day.catalog.cursorTime());
    }
}
BENCHMARK(BM_RowChangeIntoBusyRow);

void BM_PaintAllRecordingCanvas(benchmark::State& state) {
    BusyDay day;
    for (auto _ : state) {
        day.catalog.paintAll(day.canvas, PaintTarget::Screen);
        benchmark::DoNotOptimize(day.canvas.lines.size());
        day.canvas.forget();
    }
}
BENCHMARK(BM_PaintAllRecordingCanvas)->Unit(benchmark::kMicrosecond);

void BM_PaintAllRasterCanvas(benchmark::State& state) {
    BusyDay day;
    RasterCanvas raster(Size{1024, 19 * 20});
    raster.setBkMode(BackgroundMode::Transparent);
    day.catalog.paintAll(raster, PaintTarget::Screen);  // fonts resolved once
    for (auto _ : state) {
        day.catalog.paintAll(raster, PaintTarget::Screen);
    }
}
BENCHMARK(BM_PaintAllRasterCanvas)->Unit(benchmark::kMicrosecond);

void BM_RepaintAfterStep(benchmark::State& state) {
    BusyDay day;
    RasterCanvas raster(Size{1024, 19 * 20});
    day.catalog.paintAll(raster, PaintTarget::Screen);
    for (auto _ : state) {
        day.catalog.nextEvent();
        day.catalog.repaintChanged(raster);
    }
}
BENCHMARK(BM_RepaintAfterStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lumen
