// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>

#include "analysis/window_signals.h"

namespace lumen {

inline constexpr int kShapePoints = 32;  // the shape, sampled at 128 Hz
inline constexpr double kShapeRateHz = 128.0;
inline constexpr int kShapePointsBeforeR = 12;  // 94 ms before the R peak
// The P and T waves, sampled at 50 Hz: 320-100 ms before and 160-380 ms
// after the R peak.
inline constexpr int kWavePoints = 12;
inline constexpr double kWaveStepSeconds = 0.02;
inline constexpr double kPWaveFromSeconds = -0.32;
inline constexpr double kTWaveFromSeconds = 0.16;

template <size_t N>
using LeadShapes = std::array<std::array<float, N>, 2>;
using QrsShape = LeadShapes<kShapePoints>;
using WaveShape = LeadShapes<kWavePoints>;

// What the classification and the ST trend need of one beat.
struct MeasuredBeat {
    int64_t sample = 0;  // the largest deflection of the QRS
    QrsShape shape{};
    WaveShape pWave{};
    WaveShape tWave{};
    double widthSeconds = 0.0;
    bool onsetFound = true;  // false when the slope never settles before the QRS: noise
    float stMv[2] = {0.0f, 0.0f};
    bool stValid = false;
    // The QRS's integrated slope against the detector's running QRS level:
    // about 1 for a usual QRS, far less for noise the detector let through.
    float detectionStrength = 1.0f;
};

// Measures a detected QRS: its fiducial point (largest deflection of both
// leads near the steepest slope), its width (where the smoothed slope
// amplitude of the clean leads falls under a fraction of its peak), its
// shape and its ST level at J + 60 ms against the flattest 20 ms of the PR
// segment.
class BeatMeasurer {
public:
    static bool fits(const WindowSignals& w, int64_t detected);
    static MeasuredBeat measure(const WindowSignals& w, int64_t detected);
};

}  // namespace lumen
