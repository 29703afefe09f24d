// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report_excerpt.h"

namespace lumen {

int32_t stripCapacitySamples(int32_t pixelsPerSample, int32_t widthHundredthMm) {
    return widthHundredthMm / (kHundredthMmPerSampleStep * (pixelsPerSample > 0 ? pixelsPerSample : 1));
}

ReportExcerpt fitToStrip(ReportExcerpt excerpt, int32_t pixelsPerSample) {
    const int32_t capacity = stripCapacitySamples(pixelsPerSample);
    if (excerpt.lengthSamples() > capacity) {
        const int32_t excess = (excerpt.lengthSamples() - capacity) / 2;
        excerpt.startSample += excess;
        excerpt.endSample = excerpt.startSample + capacity;
        excerpt.firstColumn -= excess * pixelsPerSample;
        excerpt.secondColumn -= excess * pixelsPerSample;
    }
    if (excerpt.firstColumn < 0) {
        excerpt.firstColumn = ReportExcerpt::kNoCaliper;
    }
    if (excerpt.secondColumn < 0) {
        excerpt.secondColumn = 0;
    }
    return excerpt;
}

}  // namespace lumen
