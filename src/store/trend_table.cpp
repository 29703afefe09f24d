// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/trend_table.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "store/clock.h"
#include "store/event_feed.h"
#include "store/event_sink.h"
#include "store/recording.h"

namespace lumen {
namespace {

constexpr int32_t kDayBlocks = 8640;

// Returns where the table was read from.
template <typename T>
uint32_t readSection(Recording& recording, SectionId id, std::vector<T>& table, size_t count) {
    recording.selectSection(id);
    table.assign(count, T{});
    const uint32_t offset = recording.selectedSection().offset;
    recording.file().readAt(offset, std::span(reinterpret_cast<uint8_t*>(table.data()), count));
    return offset;
}

template <typename T>
bool writeSection(Recording& recording, SectionId id, uint32_t readOffset, const std::vector<T>& table) {
    return recording.writeBackSection(id, readOffset,
                                      std::span(reinterpret_cast<const uint8_t*>(table.data()), table.size()));
}

}  // namespace

TrendTable::TrendTable(std::vector<uint8_t> flags, std::vector<uint8_t> heartRate, std::vector<int8_t> st1,
                       std::vector<int8_t> st2)
    : flags_(std::move(flags)), heartRate_(std::move(heartRate)), st1_(std::move(st1)), st2_(std::move(st2)) {
    const size_t n = flags_.size();
    if (heartRate_.size() != n || st1_.size() != n || st2_.size() != n)
        throw std::invalid_argument("the four trend tables must have one entry per block each");
}

void TrendTable::load(Recording& recording) {
    recording.selectSection(SectionId::TrendFlags);
    const size_t count = recording.selectedSection().length;
    recording.chargeMemory(uint64_t{count} * 4);  // flags, heart rate, two ST tables
    readOffsets_ = {readSection(recording, SectionId::TrendFlags, flags_, count),
                    readSection(recording, SectionId::HeartRate, heartRate_, count),
                    readSection(recording, SectionId::StChannel1, st1_, count),
                    readSection(recording, SectionId::StChannel2, st2_, count)};
    recording.beats().count();
}

bool TrendTable::save(Recording& recording) const {
    bool written = writeSection(recording, SectionId::TrendFlags, readOffsets_[0], flags_);
    written = writeSection(recording, SectionId::HeartRate, readOffsets_[1], heartRate_) && written;
    written = writeSection(recording, SectionId::StChannel1, readOffsets_[2], st1_) && written;
    written = writeSection(recording, SectionId::StChannel2, readOffsets_[3], st2_) && written;
    return recording.beats().save(recording) && written;
}

void TrendTable::resetFlags() {
    for (uint8_t& flag : flags_) flag = (flag & kAnalysisFlag) != 0 ? 255 : 0;
}

uint8_t TrendTable::heartRateAt(int32_t positionTicks) const {
    const int32_t block = (positionTicks + kSamplesPerBlock / 2) / kSamplesPerBlock;
    return block >= 0 && block < blockCount() ? heartRate_[static_cast<size_t>(block)] : 0;
}

int8_t TrendTable::stMinimumAt(int32_t positionTicks) { return stAt(positionTicks, Search::Minimum); }

int8_t TrendTable::stMaximumAt(int32_t positionTicks) { return stAt(positionTicks, Search::Maximum); }

int8_t TrendTable::stAt(int32_t positionTicks, Search search) {
    const int32_t block = positionTicks / kSamplesPerBlock;
    if (block < 0 || block >= blockCount()) return kNoSt;
    const int8_t a = st1_[static_cast<size_t>(block)];
    const int8_t c = st2_[static_cast<size_t>(block)];
    // Both queries also set both channel fields, as the display relies on.
    if (a == kNoSt) {
        stMinimumChannel_ = stMaximumChannel_ = 2;
        return c;
    }
    if (c == kNoSt) {
        stMinimumChannel_ = stMaximumChannel_ = 1;
        return a;
    }
    stMinimumChannel_ = a >= c ? 2 : 1;
    stMaximumChannel_ = a >= c ? 1 : 2;
    return search == Search::Minimum ? std::min(a, c) : std::max(a, c);
}

void TrendTable::searchHeartRate(Search search) {
    int32_t& best = search == Search::Minimum ? heartRateMinimumBlock_ : heartRateMaximumBlock_;
    uint8_t& value = search == Search::Minimum ? heartRateMinimum_ : heartRateMaximum_;
    best = -1;
    for (size_t b = 0; b < heartRate_.size(); ++b) {
        if (excluded(b)) continue;
        const uint8_t rate = heartRate_[b];
        if (search == Search::Minimum) {
            // Read as a signed byte: only 11..127 beats per minute qualify.
            if (static_cast<int8_t>(rate) > 10 && (best < 0 || rate < value)) {
                best = static_cast<int32_t>(b);
                value = rate;
            }
        } else if (rate != 0 && (best < 0 || rate > value)) {
            best = static_cast<int32_t>(b);
            value = rate;
        }
    }
}

void TrendTable::searchHeartRateExtremes() {
    searchHeartRate(Search::Minimum);
    searchHeartRate(Search::Maximum);
}

void TrendTable::searchSt(Search search) {
    int32_t& best = search == Search::Minimum ? stMinimumBlock_ : stMaximumBlock_;
    int32_t& value = search == Search::Minimum ? stMinimum_ : stMaximum_;
    int32_t& channel = search == Search::Minimum ? stMinimumChannel_ : stMaximumChannel_;
    best = -1;
    for (size_t b = 0; b < flags_.size(); ++b) {
        if (excluded(b)) continue;
        for (int32_t c = 1; c <= 2; ++c) {
            const int8_t st = c == 1 ? st1_[b] : st2_[b];
            if (st == kNoSt) continue;
            const bool better = best < 0 || (search == Search::Minimum ? st < value : st > value);
            if (better) {
                best = static_cast<int32_t>(b);
                value = st;
                channel = c;
            }
        }
    }
}

void TrendTable::markAround(int32_t block, uint8_t bit) {
    // One minute: from 30 s before the block's start to 20 s after it.
    for (int32_t j = block - 3; j <= block + 2; ++j) {
        if (j >= 0 && j < kDayBlocks && j < blockCount()) flags_[static_cast<size_t>(j)] |= bit;
    }
}

void TrendTable::excludeExtreme(uint8_t code, EventSink& sink, int32_t positionTicks) {
    const bool mark = positionTicks != -1;
    const int32_t block = positionTicks / kSamplesPerBlock;
    int32_t found = -1;
    switch (code) {
    case kHeartRateMinimumCode:
        if (mark) markAround(block, kHeartRateMinimumExcluded);
        searchHeartRate(Search::Minimum);
        found = heartRateMinimumBlock_;
        break;
    case kHeartRateMaximumCode:
        if (mark) markAround(block, kHeartRateMaximumExcluded);
        searchHeartRate(Search::Maximum);
        found = heartRateMaximumBlock_;
        break;
    case kStMinimumCode:
        if (mark) markAround(block, stMinimumChannel_ == 1 ? kStMinimumChannel1Excluded : kStMinimumChannel2Excluded);
        searchSt(Search::Minimum);
        found = stMinimumBlock_;
        break;
    case kStMaximumCode:
        if (mark) markAround(block, stMaximumChannel_ == 1 ? kStMaximumChannel1Excluded : kStMaximumChannel2Excluded);
        searchSt(Search::Maximum);
        found = stMaximumBlock_;
        break;
    default: return;
    }
    sink.dispatchCode(code, found * kSamplesPerBlock, 0, -1);
}

void TrendTable::postStExtremes(EventSink& sink) {
    searchSt(Search::Minimum);
    searchSt(Search::Maximum);
    sink.dispatchCode(kStMinimumCode, stMinimumBlock_ * kSamplesPerBlock, 0, -1);
    sink.dispatchCode(kStMaximumCode, stMaximumBlock_ * kSamplesPerBlock, 0, -1);
}

}  // namespace lumen
