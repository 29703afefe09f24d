// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/draw/raster_canvas.h"

namespace lumen {
namespace {

constexpr int32_t screenWidth = 1024;
constexpr int32_t screenHeight = 768;

std::vector<int32_t> traceSamples(int32_t count, int32_t base, int32_t amplitude)
{
    std::vector<int32_t> samples(static_cast<size_t>(count));
    for (int32_t x = 0; x < count; ++x) {
        const double phase = (x % 80) / 80.0;
        const double spike = phase > 0.45 && phase < 0.5 ? 1.0 : 0.0;
        samples[static_cast<size_t>(x)] =
            base - static_cast<int32_t>(amplitude * (0.15 * std::sin(x * 0.2) + spike));
    }
    return samples;
}

void paintEventRows(Canvas& canvas, const Font& rowFont)
{
    canvas.selectFont(rowFont);
    canvas.setBkMode(BackgroundMode::Transparent);
    const Brush rowBrush = Brush::lightGrey();
    const Brush selectedBrush = Brush::grey();
    for (int32_t row = 0; row < 19; ++row) {
        const int32_t top = 10 + row * 21;
        canvas.selectBrush(row == 3 ? selectedBrush : rowBrush);
        canvas.rectangle(Rect{5, top, 1000, top + 20});
        canvas.setTextColor(row == 3 ? rgb(255, 0, 0) : blackColor);
        canvas.textOut(Point{7, top + 2}, "  VE Couplet");
        canvas.drawText(Rect{930, top, 995, top + 20}, std::to_string(row * 37),
                        DrawTextFormat::Right | DrawTextFormat::VerticalCenter);
        for (int32_t tick = 0; tick < 60; ++tick) {
            const int32_t x = 160 + tick * 12 + row;
            canvas.moveTo(Point{x, top + 18});
            canvas.lineTo(Point{x, top + 4});
        }
    }
}

void paintStrip(Canvas& strip, const std::vector<int32_t>& first, const std::vector<int32_t>& second,
                const Font& stripFont)
{
    const Size size = strip.deviceSize();
    strip.fillRect(Rect{0, 0, size.width, size.height}, Brush::white());
    strip.selectPen(Pen::solid(0, rgb(255, 200, 200)));
    for (int32_t x = 0; x < size.width; x += 10) {
        strip.moveTo(Point{x, 0});
        strip.lineTo(Point{x, size.height});
    }
    for (int32_t y = 0; y < size.height; y += 10) {
        strip.moveTo(Point{0, y});
        strip.lineTo(Point{size.width, y});
    }
    strip.selectPen(Pen::solid(0, blackColor));
    for (const auto* trace : {&first, &second}) {
        strip.moveTo(Point{0, (*trace)[0]});
        for (int32_t x = 1; x < size.width; ++x) {
            strip.lineTo(Point{x, (*trace)[static_cast<size_t>(x)]});
        }
    }
    strip.selectFont(stripFont);
    strip.setBkMode(BackgroundMode::Opaque);
    strip.setTextAlign(TextAlign::Center | TextAlign::Top);
    for (int32_t beat = 0; beat < 31; ++beat) {
        strip.textOut(Point{20 + beat * 32, 4}, beat % 7 == 0 ? "V" : "N");
    }
    strip.setTextAlign(TextAlign::Left | TextAlign::Top);
}

// One full repaint of a 1024 x 768 window: event rows painted directly,
// the ECG strip painted off-screen and copied in, about 3300 lines and
// 69 text runs.
void BM_CanvasFullRepaint(benchmark::State& state)
{
    RasterCanvas screen(Size{screenWidth, screenHeight});
    std::unique_ptr<Image> strip = screen.createCompatibleImage(Size{screenWidth, 300});
    const auto first = traceSamples(screenWidth, 80, 60);
    const auto second = traceSamples(screenWidth, 220, 60);
    const Font rowFont = Font::make("Arial", 14, Font::boldWeight);
    const Font stripFont = Font::make("Arial", 14, Font::normalWeight);
    for (auto _ : state) {
        screen.fillRect(Rect{0, 0, screenWidth, screenHeight}, Brush::solid(rgb(240, 240, 240)));
        paintEventRows(screen, rowFont);
        paintStrip(*strip, first, second, stripFont);
        screen.bitBlt(Rect{0, 440, screenWidth, 740}, *strip, Point{0, 0});
        benchmark::DoNotOptimize(screen.pixel(500, 500));
    }
}
BENCHMARK(BM_CanvasFullRepaint)->Unit(benchmark::kMillisecond);

void BM_CanvasShortLines(benchmark::State& state)
{
    RasterCanvas screen(Size{screenWidth, screenHeight});
    const auto trace = traceSamples(screenWidth, 300, 200);
    for (auto _ : state) {
        screen.moveTo(Point{0, trace[0]});
        for (int32_t x = 1; x < screenWidth; ++x) {
            screen.lineTo(Point{x, trace[static_cast<size_t>(x)]});
        }
    }
    state.SetItemsProcessed(state.iterations() * (screenWidth - 1));
}
BENCHMARK(BM_CanvasShortLines);

void BM_CanvasTextRun(benchmark::State& state)
{
    RasterCanvas screen(Size{screenWidth, screenHeight});
    screen.selectFont(Font::make("Arial", 18, Font::boldWeight));
    for (auto _ : state) {
        screen.textOut(Point{100, 100}, "123 msec  48 bpm");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CanvasTextRun);

void BM_CanvasXorCursor(benchmark::State& state)
{
    RasterCanvas screen(Size{screenWidth, screenHeight});
    screen.setRasterOp(RasterOp::Xor);
    screen.selectPen(Pen::solid(0, rgb(192, 192, 192)));
    for (auto _ : state) {
        screen.moveTo(Point{500, 400});
        screen.lineTo(Point{500, 10});
    }
}
BENCHMARK(BM_CanvasXorCursor);

}  // namespace
}  // namespace lumen
