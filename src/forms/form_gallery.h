// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "store/beat_word.h"

namespace lumen {

class Recording;

// One form of the recording as the forms view shows it: its class, count
// and share, how wide and how early its beats are, and a sample of its
// beats with their mean, both channels, at the stored 50 samples a second.
struct FormTile {
    static constexpr int32_t kSamplesBefore = 20;  // 400 ms before the beat
    static constexpr int32_t kSamplesAfter = 30;   // 600 ms after it
    static constexpr int32_t kExcerptSamples = kSamplesBefore + kSamplesAfter;
    using Excerpt = std::array<std::array<uint8_t, kExcerptSamples>, 2>;

    uint8_t id = 0;
    BeatClass beatClass = BeatClass::Normal;  // the class most of its beats have
    uint32_t count = 0;
    double sharePercent = 0.0;       // of all beats with a form
    int32_t qrsWidthMs = 0;          // of the mean, to the stored 20 ms
    int32_t prematurityPercent = 0;  // median RR before, against the 8 before it
    std::vector<Excerpt> sample;     // up to kSampleBeats, spread over the recording
    std::array<std::array<double, kExcerptSamples>, 2> mean{};
    std::vector<uint32_t> beats;  // indices into the beat list, in time order
};

// Every form of a recording for the forms view, sorted as a reviewer reads
// them: by class (normal, supraventricular, ventricular, artefact), then the
// largest first.
class FormGallery {
public:
    static constexpr size_t kSampleBeats = 120;

    void build(Recording& recording);
    const std::vector<FormTile>& tiles() const { return tiles_; }
    // The tile of form `id`; nothing when the recording has no such form.
    std::optional<size_t> tileOf(uint8_t id) const;

private:
    void addStatistics(std::span<const BeatWord> words);
    void addExcerpts(Recording& recording, std::span<const BeatWord> words);

    std::vector<FormTile> tiles_;
};

}  // namespace lumen
