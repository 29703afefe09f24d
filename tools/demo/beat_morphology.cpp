// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/beat_morphology.h"

#include "demo/deterministic_math.h"

namespace lumen {
namespace {

using S = AngleScale;
constexpr GaussianWave kNone{0.0, 0.1, 0.0, 0.0, S::None};

// Lead 1 looks like a limb lead (upright P, qR, upright T); lead 2 like a
// right precordial lead (small r, deep S).
const BeatMorphology kNormal{{
    {-kPi / 3, 0.25, 0.15, 0.08, S::SqrtRateFactor},
    {-kPi / 12, 0.10, -0.12, -0.05, S::RateFactor},
    {0.0, 0.10, 1.25, 0.45, S::None},
    {kPi / 12, 0.10, -0.25, -0.95, S::RateFactor},
    {kPi / 2, 0.40, 0.32, 0.22, S::SqrtRateFactor},
    kNone,
}};

// Ectopic atrial focus: inverted P on lead 1, same conducted QRS.
const BeatMorphology kSupraventricular{{
    {-kPi / 3, 0.22, -0.10, 0.10, S::SqrtRateFactor},
    {-kPi / 12, 0.10, -0.12, -0.05, S::RateFactor},
    {0.0, 0.10, 1.25, 0.45, S::None},
    {kPi / 12, 0.10, -0.25, -0.95, S::RateFactor},
    {kPi / 2, 0.40, 0.30, 0.22, S::SqrtRateFactor},
    kNone,
}};

// Right bundle branch block: broad S on lead 1, rsR' with inverted T on lead 2.
const BeatMorphology kAberrant{{
    {-kPi / 3, 0.22, -0.10, 0.10, S::SqrtRateFactor},
    {0.0, 0.10, 0.95, 0.30, S::None},
    {0.22, 0.13, -0.45, -0.35, S::RateFactor},
    {0.45, 0.14, -0.20, 0.95, S::RateFactor},
    {kPi / 2, 0.40, 0.28, -0.22, S::SqrtRateFactor},
    kNone,
}};

// Ventricular beats: no P wave, broad QRS, T wave opposite to the QRS.
const BeatMorphology kVentricularA{{
    kNone,
    {-0.28, 0.16, 0.20, -0.30, S::RateFactor},
    {0.0, 0.30, 1.75, -0.95, S::None},
    {0.50, 0.26, -0.40, -0.45, S::RateFactor},
    {1.75, 0.50, -0.55, 0.45, S::SqrtRateFactor},
    kNone,
}};

const BeatMorphology kVentricularB{{
    kNone,
    {-0.25, 0.14, -0.30, 0.20, S::RateFactor},
    {0.0, 0.28, -1.35, 1.55, S::None},
    {0.45, 0.24, -0.45, 0.35, S::RateFactor},
    {1.70, 0.50, 0.50, -0.50, S::SqrtRateFactor},
    kNone,
}};

const BeatMorphology kVentricularTachy{{
    kNone,
    {-0.30, 0.16, -0.20, -0.15, S::RateFactor},
    {0.0, 0.34, 1.30, 0.95, S::None},
    {0.55, 0.26, -0.60, -0.35, S::RateFactor},
    {1.55, 0.45, -0.40, -0.35, S::SqrtRateFactor},
    kNone,
}};

}  // namespace

const BeatMorphology& morphologyOf(BeatShape shape) {
    switch (shape) {
    case BeatShape::Supraventricular: return kSupraventricular;
    case BeatShape::Aberrant: return kAberrant;
    case BeatShape::VentricularA: return kVentricularA;
    case BeatShape::VentricularB: return kVentricularB;
    case BeatShape::VentricularTachy: return kVentricularTachy;
    case BeatShape::Normal: break;
    }
    return kNormal;
}

GaussianWave stShiftWave(double level1Mv, double level2Mv) {
    return {0.70, 0.28, level1Mv, level2Mv, S::RateFactor};
}

}  // namespace lumen
