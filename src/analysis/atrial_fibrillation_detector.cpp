// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/atrial_fibrillation_detector.h"

#include <algorithm>
#include <cmath>

namespace lumen {
namespace {

// RR intervals outside this range are missed or extra beats, not rhythm.
constexpr double kShortestRrSeconds = 0.2;
constexpr double kLongestRrSeconds = 3.0;

bool usableInterval(const std::vector<RhythmBeat>& beats, size_t i) {
    if (i == 0 || !beats[i - 1].conducted || !beats[i].conducted) return false;
    const double rr = beats[i].seconds - beats[i - 1].seconds;
    return rr >= kShortestRrSeconds && rr <= kLongestRrSeconds;
}

// |RR(i) - RR(i-1)| over their mean, at beat i; negative when either
// interval is not usable or one of the three beats is a premature
// supraventricular beat.
std::vector<double> relativeDifferences(const std::vector<RhythmBeat>& beats) {
    std::vector<double> out(beats.size(), -1.0);
    for (size_t i = 2; i < beats.size(); ++i) {
        if (!usableInterval(beats, i) || !usableInterval(beats, i - 1)) continue;
        if (beats[i].supraventricular || beats[i - 1].supraventricular || beats[i - 2].supraventricular) continue;
        const double later = beats[i].seconds - beats[i - 1].seconds;
        const double earlier = beats[i - 1].seconds - beats[i - 2].seconds;
        out[i] = std::fabs(later - earlier) / ((later + earlier) / 2.0);
    }
    return out;
}

// A window that decides nothing (its RR sequence broken by ventricular
// beats) neither starts nor ends fibrillation: irregular windows on both
// sides of it make one run.
std::vector<BeatRange> irregularRuns(const std::vector<double>& irregularity, double threshold) {
    std::vector<BeatRange> runs;
    size_t lastDecided = 0;
    bool lastIrregular = false;
    for (size_t i = 0; i < irregularity.size(); ++i) {
        if (irregularity[i] < 0.0) continue;
        const bool irregular = irregularity[i] > threshold;
        if (irregular && lastIrregular && !runs.empty() && runs.back().last == lastDecided)
            runs.back().last = i;
        else if (irregular)
            runs.push_back({i, i});
        lastDecided = i;
        lastIrregular = irregular;
    }
    return runs;
}

}  // namespace

std::vector<double> AtrialFibrillationDetector::irregularity(const std::vector<RhythmBeat>& beats,
                                                             const AfDetectorSettings& settings) {
    const std::vector<double> differences = relativeDifferences(beats);
    std::vector<double> out(beats.size(), -1.0);
    std::vector<double> window;
    const size_t half = settings.windowBeats / 2;
    for (size_t i = 0; i < beats.size(); ++i) {
        window.clear();
        const size_t from = i > half ? i - half : 0;
        const size_t to = std::min(beats.size(), from + settings.windowBeats);
        size_t conducted = 0, withPWave = 0;
        for (size_t k = from; k < to; ++k) {
            if (differences[k] >= 0.0) window.push_back(differences[k]);
            conducted += beats[k].conducted ? 1 : 0;
            withPWave += beats[k].conducted && beats[k].pWaveSeen ? 1 : 0;
        }
        if (window.size() < settings.minimumDifferences) continue;
        if (conducted > 0 &&
            static_cast<double>(withPWave) >= settings.sinusPWaveShare * static_cast<double>(conducted)) {
            out[i] = 0.0;
            continue;
        }
        const auto middle = window.begin() + static_cast<std::ptrdiff_t>(window.size() / 2);
        std::nth_element(window.begin(), middle, window.end());
        out[i] = *middle;
    }
    return out;
}

std::vector<BeatRange> AtrialFibrillationDetector::detect(const std::vector<RhythmBeat>& beats,
                                                          const AfDetectorSettings& settings) {
    return episodes(beats, irregularity(beats, settings), settings);
}

std::vector<BeatRange> AtrialFibrillationDetector::episodes(const std::vector<RhythmBeat>& beats,
                                                            const std::vector<double>& irregularity,
                                                            const AfDetectorSettings& settings) {
    const std::vector<BeatRange> runs = irregularRuns(irregularity, settings.irregularityThreshold);
    std::vector<BeatRange> merged;
    for (const BeatRange& run : runs) {
        if (!merged.empty() && beats[run.first].seconds - beats[merged.back().last].seconds < settings.mergeGapSeconds)
            merged.back().last = run.last;
        else
            merged.push_back(run);
    }
    std::erase_if(merged, [&](const BeatRange& r) {
        return beats[r.last].seconds - beats[r.first].seconds < settings.minimumEpisodeSeconds;
    });
    return merged;
}

}  // namespace lumen
