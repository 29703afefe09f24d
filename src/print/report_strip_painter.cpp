// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report_strip_painter.h"

#include <algorithm>

#include "print/report_box.h"
#include "store/clock.h"

namespace lumen {

namespace {

const StripWindow& windowOrEmpty(const StripWindow* window) {
    static const StripWindow empty;
    return window != nullptr ? *window : empty;
}

constexpr int32_t kGridLineSpacing = 1000;  // 10 mm
constexpr int32_t kGridDotSpacing = 100;    // 1 mm
constexpr int32_t kGridDotLength = 26;

}  // namespace

ReportStripPainter::ReportStripPainter(Canvas& canvas, const ReportTools& tools, const ReportStrip& strip,
                                       Point topLeft)
    : canvas_(canvas),
      tools_(tools),
      strip_(strip),
      window_(windowOrEmpty(strip.window)),
      left_(topLeft.x),
      top_(topLeft.y) {
    const size_t shortest = std::min({window_.channel1.size(), window_.channel2.size(), window_.penIndex.size(),
                                      window_.episodeCode.size(), window_.beatLabel.size()});
    const int32_t samples = static_cast<int32_t>(shortest);
    start_ = std::clamp(strip.excerpt.startSample, 0, samples);
    const int32_t end = std::clamp(strip.excerpt.endSample, start_, samples);
    length_ = end - start_;
    const int32_t pixelsPerSample = std::clamp(strip.pixelsPerSample, 1, 4);
    step_ = pixelsPerSample * kHundredthMmPerSampleStep;
    width_ = strip.widthHundredthMm;
    leadIn_ = (stripCapacitySamples(pixelsPerSample, width_) - strip.excerpt.lengthSamples()) / 2;
}

int32_t ReportStripPainter::sampleOffset(uint8_t sample, int32_t amplitudeStep, int32_t unitsPerMillivolt) {
    const int32_t scale = amplitudeStep == 1 ? 5000 : amplitudeStep == 3 ? 20000 : 10000;
    const int32_t hundredthsPerUnit = unitsPerMillivolt != 0 ? -(scale / unitsPerMillivolt) : 0;
    return (static_cast<int32_t>(sample) - kBaselineSample) * hundredthsPerUnit / 10;
}

int32_t ReportStripPainter::quarterSampleShift(uint32_t beatPosition, int32_t pixelsPerSample) {
    const uint32_t quarter = beatPosition % 4;
    if (pixelsPerSample == 2) {
        return quarter < 2 ? -25 : 0;
    }
    if (pixelsPerSample == 4) {
        return static_cast<int32_t>(quarter) * 25 - 50;
    }
    return 0;
}

int32_t ReportStripPainter::printedRate(int32_t intervalMs) {
    if (intervalMs <= 0) {
        return 0;
    }
    const int32_t rate = (intervalMs + 120000) / intervalMs / 2;
    return rate < 251 ? rate : 0;
}

int32_t ReportStripPainter::xOf(int32_t index) const { return left_ + (leadIn_ + index) * step_; }

bool ReportStripPainter::onStrip(int32_t index) const { return index < length_ && xOf(index) < left_ + width_; }

uint8_t ReportStripPainter::label(int32_t index) const {
    return window_.beatLabel[static_cast<size_t>(start_ + index)];
}

uint32_t ReportStripPainter::beatPosition(int32_t index) const {
    const uint32_t ordinal = window_.ordinalAt(start_ + index);
    return ordinal < window_.beatPositions.size() ? window_.beatPositions[ordinal] : 0;
}

int32_t ReportStripPainter::traceY(int32_t base, uint8_t sample) const {
    const int32_t y = base + sampleOffset(sample, strip_.amplitudeStep, strip_.unitsPerMillivolt);
    return std::clamp(y, top_ - kHeight, top_);
}

void ReportStripPainter::paint() {
    drawGrid();
    if (length_ < kMinimumSamples || strip_.excerpt.lengthSamples() < kMinimumSamples) {
        return;
    }
    drawBeatRow();
    drawChannelNames();
    drawCalipers();
    drawTraces();
    drawEpisodeNames();
}

void ReportStripPainter::drawGrid() {
    drawReportBox(canvas_, tools_, Point{left_, top_}, Size{width_, kHeight}, BoxFill::Hollow);
    const int32_t right = left_ + width_;
    const int32_t bottom = top_ - kHeight;
    for (int32_t x = left_; x < right; x += kGridLineSpacing) {
        canvas_.moveTo(Point{x, top_});
        canvas_.lineTo(Point{x, bottom});
    }
    for (int32_t y = top_; y > bottom; y -= kGridLineSpacing) {
        canvas_.moveTo(Point{left_, y});
        canvas_.lineTo(Point{right, y});
    }
    // A dot is a 0.26 mm dash of the fine pen, filled as its outline so
    // that ten thousand of them stay cheap on paper.
    const int32_t half = tools_.finePen.width / 2;
    const Brush ink = Brush::solid(tools_.finePen.color);
    for (int32_t y = top_; y > bottom; y -= kGridDotSpacing) {
        for (int32_t x = left_; x < right; x += kGridDotSpacing) {
            canvas_.fillRect(Rect{x, y + half, x + kGridDotLength, y - half}, ink);
        }
    }
}

// Both channels are centred on their own mean so that a wandering
// baseline does not push one trace into the other.
int32_t ReportStripPainter::meanOffset(const std::vector<uint8_t>& samples) const {
    if (length_ <= 0) {
        return 0;
    }
    int64_t sum = 0;
    for (int32_t i = 0; i < length_; ++i) {
        sum += sampleOffset(samples[static_cast<size_t>(start_ + i)], strip_.amplitudeStep, strip_.unitsPerMillivolt);
    }
    return static_cast<int32_t>(sum / length_);
}

void ReportStripPainter::drawTraces() {
    if (strip_.channelMode == 3) {
        drawTrace(window_.channel1, top_ - 2200 - meanOffset(window_.channel1));
        drawTrace(window_.channel2, top_ - 3800 - meanOffset(window_.channel2));
    } else {
        drawTrace(strip_.channelMode == 2 ? window_.channel2 : window_.channel1, top_ - 3000);
    }
}

// Segments that start inside an episode are drawn bold.
void ReportStripPainter::drawTrace(const std::vector<uint8_t>& samples, int32_t base) {
    canvas_.selectPen(tools_.finePen);
    bool bold = false;
    canvas_.moveTo(Point{xOf(0), traceY(base, samples[static_cast<size_t>(start_)])});
    for (int32_t i = 1; onStrip(i); ++i) {
        const bool episode = window_.penIndex[static_cast<size_t>(start_ + i - 1)] != 0;
        if (episode != bold) {
            bold = episode;
            canvas_.selectPen(bold ? tools_.boldPen : tools_.finePen);
        }
        canvas_.lineTo(Point{xOf(i), traceY(base, samples[static_cast<size_t>(start_ + i)])});
    }
    canvas_.selectPen(tools_.finePen);
}

}  // namespace lumen
