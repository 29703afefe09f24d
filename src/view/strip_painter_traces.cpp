// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/clock.h"
#include "view/strip_painter.h"

#include <algorithm>

namespace lumen {

namespace {

const Pen& tracePen(const StripDrawingObjects& objects, uint8_t penIndex) {
    return objects.tracePens[penIndex < objects.tracePens.size() ? penIndex : 0];
}

}  // namespace

int32_t StripPainter::channelMean(const std::vector<uint8_t>& samples, int32_t width) const {
    const int32_t k = view_.pixelsPerMillivolt();
    const int32_t end = std::min(width - view_.speed(), streams_.columns);
    int64_t sum = 0;
    int32_t count = 0;
    for (int32_t x = 0; x < end; ++x, ++count) sum += (samples[static_cast<size_t>(x)] - kBaselineSample) * k / unitsPerMillivolt_;
    return count == 0 ? 0 : static_cast<int32_t>(sum / count);
}

// Channel 1 carries the beat marks and episode names unless channel 2 is
// shown alone; with both shown each is centred on its own mean.
void StripPainter::drawTraces(StripScene& scene, const StripFontMetrics& metrics) {
    const int32_t mode = view_.channelMode;
    const int32_t reference = mode != 3 ? scene.height * 8 / 10 : scene.height * 6 / 15;
    const int32_t mean1 = mode == 3 ? channelMean(streams_.channel1, scene.width) : 0;
    const int32_t mean2 = mode == 3 ? channelMean(streams_.channel2, scene.width) : 0;
    if (mode == 1 || mode == 3) {
        BeatMarkWriter marks(scene, window_, metrics);
        const int32_t base = mode == 3 ? reference * 5 / 6 : reference * 5 / 8;
        drawTrace(scene, streams_.channel1, base + static_cast<int32_t>(reference / 30.0) - mean1, &marks);
        marks.writeEpisodeNames();
    }
    if (mode == 2) {
        BeatMarkWriter marks(scene, window_, metrics);
        drawTrace(scene, streams_.channel2, reference * 5 / 8 + static_cast<int32_t>(reference / 30.0), &marks);
        scene.image.setBkMode(BackgroundMode::Transparent);
        marks.writeEpisodeNames();
        scene.image.setBkMode(BackgroundMode::Opaque);
    }
    if (mode == 3) {
        drawTrace(scene, streams_.channel2, reference * 10 / 6 + static_cast<int32_t>(reference / 30.0) - mean2,
                  nullptr);
    }
}

// The trace stops at the first column without data; the pen follows the
// episode the column lies in.
void StripPainter::drawTrace(StripScene& scene, const std::vector<uint8_t>& samples, int32_t offset,
                             BeatMarkWriter* marks) {
    const std::vector<uint8_t>& pens = streams_.penIndex;
    if (streams_.columns == 0 || pens[0] == StripWindow::kNoDataPen) return;
    const int32_t k = view_.pixelsPerMillivolt();
    const auto y = [&](int32_t x) { return offset + (samples[static_cast<size_t>(x)] - kBaselineSample) * k / unitsPerMillivolt_; };
    Image& image = scene.image;
    image.moveTo({0, y(0)});
    image.selectPen(tracePen(scene.objects, pens[0]));
    const int32_t end = std::min(scene.width - view_.speed(), streams_.columns);
    for (int32_t x = 1; x < end; ++x) {
        const auto at = static_cast<size_t>(x);
        if (pens[at] == StripWindow::kNoDataPen) break;
        if (pens[at] != pens[at - 1]) image.selectPen(tracePen(scene.objects, pens[at]));
        image.lineTo({x, y(x)});
        if (marks != nullptr) marks->markColumn(x);
    }
}

}  // namespace lumen
