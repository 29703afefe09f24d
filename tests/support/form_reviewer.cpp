// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/form_reviewer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "store/form_census.h"

namespace lumen::testing {
namespace {

constexpr double kSecondsPerQuarterTick = 1.0 / 200.0;

BeatClass reviewerClass(ScoreClass c) {
    switch (c) {
    case ScoreClass::N: return BeatClass::Normal;
    case ScoreClass::S: return BeatClass::Supraventricular;
    case ScoreClass::V:
    case ScoreClass::F: return BeatClass::Ventricular;
    case ScoreClass::Q: return BeatClass::Artefact;
    }
    return BeatClass::Artefact;
}

BeatClass truthOf(std::span<const ScoreBeat> reference, double seconds) {
    const auto after = std::lower_bound(reference.begin(), reference.end(), seconds,
                                        [](const ScoreBeat& b, double s) { return b.seconds < s; });
    double nearest = BeatScore::kMatchWindowSeconds;
    BeatClass found = BeatClass::Artefact;
    for (auto it = after == reference.begin() ? after : after - 1; it != reference.end() && it <= after; ++it) {
        if (std::abs(it->seconds - seconds) <= nearest) {
            nearest = std::abs(it->seconds - seconds);
            found = reviewerClass(it->kind);
        }
    }
    return found;
}

}  // namespace

std::map<uint8_t, FormVerdict> reviewForms(std::span<const BeatWord> words, std::span<const ScoreBeat> reference) {
    std::map<uint8_t, std::array<uint32_t, kBeatClassCount>> votes;
    for (const BeatWord w : words) {
        if (!FormCensus::holdsBeat(w) || w.formCode() >= FormCensus::kFormCodes) continue;
        const BeatClass truth = truthOf(reference, w.positionQuarterTicks() * kSecondsPerQuarterTick);
        ++votes[w.formCode()][static_cast<size_t>(truth)];
    }
    std::map<uint8_t, FormVerdict> verdicts;
    for (const auto& [form, byClass] : votes) {
        FormVerdict& v = verdicts[form];
        const auto most = std::max_element(byClass.begin(), byClass.end());
        v.referenceClass = static_cast<BeatClass>(most - byClass.begin());
        v.agreeing = *most;
        for (const uint32_t n : byClass) v.beats += n;
    }
    return verdicts;
}

}  // namespace lumen::testing
