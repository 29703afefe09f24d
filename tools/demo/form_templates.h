#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "demo/ecg_synthesizer.h"
#include "recording/rhythm_plan.h"

namespace lumen {

inline constexpr int kExcerptSamples = 30;
inline constexpr int kExcerptLead = 9;  // samples before the beat's sample
inline constexpr uint32_t kFormsCountOffset = 1242;
inline constexpr uint32_t kFormsTemplateOffset = 1442;

struct DemoForm {
    std::array<uint8_t, kExcerptSamples> channel1{};
    std::array<uint8_t, kExcerptSamples> channel2{};
    uint32_t beatCount = 0;  // clean beats that went into the mean
};

// One template per form: the mean shape of the form's clean beats, each cut
// exactly as the viewer cuts a beat excerpt, and the forms.mem image.
class FormTemplates {
public:
    static std::vector<DemoForm> build(const RhythmPlan& plan, const SynthesizedSignal& signal);
    static std::vector<uint8_t> fileImage(const std::vector<DemoForm>& templates);
};

}  // namespace lumen
