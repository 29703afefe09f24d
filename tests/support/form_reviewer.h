// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "analysis/beat_scorer.h"
#include "store/beat_word.h"

namespace lumen::testing {

// A simulated reviewer who corrects an analysis by form: every form is given
// the class most of its beats have in the reference annotations (a beat
// that matches no reference beat within EC57's window counts as an
// artefact, fusion as ventricular, unclassifiable beats as artefacts).
struct FormVerdict {
    BeatClass referenceClass = BeatClass::Normal;
    uint32_t agreeing = 0;  // beats whose reference class is referenceClass
    uint32_t beats = 0;
};

std::map<uint8_t, FormVerdict> reviewForms(std::span<const BeatWord> words, std::span<const ScoreBeat> reference);

}  // namespace lumen::testing
