// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/deterministic_math.h"

#include <cmath>

namespace lumen {

double deterministicExp(double x) {
    if (x < -700.0) return 0.0;
    if (x > 700.0) x = 700.0;
    constexpr double kLn2 = 0.69314718055994530942;
    const double k = std::floor(x / kLn2 + 0.5);
    const double r = x - k * kLn2;
    // Taylor series; |r| <= 0.35 makes 14 terms exact to double precision.
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 14; ++n) {
        term *= r / n;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

double deterministicSin(double x) {
    constexpr double kTwoPi = 2.0 * kPi;
    x -= kTwoPi * std::floor(x / kTwoPi + 0.5);  // now within [-pi, pi]
    if (x > kPi / 2) x = kPi - x;
    if (x < -kPi / 2) x = -kPi - x;
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 11; ++n) {
        term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

double deterministicCos(double x) { return deterministicSin(x + kPi / 2); }

}  // namespace lumen
