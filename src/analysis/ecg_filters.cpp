// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ecg_filters.h"

#include <cmath>
#include <numbers>

namespace lumen {
namespace {

// The state of one section in direct form I.
struct SectionState {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    // Starting from the first sample as steady state keeps the edge quiet.
    static SectionState steady(const Biquad& q, double first) {
        const double gainAtDc = (q.b0 + q.b1 + q.b2) / (1.0 + q.a1 + q.a2);
        return {first, first, first * gainAtDc, first * gainAtDc};
    }
    double step(const Biquad& q, double x) {
        const double y = q.b0 * x + q.b1 * x1 + q.b2 * x2 - q.a1 * y1 - q.a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

template <typename Iterator>
void runSection(Iterator begin, Iterator end, const Biquad& q) {
    if (begin == end) return;
    SectionState state = SectionState::steady(q, *begin);
    for (auto it = begin; it != end; ++it) *it = static_cast<float>(state.step(q, *it));
}

// Two sections in one pass: the second works on the first's output of the
// previous sample while the first takes the next one.
template <typename Iterator>
void runSections(Iterator begin, Iterator end, const Biquad& a, const Biquad& b) {
    if (begin == end) return;
    SectionState sa = SectionState::steady(a, *begin);
    const double firstOfB = sa.y1;
    SectionState sb = SectionState::steady(b, firstOfB);
    for (auto it = begin; it != end; ++it) *it = static_cast<float>(sb.step(b, sa.step(a, *it)));
}

}  // namespace

Biquad Biquad::butterworthHighPass(double cutoffHz, double rateHz) {
    const double k = std::tan(std::numbers::pi * cutoffHz / rateHz);
    const double norm = 1.0 / (1.0 + std::numbers::sqrt2 * k + k * k);
    return {norm, -2.0 * norm, norm, 2.0 * (k * k - 1.0) * norm, (1.0 - std::numbers::sqrt2 * k + k * k) * norm};
}

Biquad Biquad::butterworthLowPass(double cutoffHz, double rateHz) {
    const double k = std::tan(std::numbers::pi * cutoffHz / rateHz);
    const double norm = 1.0 / (1.0 + std::numbers::sqrt2 * k + k * k);
    return {k * k * norm, 2.0 * k * k * norm, k * k * norm, 2.0 * (k * k - 1.0) * norm,
            (1.0 - std::numbers::sqrt2 * k + k * k) * norm};
}

void EcgFilters::zeroPhase(std::span<float> signal, const Biquad& section) {
    runSection(signal.begin(), signal.end(), section);
    runSection(signal.rbegin(), signal.rend(), section);
}

void EcgFilters::zeroPhase(std::span<float> signal, const Biquad& first, const Biquad& second) {
    runSections(signal.begin(), signal.end(), first, second);
    runSections(signal.rbegin(), signal.rend(), first, second);
}

void EcgFilters::derivative(std::span<const float> in, std::span<float> out) {
    const size_t n = in.size();
    for (size_t i = 0; i < n; ++i) {
        if (i < 2 || i + 2 >= n) {
            out[i] = 0.0f;
            continue;
        }
        out[i] = (2.0f * in[i + 2] + in[i + 1] - in[i - 1] - 2.0f * in[i - 2]) * 0.125f;
    }
}

void EcgFilters::movingAverage(std::span<const float> in, std::span<float> out, int width) {
    const auto n = static_cast<long>(in.size());
    const long half = width / 2;
    double sum = 0.0;
    long count = 0;
    long lo = 0, hi = 0;  // the sum covers [lo, hi)
    for (long i = 0; i < n; ++i) {
        const long wantLo = std::max(0L, i - half), wantHi = std::min(n, i + half + 1);
        for (; hi < wantHi; ++hi, ++count) sum += in[static_cast<size_t>(hi)];
        for (; lo < wantLo; ++lo, --count) sum -= in[static_cast<size_t>(lo)];
        out[static_cast<size_t>(i)] = static_cast<float>(sum / static_cast<double>(count));
    }
}

}  // namespace lumen
