// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// The patient section's amplitude code says how many sample units make one
// millivolt; a finer scale shows a larger display multiplier on screen so
// that one millivolt still spans the same paper.
inline constexpr int kAmplitudeCodeCount = 4;
inline constexpr double kUnitsPerMillivoltOfCode[kAmplitudeCodeCount] = {6.0, 13.0, 26.0, 51.0};
inline constexpr int kDisplayMultiplierOfCode[kAmplitudeCodeCount] = {8, 4, 2, 1};
// The demo's and the export's default scale: 51 units per millivolt.
inline constexpr uint8_t kFinestAmplitudeCode = 3;
inline constexpr double kFinestUnitsPerMillivolt = kUnitsPerMillivoltOfCode[kFinestAmplitudeCode];

}  // namespace lumen
