// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "assembly/rhythm_plan.h"
#include "assembly/stored_signal.h"

namespace lumen {

inline constexpr int kExcerptSamples = 30;
inline constexpr int kExcerptLead = 9;  // samples before the beat's sample
inline constexpr uint32_t kFormsCountOffset = 1242;
inline constexpr uint32_t kFormsTemplateOffset = 1442;
// The highest form a template is made for: 30 and 31 are no forms.
inline constexpr uint8_t kLastTemplateForm = 29;

struct MeanForm {
    std::array<uint8_t, kExcerptSamples> channel1{};
    std::array<uint8_t, kExcerptSamples> channel2{};
    uint32_t beatCount = 0;  // clean beats that went into the mean
};

// One template per form: the mean shape of the form's clean beats, each cut
// exactly as the viewer cuts a beat excerpt, and the forms.mem image.
class FormTemplates {
public:
    static std::vector<MeanForm> build(const RhythmPlan& plan, const StoredSignal& signal);
    static std::vector<uint8_t> fileImage(const std::vector<MeanForm>& templates);
};

}  // namespace lumen
