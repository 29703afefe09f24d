// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// The stretch of the strip window that goes on paper, with the measuring
// lines in strip columns (each printed as 0.25 mm); firstColumn -1 means
// no measuring lines.
struct ReportExcerpt {
    static constexpr int32_t kNoCaliper = -1;

    int32_t startSample = 0;
    int32_t endSample = 0;
    int32_t firstColumn = kNoCaliper;
    int32_t secondColumn = 0;

    int32_t lengthSamples() const { return endSample - startSample; }
    bool hasCalipers() const { return firstColumn != kNoCaliper; }
};

// One sample is pixelsPerSample × 0.25 mm of paper.
inline constexpr int32_t kHundredthMmPerSampleStep = 25;
inline constexpr int32_t kEventStripWidthHundredthMm = 18000;

// Samples across a paper strip: on the event report's 180 mm, 720 at
// 12.5 mm/s, 360 at 25 mm/s, 180 at 50 mm/s (pixelsPerSample 1, 2, 4).
int32_t stripCapacitySamples(int32_t pixelsPerSample, int32_t widthHundredthMm = kEventStripWidthHundredthMm);

// Cuts an excerpt longer than the paper strip symmetrically and moves the
// measuring lines with it; a first line left of the cut drops both lines,
// a second one is held at the left edge.
ReportExcerpt fitToStrip(ReportExcerpt excerpt, int32_t pixelsPerSample);

}  // namespace lumen
