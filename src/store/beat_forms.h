// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace lumen {

inline constexpr int32_t kFormSamples = 30;
inline constexpr int32_t kFormSamplesBeforeBeat = 9;  // 180 ms

// A beat cut from the window arrays: 30 samples per channel from 9 samples
// before the beat, plus the sample after them, which the one-sample shift
// of the comparison reaches.
struct BeatExcerpt {
    std::array<uint8_t, kFormSamples + 1> channel1{};
    std::array<uint8_t, kFormSamples + 1> channel2{};
};

// A form template of forms.mem: 30 samples of channel 1, then 30 of channel
// 2, in one run of 60 bytes (the shifted channel 1 runs into channel 2).
// Past the run, the last sample repeats.
using FormTemplate = std::array<uint8_t, 2 * kFormSamples + 1>;

// Squared correlation of samples 5..19 about the rounded means, in
// thousandths: 0 for opposite shapes, 999 when both are nearly flat.
int32_t formSimilarity(std::span<const uint8_t, kFormSamples> a, std::span<const uint8_t, kFormSamples> b);

// A beat against a template, allowing a shift of one sample either way.
int32_t formScore(const BeatExcerpt& beat, const FormTemplate& form);

// The best template of forms.mem in the recording folder (earlier wins a
// tie), or -1 when the file holds none. A missing file ends the program.
int32_t matchForm(std::string_view recordingDirectory, const BeatExcerpt& beat);

}  // namespace lumen
