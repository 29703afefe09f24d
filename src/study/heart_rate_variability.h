// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "store/beat_word.h"
#include "study/study_figures.h"

namespace lumen {

// A normal-to-normal interval: between two adjacent words that are both
// normal beats, kept within the plausible range.
struct NormalInterval {
    int64_t secondQuarterTicks = 0;
    double ms = 0.0;
    bool sharesBeatWithPrevious = false;  // the previous kept interval ends on this one's first beat
};

// Power of a segment's intervals in the two bands of the autonomic
// rhythms, in ms².
struct BandPowers {
    double lowMs2 = 0.0;   // 0.04 to 0.15 Hz
    double highMs2 = 0.0;  // 0.15 to 0.4 Hz
};

// Heart-rate variability by the definitions of the ESC/NASPE Task Force
// (1996): the time domain over the whole recording and in 5-minute
// segments, and the frequency domain from the Lomb-Scargle periodogram of
// each segment, which takes the unevenly timed intervals as they are.
class HeartRateVariability {
public:
    static constexpr double kShortestNormalMs = 300.0;
    static constexpr double kLongestNormalMs = 2000.0;
    static constexpr int64_t kSegmentQuarterTicks = 5 * 60 * 200;
    static constexpr double kShortestSegmentSumMs = 150000.0;
    static constexpr double kLargeDifferenceMs = 50.0;
    static constexpr double kFrequencyStepHz = 1.0 / 1024.0;

    static std::vector<NormalInterval> normalIntervals(std::span<const BeatWord> words);
    static VariabilityFigures compute(std::span<const BeatWord> words);
    // The band powers of one segment: intervals in ms at the times (s) of
    // their second beats.
    static BandPowers bandPowers(std::span<const double> timesSeconds, std::span<const double> intervalsMs);
};

}  // namespace lumen
