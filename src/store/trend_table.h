// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "store/clock.h"

namespace lumen {

class BeatList;
class EventSink;
struct BeatWord;
class Recording;

// The four per-block tables of a recording (one byte per 10-second block):
// heart rate, ST of both channels and the exclusion flags; their extremes,
// the user's exclusions, and a heart-rate rebuild from the beats.
class TrendTable {
public:
    static constexpr uint8_t kNoHeartRate = 0;
    static constexpr int8_t kNoSt = 127;
    static constexpr uint8_t kAnalysisFlag = 128;
    // Any of the bits 1..64 keeps a block out of every extreme search.
    static constexpr uint8_t kExcludedMask = 127;
    // The bit an excluded extreme leaves around its block.
    static constexpr uint8_t kHeartRateMinimumExcluded = 1;
    static constexpr uint8_t kHeartRateMaximumExcluded = 2;
    static constexpr uint8_t kStMinimumChannel1Excluded = 4;
    static constexpr uint8_t kStMaximumChannel1Excluded = 8;
    static constexpr uint8_t kStMinimumChannel2Excluded = 16;
    static constexpr uint8_t kStMaximumChannel2Excluded = 32;

    TrendTable() = default;
    // Tables that are not read from a recording: those an import is building.
    TrendTable(std::vector<uint8_t> flags, std::vector<uint8_t> heartRate, std::vector<int8_t> st1,
               std::vector<int8_t> st2);

    // Reads sections 9, 2, 3 and 5; the block count is the length of section 9.
    void load(Recording& recording);
    // Writes the four tables, then the beats; false when a write failed.
    bool save(Recording& recording) const;

    void resetFlags();
    uint8_t heartRateAt(int32_t positionTicks) const;
    int8_t stMinimumAt(int32_t positionTicks);
    int8_t stMaximumAt(int32_t positionTicks);
    int32_t channelOfMinimum() const { return stMinimumChannel_; }
    int32_t channelOfMaximum() const { return stMaximumChannel_; }
    void setHeartRateMinimumBlock(int32_t positionTicks) { heartRateMinimumBlock_ = positionTicks / kSamplesPerBlock; }
    void setHeartRateMaximumBlock(int32_t positionTicks) { heartRateMaximumBlock_ = positionTicks / kSamplesPerBlock; }

    // Marks the minute around the extreme at `positionTicks` (-1: nothing
    // marked), searches that extreme again and posts it as an event.
    void excludeExtreme(uint8_t code, EventSink& sink, int32_t positionTicks);
    void postStExtremes(EventSink& sink);
    void rebuildHeartRate(const BeatList& beats);
    void rebuildHeartRate(std::span<const BeatWord> words);
    // Both heart-rate extremes searched afresh, as an exclusion searches them.
    void searchHeartRateExtremes();

    int32_t blockCount() const { return static_cast<int32_t>(flags_.size()); }
    const std::vector<uint8_t>& flags() const { return flags_; }
    const std::vector<uint8_t>& heartRate() const { return heartRate_; }
    const std::vector<int8_t>& stChannel1() const { return st1_; }
    const std::vector<int8_t>& stChannel2() const { return st2_; }
    std::vector<uint8_t>& heartRate() { return heartRate_; }
    int32_t heartRateMinimumBlock() const { return heartRateMinimumBlock_; }
    int32_t heartRateMaximumBlock() const { return heartRateMaximumBlock_; }
    int32_t stMinimumBlock() const { return stMinimumBlock_; }
    int32_t stMaximumBlock() const { return stMaximumBlock_; }

private:
    enum class Search { Minimum, Maximum };
    int8_t stAt(int32_t positionTicks, Search search);
    void searchHeartRate(Search search);
    void searchSt(Search search);
    void markAround(int32_t block, uint8_t bit);
    bool excluded(size_t block) const { return (flags_[block] & kExcludedMask) != 0; }

    // Where flags, heart rate and the two ST tables were read from.
    std::array<uint32_t, 4> readOffsets_{};
    std::vector<uint8_t> flags_;
    std::vector<uint8_t> heartRate_;
    std::vector<int8_t> st1_;
    std::vector<int8_t> st2_;
    int32_t stMinimumChannel_ = 1;
    int32_t stMaximumChannel_ = 1;
    uint8_t heartRateMinimum_ = 0;
    int32_t heartRateMinimumBlock_ = -1;
    uint8_t heartRateMaximum_ = 0;
    int32_t heartRateMaximumBlock_ = -1;
    int32_t stMinimum_ = 0;
    int32_t stMinimumBlock_ = -1;
    int32_t stMaximum_ = 0;
    int32_t stMaximumBlock_ = -1;
};

}  // namespace lumen
