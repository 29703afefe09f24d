// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/heart_rate_blocks.h"

#include <algorithm>
#include <cmath>

#include "store/clock.h"
#include "store/time_units.h"
#include "store/trend_table.h"

namespace lumen {

HeartRateBlocks::HeartRateBlocks(std::span<const BeatWord> words, int32_t blockCount)
    : blocks_(static_cast<size_t>(std::max(blockCount, 0))) {
    for (size_t i = 1; i < words.size(); ++i) {
        if (!isRateBeat(words[i - 1]) || !isRateBeat(words[i])) continue;
        const int64_t second = words[i].positionQuarterTicks();
        const auto block = static_cast<size_t>(second / kQuarterTicksPerBlock);
        if (block >= blocks_.size()) continue;
        blocks_[block].intervals += 1;
        blocks_[block].sumMs += (second - int64_t{words[i - 1].positionQuarterTicks()}) * kMillisecondsPerQuarterTick;
    }
}

HeartRateFigures HeartRateBlocks::summarise(std::span<const uint8_t> flags, int32_t firstBlock,
                                            int32_t endBlock) const {
    HeartRateFigures out;
    double lowest = 0.0;
    double highest = 0.0;
    double weightedSum = 0.0;
    int64_t weight = 0;
    const int32_t end = std::min<int32_t>(endBlock, static_cast<int32_t>(blocks_.size()));
    for (int32_t b = std::max(firstBlock, 0); b < end; ++b) {
        const RateBlock& block = blocks_[static_cast<size_t>(b)];
        if (!block.hasRate()) continue;
        const double rate = block.rate();
        weightedSum += rate * block.intervals;
        weight += block.intervals;
        const bool excluded =
            static_cast<size_t>(b) < flags.size() && (flags[static_cast<size_t>(b)] & TrendTable::kExcludedMask) != 0;
        if (excluded) continue;
        const int32_t tick = b * kSamplesPerBlock;
        if (highest == 0.0 || rate < lowest) {
            lowest = rate;
            out.minimumTick = tick;
        }
        if (highest == 0.0 || rate > highest) {
            highest = rate;
            out.maximumTick = tick;
        }
    }
    out.minimum = static_cast<int32_t>(std::lround(lowest));
    out.maximum = static_cast<int32_t>(std::lround(highest));
    out.mean = weight > 0 ? static_cast<int32_t>(std::lround(weightedSum / static_cast<double>(weight))) : 0;
    return out;
}

RateBlock HeartRateBlocks::intervalsWithin(std::span<const BeatWord> words, int64_t firstQuarterTick,
                                           int64_t endQuarterTick) {
    // A plain walk: a damaged beat list need not be in order.
    RateBlock out;
    for (size_t i = 1; i < words.size(); ++i) {
        const int64_t second = words[i].positionQuarterTicks();
        if (second < firstQuarterTick || second >= endQuarterTick) continue;
        if (!isRateBeat(words[i - 1]) || !isRateBeat(words[i])) continue;
        out.intervals += 1;
        out.sumMs += (second - int64_t{words[i - 1].positionQuarterTicks()}) * kMillisecondsPerQuarterTick;
    }
    return out;
}

}  // namespace lumen
