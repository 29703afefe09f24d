#include "tools/report/block_rates.h"

#include <cmath>

namespace lumen {
namespace {

constexpr int64_t kLeastIntervalsForRate = 3;
constexpr uint8_t kReviewerExclusionBits = 127;
// 60 000 ms per minute over 5 ms per quarter tick.
constexpr double kRateQuarterTicks = 12000.0;

}  // namespace

BlockRates::BlockRates(std::span<const BeatWord> words) {
    for (size_t k = 1; k < words.size(); ++k) {
        if (!isRateBeat(words[k - 1]) || !isRateBeat(words[k])) continue;
        const auto block = static_cast<size_t>(words[k].positionQuarterTicks() / kBlockQuarterTicks);
        if (block >= blocks_.size()) blocks_.resize(block + 1);
        blocks_[block].count += 1;
        blocks_[block].quarterTicks +=
            static_cast<int64_t>(words[k].positionQuarterTicks()) - words[k - 1].positionQuarterTicks();
    }
}

double BlockRates::rate(const Intervals& block) {
    return kRateQuarterTicks * static_cast<double>(block.count) / static_cast<double>(block.quarterTicks);
}

RateRecount BlockRates::over(const std::function<bool(int64_t block)>& holds, const std::vector<uint8_t>& flags) const {
    RateRecount out;
    double weightedSum = 0.0;
    int64_t intervals = 0;
    const Intervals* lowest = nullptr;
    const Intervals* highest = nullptr;
    for (size_t b = 0; b < blocks_.size(); ++b) {
        const Intervals& block = blocks_[b];
        if (block.count < kLeastIntervalsForRate || !holds(static_cast<int64_t>(b))) continue;
        weightedSum += rate(block) * static_cast<double>(block.count);
        intervals += block.count;
        if (b < flags.size() && (flags[b] & kReviewerExclusionBits) != 0) continue;
        const auto tick = static_cast<int64_t>(b) * kBlockTicks;
        if (lowest == nullptr || slower(block, *lowest)) lowest = &block, out.minTick = tick;
        if (highest == nullptr || slower(*highest, block)) highest = &block, out.maxTick = tick;
    }
    if (intervals > 0) out.mean = std::lround(weightedSum / static_cast<double>(intervals));
    if (lowest != nullptr) out.min = std::lround(rate(*lowest));
    if (highest != nullptr) out.max = std::lround(rate(*highest));
    return out;
}

}  // namespace lumen
