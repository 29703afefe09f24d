// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumen {

// What a source annotation becomes in the recording.
struct BeatLabel {
    uint8_t beatClass = 0;  // 0 normal, 1 supraventricular, 2 ventricular, 3 artefact
    uint8_t formCode = 0;   // the template the beat is grouped into
};

// The one table that maps annotation labels to the recording's beat
// classes and forms. WFDB mnemonics (N, L, R, e, j, n, /, f, A, a, J, S, V,
// E, F, Q, |) and their long forms ("Normal", "PVC", ...) are accepted,
// case-insensitively for the long forms.
class BeatLabels {
public:
    static std::optional<BeatLabel> lookup(std::string_view label);
    // The WFDB mnemonic that stands for a class in exports: N, S, V or Q.
    static char mnemonicOf(uint8_t beatClass);
};

}  // namespace lumen
