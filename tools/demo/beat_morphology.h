// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>

#include "assembly/rhythm_plan.h"

namespace lumen {

// How a wave's angle moves with the heart rate (the rate factor f is
// sqrt(rate / 60 per minute)): P and T by sqrt(f), Q and S by f, R stays.
enum class AngleScale : uint8_t { None, RateFactor, SqrtRateFactor };

// One Gaussian term of the dynamical ECG model: centre angle and width in
// radians of the cardiac phase, peak height in millivolts on each lead.
struct GaussianWave {
    double angleRad = 0.0;
    double widthRad = 0.1;
    double peak1Mv = 0.0;
    double peak2Mv = 0.0;
    AngleScale scale = AngleScale::None;
};

inline constexpr int kWavesPerShape = 6;
using BeatMorphology = std::array<GaussianWave, kWavesPerShape>;

// The wave set of each beat shape.
const BeatMorphology& morphologyOf(BeatShape shape);

// The extra term that raises or lowers the ST segment by its peak.
GaussianWave stShiftWave(double level1Mv, double level2Mv);

}  // namespace lumen
