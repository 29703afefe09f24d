// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "print/report_excerpt.h"
#include "view/strip_window.h"

namespace lumen {

// What the paper strip shows: an excerpt of the ECG view's strip window at
// the view's speed, amplitude and channels, with the measuring lines and
// the voltages they measured.
struct ReportStrip {
    const StripWindow* window = nullptr;
    ReportExcerpt excerpt;        // already fitted to the paper strip
    int32_t pixelsPerSample = 2;  // 1, 2, 4: 12.5, 25, 50 mm/s
    int32_t amplitudeStep = 2;    // 1, 2, 3: 5, 10, 20 mm/mV
    int32_t channelMode = 3;      // 1: channel 1, 2: channel 2, 3: both
    int32_t widthHundredthMm = kEventStripWidthHundredthMm;
    int32_t unitsPerMillivolt = -26;  // the recording's amplitude code value (negative)
    float channel1Millivolts = 0.0f;
    float channel2Millivolts = 0.0f;
};

}  // namespace lumen
