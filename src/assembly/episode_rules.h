#pragma once
#include <cstdint>
#include <vector>

#include "assembly/rhythm_plan.h"

namespace lumen {

inline constexpr int32_t kDefaultPauseQuarterTicks = 400;  // 2.0 s between two beats
inline constexpr int kTachycardiaMinimumBeats = 8;         // shorter trains of 3+ are runs
inline constexpr int kBigeminyMinimumCycles = 3;

// The arrhythmia episodes of a classified beat list, by the rules of
// docs/derivation-rules.md: isolated ectopic beats, couplets, runs,
// tachycardias, ventricular bigeminy and pauses. Lead-off beats and
// artefacts interrupt every sequence.
class EpisodeRules {
public:
    static std::vector<PlannedEpisode> derive(const std::vector<PlannedBeat>& beats,
                                              int32_t pauseQuarterTicks = kDefaultPauseQuarterTicks);
    // Marks for the report the first ventricular tachycardia,
    // supraventricular tachycardia and ventricular run, and the longest pause.
    static void flagForReport(std::vector<PlannedEpisode>& episodes);

    static constexpr uint8_t kVentricularIsolated = 32;
    static constexpr uint8_t kVentricularCouplet = 33;
    static constexpr uint8_t kVentricularRun = 34;
    static constexpr uint8_t kVentricularBigeminy = 35;
    static constexpr uint8_t kVentricularTachycardia = 37;
    static constexpr uint8_t kSupraventricularIsolated = 48;
    static constexpr uint8_t kSupraventricularCouplet = 49;
    static constexpr uint8_t kSupraventricularRun = 50;
    static constexpr uint8_t kPause = 52;
    static constexpr uint8_t kSupraventricularTachycardia = 53;
    static constexpr uint8_t kArtefact = 59;
};

}  // namespace lumen
