#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "store/beat_word.h"
#include "tools/report/episode_recount.h"
#include "tools/report/study_recount.h"

namespace lumen {

// Whether a word ends or starts an RR interval: a beat of class N, S or V.
inline bool isRateBeat(BeatWord word) { return !isNoBeat(word) && word.beatClass() != BeatClass::Artefact; }

// The RR intervals of each 10-second block, an interval belonging to the
// block of its second beat, and the rates of the blocks that have one.
class BlockRates {
public:
    static constexpr int64_t kBlockQuarterTicks = 2000;
    static constexpr int64_t kBlockTicks = 500;

    explicit BlockRates(std::span<const BeatWord> words);

    // Extremes over the blocks `holds` takes that the reviewer did not
    // exclude (flag bits 1 to 64), found on the exact rates and rounded
    // only when found; the mean over all it takes, each block's rate
    // weighted by its number of intervals.
    RateRecount over(const std::function<bool(int64_t block)>& holds, const std::vector<uint8_t>& flags) const;
    int64_t blockCount() const { return static_cast<int64_t>(blocks_.size()); }

private:
    struct Intervals {
        int64_t count = 0;
        int64_t quarterTicks = 0;
    };
    // a's rate below b's, compared exactly: count / length against count / length.
    static bool slower(const Intervals& a, const Intervals& b) {
        return a.count * b.quarterTicks < b.count * a.quarterTicks;
    }
    static double rate(const Intervals& block);

    std::vector<Intervals> blocks_;
};

}  // namespace lumen
