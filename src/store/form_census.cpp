// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/form_census.h"

#include <algorithm>

namespace lumen {

BeatClass FormSummary::majority() const {
    const auto most = std::max_element(byClass.begin(), byClass.end());
    return static_cast<BeatClass>(most - byClass.begin());
}

std::vector<FormSummary> FormCensus::take(std::span<const BeatWord> words) {
    std::array<FormSummary, kFormCodes> forms{};
    for (uint8_t f = 0; f < kFormCodes; ++f) forms[f].id = f;
    for (const BeatWord w : words) {
        if (!holdsBeat(w) || w.formCode() >= kFormCodes) continue;
        FormSummary& form = forms[w.formCode()];
        ++form.byClass[static_cast<size_t>(w.beatClass())];
        ++form.count;
    }
    std::vector<FormSummary> out;
    for (const FormSummary& f : forms)
        if (f.count > 0) out.push_back(f);
    return out;
}

std::optional<FormRelabelling> FormCensus::relabel(std::span<BeatWord> words, uint8_t form, BeatClass beatClass) {
    const auto label = static_cast<uint8_t>(form * 4 + static_cast<uint8_t>(beatClass));
    if (form >= kFormCodes || isReservedLabel(label)) return std::nullopt;
    FormRelabelling done;
    for (BeatWord& w : words) {
        if (!holdsBeat(w) || w.formCode() != form || w.beatClass() == beatClass) continue;
        done.normalChanged =
            done.normalChanged || (w.beatClass() == BeatClass::Normal) != (beatClass == BeatClass::Normal);
        w = w.withLabel(label);
        ++done.relabelled;
    }
    return done;
}

}  // namespace lumen
