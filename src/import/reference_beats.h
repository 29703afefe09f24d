// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <vector>

#include "analysis/beat_scorer.h"

namespace lumen {

// The beats of a WFDB reference annotation file (`atr`) in the classes of
// ANSI/AAMI EC57, and its ventricular flutter stretches (`[` to `]`), timed
// by the sampling rate of the record's header beside it.
struct ReferenceBeats {
    std::vector<ScoreBeat> beats;
    std::vector<ScoreStretch> flutter;

    // Throws ImportError naming the file that cannot be read.
    static ReferenceBeats read(const std::filesystem::path& atr);
};

}  // namespace lumen
