// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumen {

// Elementary functions built from + - * / only, so that the same seed gives
// the same bytes whatever C library the generator runs on.
double deterministicExp(double x);
double deterministicSin(double x);
double deterministicCos(double x);

inline constexpr double kPi = 3.14159265358979323846;

}  // namespace lumen
