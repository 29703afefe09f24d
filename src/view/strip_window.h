// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "store/beat_window.h"
#include "store/clock.h"

namespace lumen {

class Recording;

// The ECG view's window onto the recording: signal and annotation of 12
// blocks (6000 samples, 120 s) as four slots of 1500 samples. Window sample
// i holds recording sample firstBlock * 500 + i; slots are contiguous, so an
// index slot * 1500 + offset may run on into the next slot.
struct StripWindow {
    static constexpr int32_t kSamples = 6000;
    static constexpr int32_t kSlotSamples = 1500;
    static constexpr int32_t kSlots = 4;
    static constexpr int32_t kOrdinalSplit = 3000;
    // The pen index that marks samples without data while a stretch is gathered.
    static constexpr uint8_t kNoDataPen = 10;

    std::vector<uint8_t> channel1 = std::vector<uint8_t>(kSamples, kBaselineSample);
    std::vector<uint8_t> channel2 = std::vector<uint8_t>(kSamples, kBaselineSample);
    std::vector<uint8_t> penIndex = std::vector<uint8_t>(kSamples, 0);
    std::vector<uint8_t> episodeCode = std::vector<uint8_t>(kSamples, 0);
    std::vector<uint8_t> beatLabel = std::vector<uint8_t>(kSamples, 121);
    std::vector<uint32_t> ordinals1 = std::vector<uint32_t>(kOrdinalSplit, 0);
    std::vector<uint32_t> ordinals2 = std::vector<uint32_t>(kOrdinalSplit, 0);
    std::vector<uint8_t> patientMarker = std::vector<uint8_t>(kSamples, 0);
    // Entry k: position (1/200 s) of the beat with ordinal k; entry 0 unused.
    std::vector<uint32_t> beatPositions;
    std::array<Clock, kSlots> slotClocks{};
    // The recording block that window sample 0 belongs to.
    int32_t firstBlock = 0;

    // Every reader takes ordinals of samples from 3000 on from the second array.
    uint32_t ordinalAt(int32_t sample) const;
    BeatWindowArrays beatArrays() { return {beatLabel, ordinals1, ordinals2, beatPositions}; }

    // The whole window from `firstBlock`, slot clocks included (the start-up
    // load); answers the change kind of the beat arrays.
    ChangeKind loadWithClocks(Recording& recording, int32_t firstBlock);
};

}  // namespace lumen
