#pragma once
#include <filesystem>
#include <vector>

#include "analysis/beat_scorer.h"

namespace lumen {

// The beats of a WFDB reference annotation file (`atr`) in the classes of
// ANSI/AAMI EC57, timed by the sampling rate of the record's header beside it.
class ReferenceBeats {
public:
    // Throws ImportError naming the file that cannot be read.
    static std::vector<ScoreBeat> read(const std::filesystem::path& atr);
};

}  // namespace lumen
