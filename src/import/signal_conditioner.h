// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "import/signal_source.h"
#include "store/amplitude_code.h"

namespace lumen {

inline constexpr double kStoredRateHz = 50.0;
inline constexpr double kHighPassHz = 0.5;
inline constexpr double kUnclippedFraction = 0.999;
inline constexpr double kLeadOffMinimumSeconds = 2.0;

// A stretch of the stored signal, in ticks (1/50 s), end excluded.
struct TickStretch {
    int32_t start = 0;
    int32_t end = 0;
};

// The two stored channels: 8-bit samples around 128 at 50 per second,
// padded with baseline to whole 10-second blocks.
struct ConditionedSignal {
    std::vector<uint8_t> channel1;
    std::vector<uint8_t> channel2;
    int32_t sourceTicks = 0;  // ticks that hold signal, before the padding
    uint8_t amplitudeCode = kFinestAmplitudeCode;
    double unitsPerMv = kFinestUnitsPerMillivolt;
    bool duplicated = false;           // a one-channel source fills both channels
    std::vector<TickStretch> leadOff;  // flat or saturated stretches
    std::vector<int> deadChannels;     // source channels flat from end to end
};

using StoredChannels = std::vector<float>[2];

// Brings any source to what the recording stores: resampling to 50 Hz with
// an anti-aliasing resampler, a 0.5 Hz high-pass against baseline wander
// (as recorders filter before 8-bit storage), the largest amplitude code
// that leaves 99.9 % of the samples unclipped, and quantisation.
class SignalConditioner {
public:
    // Throws ImportError (naming `sourceName`) when the resampler fails or
    // no channel carries a signal.
    static ConditionedSignal run(SignalSource& source, const std::string& sourceName);

    static uint8_t chooseAmplitudeCode(const std::vector<float>& a, const std::vector<float>& b);
    static void highPass(std::vector<float>& signal);
};

}  // namespace lumen
