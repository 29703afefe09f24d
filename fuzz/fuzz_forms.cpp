// SPDX-License-Identifier: GPL-3.0-or-later
// forms.mem as the input: beats cut from a fixed synthetic two-channel
// signal matched against the file's templates, as a relabelled beat
// without a form is.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "harness_fatal_handler.h"
#include "scratch_folder.h"
#include "store/beat_forms.h"

namespace lumen::fuzz {
namespace {

constexpr int32_t kSignalSamples = 800;
constexpr std::array<int32_t, 6> kBeatSamples = {9, 120, 260, 400, 555, 760};

// A narrow normal beat, a wide ventricular one, flat stretches, a clipped
// stretch at both rails, and the signal's very start and end.
std::vector<uint8_t> syntheticChannel(int32_t polarity) {
    std::vector<uint8_t> samples(kSignalSamples, 128);
    for (int32_t i = 0; i < kSignalSamples; ++i) {
        const double t = i;
        double value = 128 + 6 * std::sin(t / 23.0);
        value += polarity * 90 * std::exp(-std::pow((t - 125) / 2.5, 2));
        value -= polarity * 70 * std::exp(-std::pow((t - 265) / 7.0, 2));
        value += 40 * std::sin(t / 3.0) * (i > 540 && i < 580 ? 1 : 0);
        if (i > 380 && i < 420) value = i % 2 == 0 ? 0 : 255;
        samples[static_cast<size_t>(i)] = static_cast<uint8_t>(std::clamp(value, 0.0, 255.0));
    }
    return samples;
}

std::vector<BeatExcerpt> cutBeats() {
    const std::vector<uint8_t> channel1 = syntheticChannel(1);
    const std::vector<uint8_t> channel2 = syntheticChannel(-1);
    std::vector<BeatExcerpt> beats;
    for (const int32_t beat : kBeatSamples) {
        BeatExcerpt excerpt;
        for (int32_t k = 0; k <= kFormSamples; ++k) {
            const int32_t at = std::clamp(beat - kFormSamplesBeforeBeat + k, 0, kSignalSamples - 1);
            excerpt.channel1[static_cast<size_t>(k)] = channel1[static_cast<size_t>(at)];
            excerpt.channel2[static_cast<size_t>(k)] = channel2[static_cast<size_t>(at)];
        }
        beats.push_back(excerpt);
    }
    return beats;
}

void matchForms(std::span<const uint8_t> input) {
    static const std::vector<BeatExcerpt> beats = cutBeats();
    const ScratchFolder& folder = ScratchFolder::instance();
    folder.write("forms.mem", input);
    for (const BeatExcerpt& beat : beats) {
        const int32_t form = matchForm(folder.recordingDirectory(), beat);
        if (form < -1 || form > 63) __builtin_trap();
    }
}

}  // namespace
}  // namespace lumen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    lumen::fuzz::runGuarded([&] { lumen::fuzz::matchForms(input); });
    return 0;
}
