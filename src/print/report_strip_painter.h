// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/draw/canvas.h"
#include "print/report_strip.h"
#include "print/report_tools.h"

namespace lumen {

// The 60 mm high ECG strip of the reports (180 mm wide on the event report): millimetre grid, beat letters,
// quarter-sample beat ticks, RR intervals, channel names, measuring lines,
// traces (bold inside episodes) and episode names. One sample is
// pixelsPerSample × 0.25 mm wide, so 25 mm of paper is one second at 25 mm/s.
class ReportStripPainter {
public:
    static constexpr int32_t kHeight = 6000;
    static constexpr int32_t kMinimumSamples = 10;

    ReportStripPainter(Canvas& canvas, const ReportTools& tools, const ReportStrip& strip, Point topLeft);

    void paint();

    // Vertical offset of a sample from its channel's base line, in 0.01 mm.
    static int32_t sampleOffset(uint8_t sample, int32_t amplitudeStep, int32_t unitsPerMillivolt);
    // Where a beat's tick sits within its sample: the beat position counts
    // quarter samples.
    static int32_t quarterSampleShift(uint32_t beatPosition, int32_t pixelsPerSample);
    // The rate of an RR interval, or 0 when it is not printed.
    static int32_t printedRate(int32_t intervalMs);
    // The episode name printed on the strip; empty for codes without one.

private:
    int32_t xOf(int32_t index) const;
    bool onStrip(int32_t index) const;
    uint8_t label(int32_t index) const;
    uint32_t beatPosition(int32_t index) const;
    int32_t traceY(int32_t base, uint8_t sample) const;

    void drawGrid();
    void drawBeatRow();
    void drawChannelNames();
    void drawCalipers();
    void drawTraces();
    void drawTrace(const std::vector<uint8_t>& samples, int32_t base);
    int32_t meanOffset(const std::vector<uint8_t>& samples) const;
    void drawEpisodeNames();
    void drawEpisodeName(std::string_view name, int32_t x, int32_t halfLetter);

    Canvas& canvas_;
    const ReportTools& tools_;
    const ReportStrip& strip_;
    const StripWindow& window_;
    int32_t left_;
    int32_t top_;
    int32_t start_;   // first window sample of the excerpt
    int32_t length_;  // samples, within the window
    int32_t step_;    // 0.01 mm per sample
    int32_t leadIn_;  // samples of empty paper before the excerpt
    int32_t width_;   // 0.01 mm
};

}  // namespace lumen
