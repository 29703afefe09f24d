// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/form_matcher.h"

#include <algorithm>

#include "assembly/form_templates.h"
#include "store/beat_forms.h"
#include "store/time_units.h"

namespace lumen {
namespace {

constexpr uint8_t kSecondVentricularForm = kFormVentricularTachy;

FormTemplate templateOf(const MeanForm& form) {
    FormTemplate t{};
    std::copy(form.channel1.begin(), form.channel1.end(), t.begin());
    std::copy(form.channel2.begin(), form.channel2.end(), t.begin() + kFormSamples);
    t[2 * kFormSamples] = t[2 * kFormSamples - 1];
    return t;
}

bool excerptAt(const StoredSignal& s, int32_t sample, BeatExcerpt& out) {
    const int32_t start = sample - kFormSamplesBeforeBeat;
    if (start < 0 || static_cast<size_t>(start + kFormSamples + 1) > s.channel1.size()) return false;
    std::copy_n(s.channel1.begin() + start, kFormSamples + 1, out.channel1.begin());
    std::copy_n(s.channel2.begin() + start, kFormSamples + 1, out.channel2.begin());
    return true;
}

}  // namespace

size_t FormMatcher::splitVentricularForms(RecordingImage& r) {
    if (r.forms.size() <= kFormVentricularA || r.forms[kFormVentricularA].beatCount == 0) return 0;
    const FormTemplate ventricular = templateOf(r.forms[kFormVentricularA]);
    size_t moved = 0;
    BeatExcerpt excerpt;
    for (PlannedBeat& b : r.plan.beats) {
        if (b.beatClass != kClassVentricular || b.formCode != kFormVentricularA) continue;
        if (!excerptAt(r.signal, static_cast<int32_t>(ticksOfQuarterTicks(b.positionQuarterTicks)), excerpt)) continue;
        if (formScore(excerpt, ventricular) >= kSameFormScore) continue;
        b.formCode = kSecondVentricularForm;
        ++moved;
    }
    if (moved > 0) r.forms = FormTemplates::build(r.plan, r.signal);
    return moved;
}

}  // namespace lumen
