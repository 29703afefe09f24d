// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <span>

namespace lumen {

// A second-order section in direct form I.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;

    static Biquad butterworthHighPass(double cutoffHz, double rateHz);
    static Biquad butterworthLowPass(double cutoffHz, double rateHz);
};

// Filters run forwards and backwards: no phase shift, so the R peak, the
// QRS edges and the ST segment stay where they are.
class EcgFilters {
public:
    // One section, or two in cascade, forwards and then backwards; each pass
    // starts as if the signal had always had its first value.
    static void zeroPhase(std::span<float> signal, const Biquad& section);
    static void zeroPhase(std::span<float> signal, const Biquad& first, const Biquad& second);
    // The five-point derivative of Pan and Tompkins, centred.
    static void derivative(std::span<const float> in, std::span<float> out);
    // A centred moving average of `width` samples.
    static void movingAverage(std::span<const float> in, std::span<float> out, int width);
};

}  // namespace lumen
