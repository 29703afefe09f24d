// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "assembly/rhythm_plan.h"

namespace lumen {

inline constexpr int32_t kDefaultPauseQuarterTicks = 400;  // 2.0 s between two beats
inline constexpr int kTachycardiaMinimumBeats = 8;         // shorter trains of 3+ are runs
inline constexpr int kBigeminyMinimumCycles = 3;

// The arrhythmia episodes of a classified beat list, by the rules of
// docs/derivation-rules.md: isolated ectopic beats, couplets, runs,
// tachycardias, ventricular bigeminy, pauses and atrial fibrillation.
// Lead-off beats and artefacts interrupt every sequence.
class EpisodeRules {
public:
    static std::vector<PlannedEpisode> derive(const std::vector<PlannedBeat>& beats,
                                              int32_t pauseQuarterTicks = kDefaultPauseQuarterTicks);
    // The same with atrial fibrillation episodes (`fibrillation`, code 40):
    // inside them supraventricular beats count as normal (an irregular
    // rhythm makes beats look premature), and they follow the other
    // episodes, so that a long one never hides those within it.
    static std::vector<PlannedEpisode> derive(const std::vector<PlannedBeat>& beats,
                                              const std::vector<PlannedEpisode>& fibrillation,
                                              int32_t pauseQuarterTicks = kDefaultPauseQuarterTicks);
    // Every episode of a beat list that brings no rhythm of its own,
    // atrial fibrillation from its RR intervals: what a re-derivation after
    // corrections calls.
    static std::vector<PlannedEpisode> deriveWithRhythm(const std::vector<PlannedBeat>& beats,
                                                        int32_t pauseQuarterTicks = kDefaultPauseQuarterTicks);
    // Atrial fibrillation the RR intervals show. With `labelsTellPremature`
    // a supraventricular beat is a premature beat, and its intervals say
    // nothing of the rhythm; the analysis's labels cannot tell (within an
    // irregular rhythm many beats look premature).
    static std::vector<PlannedEpisode> detectFibrillation(const std::vector<PlannedBeat>& beats,
                                                          bool labelsTellPremature);
    // Atrial fibrillation episodes of stretches in quarter ticks (a source's
    // rhythm annotations), with the beats they hold.
    static std::vector<PlannedEpisode> fibrillationOf(const std::vector<PlannedBeat>& beats,
                                                      const std::vector<std::pair<int64_t, int64_t>>& stretches);
    // The analysis's supraventricular beats within fibrillation become normal.
    static void relabelInsideFibrillation(std::vector<PlannedBeat>& beats,
                                          const std::vector<PlannedEpisode>& fibrillation);
    // Episodes in the order of the episode records: by start, atrial
    // fibrillation last.
    static void sortForStorage(std::vector<PlannedEpisode>& episodes);
    // Marks for the report the first ventricular tachycardia,
    // supraventricular tachycardia and ventricular run, and the longest pause.
    static void flagForReport(std::vector<PlannedEpisode>& episodes);

    static constexpr uint8_t kVentricularIsolated = 32;
    static constexpr uint8_t kVentricularCouplet = 33;
    static constexpr uint8_t kVentricularRun = 34;
    static constexpr uint8_t kVentricularBigeminy = 35;
    static constexpr uint8_t kVentricularTachycardia = 37;
    // Codes 38 to 47 have no event row: atrial fibrillation is reported,
    // not shown as events.
    static constexpr uint8_t kAtrialFibrillation = 40;
    static constexpr uint8_t kVentricularFlutter = 41;  // flutter or fibrillation: no beats inside
    static constexpr uint8_t kSupraventricularIsolated = 48;
    static constexpr uint8_t kSupraventricularCouplet = 49;
    static constexpr uint8_t kSupraventricularRun = 50;
    static constexpr uint8_t kPause = 52;
    static constexpr uint8_t kSupraventricularTachycardia = 53;
    static constexpr uint8_t kArtefact = 59;
};

}  // namespace lumen
