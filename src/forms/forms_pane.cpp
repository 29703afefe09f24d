// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/forms_pane.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "forms/forms_layout.h"
#include "store/clock.h"

namespace lumen {
namespace {

constexpr Color kSampleColor = rgb(200, 200, 200);
constexpr Color kFrameColor = rgb(160, 160, 160);
constexpr Color kSelectedColor = rgb(0, 90, 200);
constexpr Color kMeasureColor = rgb(60, 60, 60);
// The class colours of the means and the class letters: N, S, V, A.
constexpr std::array<Color, kBeatClassCount> kClassColors = {rgb(0, 0, 0), rgb(0, 0, 210), rgb(210, 0, 0),
                                                             rgb(120, 120, 120)};
constexpr int32_t kTextLines = 2;
constexpr int32_t kLineHeight = 16;
constexpr int32_t kInset = 3;
// The mean's largest deflection fills this share of its channel's half.
constexpr double kPeakFill = 0.8;

std::string tileText(const FormTile& tile) {
    char text[64];
    std::snprintf(text, sizeof text, "#%u %c %u (%.1f %%)", unsigned{tile.id},
                  kBeatClassLetters[static_cast<size_t>(tile.beatClass)], tile.count, tile.sharePercent);
    return text;
}

std::string measureText(const FormTile& tile) {
    char text[64];
    std::snprintf(text, sizeof text, "QRS %d ms  RR %d %%", tile.qrsWidthMs, tile.prematurityPercent);
    return text;
}

double peakOf(const FormTile& tile) {
    double peak = 1.0;
    for (const auto& channel : tile.mean)
        for (const double v : channel) peak = std::max(peak, std::abs(v - kBaselineSample));
    return peak;
}

// One channel's trace in `band`: x across the excerpt, y about its middle.
template <typename Samples>
void trace(Canvas& canvas, const Samples& samples, Rect band, double unitsToPixels) {
    const int32_t middle = (band.top + band.bottom) / 2;
    for (size_t k = 0; k < samples.size(); ++k) {
        const int32_t x = band.left + static_cast<int32_t>(k) * band.width() / static_cast<int32_t>(samples.size() - 1);
        const int32_t y = middle - static_cast<int32_t>(std::lround((samples[k] - kBaselineSample) * unitsToPixels));
        if (k == 0)
            canvas.moveTo(Point{x, y});
        else
            canvas.lineTo(Point{x, y});
    }
}

}  // namespace

FormsPane::FormsPane(WindowSystem& system, const PaneContext& context, const FormsView& view,
                     std::function<void(size_t)> tileClicked)
    : system_(system), context_(context), view_(view), tileClicked_(std::move(tileClicked)) {}

int32_t FormsPane::columns() const {
    const Rect client = system_.clientRect(window());
    return FormsLayout(Size{client.width(), client.height()}, view_.gallery().tiles().size()).columns();
}

void FormsPane::paintTile(Canvas& canvas, const FormTile& tile, Rect place, bool selected) {
    canvas.saveState();
    canvas.selectPen(Pen::solid(selected ? 3 : 1, selected ? kSelectedColor : kFrameColor));
    canvas.selectBrush(Brush::null());
    canvas.rectangle(place);
    const Rect inner{place.left + kInset, place.top + kInset, place.right - kInset, place.bottom - kInset};
    canvas.setClipRect(inner);
    canvas.setTextColor(kClassColors[static_cast<size_t>(tile.beatClass)]);
    canvas.textOut(Point{inner.left, inner.top}, tileText(tile));
    canvas.setTextColor(kMeasureColor);
    canvas.textOut(Point{inner.left, inner.top + kLineHeight}, measureText(tile));
    const int32_t plotTop = inner.top + kTextLines * kLineHeight;
    const int32_t half = std::max(1, (inner.bottom - plotTop) / 2);
    const double unitsToPixels = kPeakFill * half / 2.0 / peakOf(tile);
    for (size_t c = 0; c < 2; ++c) {
        const Rect band{inner.left, plotTop + static_cast<int32_t>(c) * half, inner.right,
                        plotTop + static_cast<int32_t>(c + 1) * half};
        canvas.setClipRect(band);
        canvas.selectPen(Pen::solid(1, kSampleColor));
        for (const FormTile::Excerpt& e : tile.sample) trace(canvas, e[c], band, unitsToPixels);
        canvas.selectPen(Pen::solid(2, kClassColors[static_cast<size_t>(tile.beatClass)]));
        trace(canvas, tile.mean[c], band, unitsToPixels);
    }
    canvas.restoreState();
}

void FormsPane::paint(WindowHandle window) {
    PaintStruct paint;
    Canvas* canvas = system_.beginPaint(window, paint);
    if (canvas != nullptr) {
        const Rect client = system_.clientRect(window);
        canvas->fillRect(client, context_.drawing().windowBrush);
        canvas->saveState();
        canvas->selectFont(context_.drawing().rowFontSmall);
        canvas->setBkMode(BackgroundMode::Transparent);
        canvas->setTextColor(context_.drawing().ventricularColor);
        canvas->textOut(Point{kInset, 2}, kHeading);
        const auto& tiles = view_.gallery().tiles();
        const FormsLayout layout(Size{client.width(), client.height()}, tiles.size());
        for (size_t t = 0; t < tiles.size(); ++t)
            paintTile(*canvas, tiles[t], layout.tile(t), t == view_.selectedTile());
        canvas->restoreState();
    }
    system_.endPaint(window, paint);
}

LResult FormsPane::handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case WM_PAINT: paint(window); return 0;
    case WM_LBUTTONDOWN: {
        const Rect client = system_.clientRect(window);
        const FormsLayout layout(Size{client.width(), client.height()}, view_.gallery().tiles().size());
        if (const auto tile = layout.tileAt(pointFromLParam(lParam))) tileClicked_(*tile);
        system_.setFocus(context_.mainWindow());
        return 0;
    }
    default: break;
    }
    return system_.defWindowProc(window, message, wParam, lParam);
}

}  // namespace lumen
