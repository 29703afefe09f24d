// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/form_templates.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "store/time_units.h"

namespace lumen {
namespace {

constexpr size_t kMaxBeatsPerForm = 400;

// Forms 0 to the highest code a beat has (at least the demo's five); 30
// and 31 are no forms.
size_t formCountOf(const RhythmPlan& plan) {
    size_t count = kFormCount;
    for (const PlannedBeat& b : plan.beats)
        if (b.formCode < kLastTemplateForm + 1) count = std::max<size_t>(count, b.formCode + 1u);
    return count;
}

bool cleanBeat(const RhythmPlan& plan, size_t i) {
    const PlannedBeat& b = plan.beats[i];
    if (b.formCode > kLastTemplateForm || b.beatClass == kClassArtefact) return false;
    if (b.formCode == kFormNormal && b.beatClass != kClassNormal) return false;
    const auto s = static_cast<int32_t>(ticksOfQuarterTicks(b.positionQuarterTicks));
    if (s - kExcerptLead < 0 || s - kExcerptLead + kExcerptSamples > plan.sampleCount) return false;
    return plan.disturbanceAt(s) == nullptr;
}

// Windows readers take forms.mem in text mode: no carriage return (a CR LF
// pair would shrink) and no end-of-file byte.
uint8_t textSafe(double v) {
    auto b = static_cast<uint8_t>(std::clamp(std::floor(v + 0.5), 0.0, 255.0));
    if (b == 13 || b == 26) ++b;
    return b;
}

void average(const std::vector<uint8_t>& channel, const std::vector<int32_t>& starts,
             std::array<uint8_t, kExcerptSamples>& out) {
    std::array<double, kExcerptSamples> sum{};
    for (int32_t start : starts) {
        double mean = 0.0;
        for (int k = 0; k < kExcerptSamples; ++k) mean += channel[static_cast<size_t>(start + k)];
        mean /= kExcerptSamples;
        for (int k = 0; k < kExcerptSamples; ++k) sum[k] += channel[static_cast<size_t>(start + k)] - mean;
    }
    for (int k = 0; k < kExcerptSamples; ++k)
        out[k] = starts.empty() ? 128 : textSafe(128.0 + sum[k] / static_cast<double>(starts.size()));
}

}  // namespace

std::vector<MeanForm> FormTemplates::build(const RhythmPlan& plan, const StoredSignal& signal) {
    const size_t forms = formCountOf(plan);
    std::vector<std::vector<int32_t>> starts(forms);
    std::vector<size_t> total(forms, 0);
    for (size_t i = 0; i < plan.beats.size(); ++i)
        if (cleanBeat(plan, i)) ++total[plan.beats[i].formCode];
    std::vector<size_t> seen(forms, 0);
    for (size_t i = 0; i < plan.beats.size(); ++i) {
        if (!cleanBeat(plan, i)) continue;
        const uint8_t form = plan.beats[i].formCode;
        // Spread the chosen beats over the whole day.
        const size_t stride = total[form] / kMaxBeatsPerForm + 1;
        if (seen[form]++ % stride != 0) continue;
        starts[form].push_back(static_cast<int32_t>(ticksOfQuarterTicks(plan.beats[i].positionQuarterTicks)) -
                               kExcerptLead);
    }
    std::vector<MeanForm> templates(forms);
    for (size_t f = 0; f < forms; ++f) {
        average(signal.channel1, starts[f], templates[f].channel1);
        average(signal.channel2, starts[f], templates[f].channel2);
        templates[f].beatCount = static_cast<uint32_t>(total[f]);
    }
    return templates;
}

// Layout outside the places the viewer reads: a signature at 0, then per
// form its clean-beat count (32-bit) from offset 16.
std::vector<uint8_t> FormTemplates::fileImage(const std::vector<MeanForm>& templates) {
    std::vector<uint8_t> image(kFormsTemplateOffset + templates.size() * 2 * kExcerptSamples, 0);
    static constexpr char kSignature[] = "LUMEN DEMO FORMS";
    std::memcpy(image.data(), kSignature, 16);
    for (size_t f = 0; f < templates.size(); ++f) {
        const uint32_t count = templates[f].beatCount;
        for (int k = 0; k < 4; ++k) image[16 + 4 * f + k] = static_cast<uint8_t>(count >> (8 * k));
    }
    image[kFormsCountOffset] = static_cast<uint8_t>(templates.size() * 4);
    uint8_t* out = image.data() + kFormsTemplateOffset;
    for (const MeanForm& t : templates) {
        out = std::copy(t.channel1.begin(), t.channel1.end(), out);
        out = std::copy(t.channel2.begin(), t.channel2.end(), out);
    }
    return image;
}

}  // namespace lumen
