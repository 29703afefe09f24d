// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "store/beat_word.h"
#include "study/study_figures.h"

namespace lumen {

// Words with these labels are no beats: they count nowhere and break every
// interval across them.
inline bool isBeatWord(BeatWord word) { return !isReservedLabel(word.label()); }
// A beat whose intervals make the heart rate: not an artefact.
inline bool isRateBeat(BeatWord word) { return isBeatWord(word) && word.beatClass() != BeatClass::Artefact; }
inline constexpr int32_t kMillisecondsPerQuarterTick = 5;
inline constexpr double kMillisecondsPerMinute = 60000.0;

// The RR intervals of one 10-second block: those whose second beat lies in it.
struct RateBlock {
    static constexpr int32_t kMinimumIntervals = 3;

    int32_t intervals = 0;
    int64_t sumMs = 0;

    bool hasRate() const { return intervals >= kMinimumIntervals && sumMs > 0; }
    double rate() const { return kMillisecondsPerMinute * intervals / static_cast<double>(sumMs); }
};

// The report's heart rate: 60 000 / the mean RR interval of each block with
// at least three intervals between adjacent non-artefact beats.
class HeartRateBlocks {
public:
    HeartRateBlocks(std::span<const BeatWord> words, int32_t blockCount);

    const std::vector<RateBlock>& blocks() const { return blocks_; }
    // The extremes over blocks [first, end) the flags leave in (any of the
    // reviewer's bits excludes a block), and the beat-weighted mean over all
    // blocks with a rate.
    HeartRateFigures summarise(std::span<const uint8_t> flags, int32_t firstBlock, int32_t endBlock) const;
    // The intervals whose second beat lies in [firstQuarterTick, endQuarterTick).
    static RateBlock intervalsWithin(std::span<const BeatWord> words, int64_t firstQuarterTick, int64_t endQuarterTick);

private:
    std::vector<RateBlock> blocks_;
};

}  // namespace lumen
