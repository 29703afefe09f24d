// SPDX-License-Identifier: GPL-3.0-or-later
// The heart-rate table rebuilt from the beats, after the user relabelled
// some: the rate is 96000 / (sum of the last eight RR intervals in 1/200 s).
#include <array>
#include <numeric>

#include "store/beat_list.h"
#include "store/beat_word.h"
#include "store/trend_table.h"

namespace lumen {
namespace {

// A word's top byte holds its label shifted by one.
constexpr uint8_t kNoFormTopByte = kLeadOffLabel << 1;
constexpr uint8_t kNoBeatTopByte = kNoBeatLabel << 1;

struct RebuildState {
    std::array<uint32_t, 8> ring{};
    size_t ringSlot = 0;
    uint32_t usableBeats = 0;
    uint8_t rate = 0;
    bool newInterval = false;
    uint32_t blocksWithoutInterval = 0;
    int32_t fillingBlock = 0;
    uint32_t previousPosition = 0;
};

}  // namespace

void TrendTable::rebuildHeartRate(const BeatList& beats) { rebuildHeartRate(beats.words()); }

void TrendTable::rebuildHeartRate(std::span<const BeatWord> words) {
    RebuildState s;
    for (size_t w = 0; w < words.size(); ++w) {
        const uint8_t top = static_cast<uint8_t>((words[w].raw >> 24) & 0xFEu);
        const uint32_t beatClass = (top >> 1) & 3u;
        const bool gap = top == kNoFormTopByte || top == kNoBeatTopByte;
        if (beatClass == 0 || beatClass == 2 || (beatClass == 1 && !gap)) ++s.usableBeats;
        if (beatClass == 3 || gap) s.usableBeats = 0;

        const uint32_t position = words[w].positionQuarterTicks();
        const uint32_t interval = position - s.previousPosition;
        if (s.usableBeats > 1 && w >= 4 && interval >= 41 && interval <= 479) {
            s.ring[s.ringSlot] = interval;
            s.ringSlot = (s.ringSlot + 1) % s.ring.size();
            s.rate = static_cast<uint8_t>(96000u / std::accumulate(s.ring.begin(), s.ring.end(), 0u));
            s.newInterval = true;
            s.blocksWithoutInterval = 0;
        }
        // Only one block is closed per beat.
        if (static_cast<int64_t>(position / 2000) > s.fillingBlock) {
            const auto block = static_cast<size_t>(s.fillingBlock);
            const bool inTable = block < heartRate_.size();
            if (inTable && (flags_[block] & 3u) != 0) s.rate = block == 0 ? 70 : heartRate_[block - 1];
            if (gap) s.rate = 0;
            if (!s.newInterval && ++s.blocksWithoutInterval > 5) s.rate = 0;
            s.newInterval = false;
            if (inTable) heartRate_[block] = s.rate;
            ++s.fillingBlock;
        }
        s.previousPosition = position;
    }

    // A block without a rate blanks the four blocks on each side of it.
    const int32_t lastClosed = std::min<int32_t>(s.fillingBlock, blockCount()) - 1;
    auto rateOf = [this](int32_t b) -> uint8_t& { return heartRate_[static_cast<size_t>(b)]; };
    for (int32_t i = 4; i <= lastClosed; ++i) {
        if (rateOf(i) == 0) {
            for (int32_t k = 1; k <= 4; ++k) rateOf(i - k) = 0;
        }
    }
    for (int32_t j = lastClosed - 4; j >= 0; --j) {
        if (rateOf(j) == 0) {
            for (int32_t k = 1; k <= 4; ++k) rateOf(j + k) = 0;
        }
    }
    for (int32_t b = 0; b <= lastClosed; ++b) {
        if (rateOf(b) == 0) st1_[static_cast<size_t>(b)] = st2_[static_cast<size_t>(b)] = kNoSt;
    }
}

}  // namespace lumen
