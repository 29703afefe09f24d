#pragma once
#include <span>
#include <vector>

#include "store/beat_word.h"

namespace lumen {

// Heart-rate variability of the normal-to-normal intervals (Task Force of
// the ESC and NASPE, 1996), in ms, ms² and per cent.
struct HrvRecount {
    double sdnn = 0.0;
    double sdann = 0.0;
    double sdnnIndex = 0.0;
    double rmssd = 0.0;
    double pnn50 = 0.0;
    double lf = 0.0;
    double hf = 0.0;
    double lfHf = 0.0;
};

struct BandPowers {
    double lf = 0.0;  // ms², 0.04 to 0.15 Hz
    double hf = 0.0;  // ms², 0.15 to 0.4 Hz
};

HrvRecount recountHrv(std::span<const BeatWord> words);

// The Lomb-Scargle band powers of one uneven series of intervals (ms) at the
// times of their second beats (s).
BandPowers lombBandPowers(const std::vector<double>& seconds, const std::vector<double>& intervalsMs);

}  // namespace lumen
