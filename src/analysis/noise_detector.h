// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/analysed_beat.h"
#include "analysis/window_signals.h"

namespace lumen {

// Seconds in which the integrated slope of both leads stays above a fifth of
// the QRS level for half the time are noise (QRS complexes fill a fifth of
// a second at most): muscle tremor, electrode motion, interference.
class NoiseDetector {
public:
    // Appends the noisy seconds of [from, to), merged with a noise stretch
    // that `stretches` ends with when they touch.
    static void scan(const WindowSignals& w, int64_t from, int64_t to, double qrsLevel,
                     std::vector<SampleStretch>& stretches);
    static bool inside(const std::vector<SampleStretch>& stretches, int64_t sample);
};

}  // namespace lumen
