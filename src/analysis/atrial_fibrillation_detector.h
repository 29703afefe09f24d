// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <vector>

namespace lumen {

// One heartbeat as the rhythm sees it: when it came, whether the atria
// conducted it (a normal or supraventricular beat) and whether it was
// called a premature supraventricular beat. Ventricular beats, artefacts
// and marks without a beat break the RR sequence.
struct RhythmBeat {
    double seconds = 0.0;
    bool conducted = true;
    bool supraventricular = false;
    bool pWaveSeen = false;  // the analysis saw a P wave before it; false where no signal was analysed
};

// Beats first..last (indices, both included) in atrial fibrillation.
struct BeatRange {
    size_t first = 0;
    size_t last = 0;
};

// Successive RR differences of a sinus rhythm are small against the RR
// interval, even when the rate drifts; in atrial fibrillation the ventricles
// follow an irregular train of impulses and most differences are large.
// The detector takes the median relative difference over a window of beats
// centred on each beat, so a window flips when half of it lies in the
// arrhythmia: the episode edges fall near the true onset and offset, and
// isolated ectopic beats (two large differences each) do not move the
// median. Frequent premature atrial beats in sinus rhythm would (atrial
// bigeminy alternates short and long intervals): the differences next to a
// beat called supraventricular are left out. Callers mark them only where
// the labels are trusted to tell premature beats from an irregular rhythm.
inline constexpr size_t kAfWindowBeats = 32;
// Median |RR(i) - RR(i-1)| / mean RR above which a window is irregular:
// sinus rhythm, even with respiratory arrhythmia, stays near 0.02-0.04.
inline constexpr double kAfIrregularityThreshold = 0.075;
// Fewer usable differences than this in a window decide nothing (the
// window then counts as not fibrillating).
inline constexpr size_t kAfMinimumDifferences = 16;
// A window in which at least this share of the conducted beats come after a
// P wave is sinus rhythm, however irregular (frequent atrial premature beats,
// sinus arrhythmia): fibrillating atria make no P waves. Only where the
// signal was analysed; beats alone are judged by their RR intervals.
inline constexpr double kAfSinusPWaveShare = 0.5;
// Irregular stretches closer than this are one episode.
inline constexpr double kAfMergeGapSeconds = 30.0;
// An episode shorter than this is not reported: the usual clinical
// threshold for an atrial fibrillation episode.
inline constexpr double kAfMinimumEpisodeSeconds = 30.0;

struct AfDetectorSettings {
    size_t windowBeats = kAfWindowBeats;
    double irregularityThreshold = kAfIrregularityThreshold;
    size_t minimumDifferences = kAfMinimumDifferences;
    double sinusPWaveShare = kAfSinusPWaveShare;
    double mergeGapSeconds = kAfMergeGapSeconds;
    double minimumEpisodeSeconds = kAfMinimumEpisodeSeconds;
};

class AtrialFibrillationDetector {
public:
    // The episodes in time order; `beats` in time order.
    static std::vector<BeatRange> detect(const std::vector<RhythmBeat>& beats, const AfDetectorSettings& settings = {});
    // The irregularity of each beat's window; negative where the window
    // has too few usable differences, 0 where its P waves show sinus rhythm.
    static std::vector<double> irregularity(const std::vector<RhythmBeat>& beats,
                                            const AfDetectorSettings& settings = {});
    // The episodes of an irregularity series, merged and filtered.
    static std::vector<BeatRange> episodes(const std::vector<RhythmBeat>& beats,
                                           const std::vector<double>& irregularity,
                                           const AfDetectorSettings& settings = {});
};

}  // namespace lumen
