// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "assembly/rhythm_plan.h"
#include "store/beat_word.h"

namespace lumen {

// The episodes the report counts: the episode rules applied to the beat
// words as they stand, inside the recording's atrial fibrillation, so the
// report agrees with what a re-derivation stores.
struct StudyEpisodes {
    std::vector<PlannedBeat> beats;
    std::vector<PlannedEpisode> episodes;

    static StudyEpisodes derive(std::span<const BeatWord> words,
                                const std::vector<std::pair<int32_t, int32_t>>& fibrillationTicks);

    int32_t beatCount(const PlannedEpisode& e) const { return e.lastBeat - e.firstBeat + 1; }
    int32_t firstTick(const PlannedEpisode& e) const;
    // 60 000 × (beats − 1) / the episode's length in ms; 0 for one beat.
    int32_t rate(const PlannedEpisode& e) const;
};

}  // namespace lumen
