// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/study_episodes.h"

#include <cmath>

#include "assembly/episode_rules.h"
#include "store/time_units.h"
#include "study/heart_rate_blocks.h"

namespace lumen {

StudyEpisodes StudyEpisodes::derive(std::span<const BeatWord> words,
                                    const std::vector<std::pair<int32_t, int32_t>>& fibrillationTicks) {
    StudyEpisodes out;
    out.beats.reserve(words.size());
    for (const BeatWord w : words) {
        PlannedBeat b;
        b.positionQuarterTicks = static_cast<int32_t>(w.positionQuarterTicks());
        b.beatClass = static_cast<uint8_t>(w.beatClass());
        // A no-beat word interrupts every train, as a lead-off mark does.
        b.formCode = isBeatWord(w) ? w.formCode() : kFormNone;
        out.beats.push_back(b);
    }
    std::vector<std::pair<int64_t, int64_t>> stretches;
    for (const auto& [start, end] : fibrillationTicks)
        stretches.emplace_back(quarterTicksOfTicks(start), quarterTicksOfTicks(end));
    out.episodes = EpisodeRules::derive(out.beats, EpisodeRules::fibrillationOf(out.beats, stretches));
    return out;
}

int32_t StudyEpisodes::firstTick(const PlannedEpisode& e) const {
    return static_cast<int32_t>(ticksOfQuarterTicks(beats[static_cast<size_t>(e.firstBeat)].positionQuarterTicks));
}

int32_t StudyEpisodes::rate(const PlannedEpisode& e) const {
    const int64_t spanMs = int64_t{beats[static_cast<size_t>(e.lastBeat)].positionQuarterTicks -
                                   beats[static_cast<size_t>(e.firstBeat)].positionQuarterTicks} *
                           kMillisecondsPerQuarterTick;
    if (spanMs <= 0) return 0;
    return static_cast<int32_t>(std::lround(kMillisecondsPerMinute * (beatCount(e) - 1) / static_cast<double>(spanMs)));
}

}  // namespace lumen
