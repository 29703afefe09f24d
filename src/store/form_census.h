// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "store/beat_word.h"

namespace lumen {

// One beat form of a recording: its beats by class.
struct FormSummary {
    uint8_t id = 0;  // the 5-bit form code of its beats
    std::array<uint32_t, kBeatClassCount> byClass{};
    uint32_t count = 0;

    // The class most of its beats have; ties go to the lower class.
    BeatClass majority() const;
};

// What relabelling a form did.
struct FormRelabelling {
    uint32_t relabelled = 0;     // beats whose class changed
    bool normalChanged = false;  // a beat moved between normal and abnormal
};

// The forms of a recording's beats, as a reviewer corrects them: every
// form with its beats counted by class, and one class given to all the
// beats of a form at once. Words without a beat and lead-off marks belong
// to no form.
class FormCensus {
public:
    static constexpr uint8_t kFormCodes = kNoFormCode;  // forms 0..30

    // The forms that hold beats, by id.
    static std::vector<FormSummary> take(std::span<const BeatWord> words);

    // Gives every beat of `form` the class; nothing when the form's label
    // of that class is reserved (form 30 cannot be supraventricular: label
    // 121 means no beat) or the form is no form.
    static std::optional<FormRelabelling> relabel(std::span<BeatWord> words, uint8_t form, BeatClass beatClass);

    static bool holdsBeat(BeatWord word) { return word.positionQuarterTicks() != 0 && word.label() != kNoBeatLabel; }
};

}  // namespace lumen
