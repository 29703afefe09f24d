// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/heart_rate_variability.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <map>
#include <numbers>
#include <numeric>

#include "store/time_units.h"
#include "study/heart_rate_blocks.h"

namespace lumen {
namespace {

constexpr double kLowBandFirstHz = 0.04;
constexpr double kHighBandFirstHz = 0.15;
constexpr double kHighBandEndHz = 0.4;
constexpr double kPercent = 100.0;

double mean(std::span<const double> values) {
    return values.empty() ? 0.0
                          : std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

// Standard deviation with n - 1; 0 for fewer than two values.
double deviation(std::span<const double> values) {
    if (values.size() < 2) return 0.0;
    const double m = mean(values);
    double sum = 0.0;
    for (const double v : values) sum += (v - m) * (v - m);
    return std::sqrt(sum / static_cast<double>(values.size() - 1));
}

struct Segment {
    std::vector<double> timesSeconds;
    std::vector<double> intervalsMs;
    double sumMs = 0.0;
};

void addTimeDomain(const std::vector<NormalInterval>& intervals, VariabilityFigures& out) {
    std::vector<double> all;
    all.reserve(intervals.size());
    double squares = 0.0;
    int64_t differences = 0;
    int64_t large = 0;
    for (size_t i = 0; i < intervals.size(); ++i) {
        all.push_back(intervals[i].ms);
        if (i == 0 || !intervals[i].sharesBeatWithPrevious) continue;
        const double d = intervals[i].ms - intervals[i - 1].ms;
        squares += d * d;
        ++differences;
        if (std::abs(d) > HeartRateVariability::kLargeDifferenceMs) ++large;
    }
    out.normalIntervals = static_cast<int64_t>(all.size());
    out.sdnnMs = deviation(all);
    if (differences > 0) {
        out.rmssdMs = std::sqrt(squares / static_cast<double>(differences));
        out.pnn50Percent = kPercent * static_cast<double>(large) / static_cast<double>(differences);
    }
}

void addSegments(const std::vector<NormalInterval>& intervals, VariabilityFigures& out) {
    std::map<int64_t, Segment> segments;
    for (const NormalInterval& n : intervals) {
        Segment& s = segments[n.secondQuarterTicks / HeartRateVariability::kSegmentQuarterTicks];
        s.timesSeconds.push_back(static_cast<double>(n.secondQuarterTicks) / kQuarterTicksPerSecond);
        s.intervalsMs.push_back(n.ms);
        s.sumMs += n.ms;
    }
    std::vector<double> means;
    std::vector<double> deviations;
    double low = 0.0;
    double high = 0.0;
    for (const auto& [index, s] : segments) {
        if (s.sumMs < HeartRateVariability::kShortestSegmentSumMs) continue;
        means.push_back(mean(s.intervalsMs));
        deviations.push_back(deviation(s.intervalsMs));
        const BandPowers p = HeartRateVariability::bandPowers(s.timesSeconds, s.intervalsMs);
        low += p.lowMs2;
        high += p.highMs2;
    }
    if (means.empty()) return;
    const auto count = static_cast<double>(means.size());
    out.sdannMs = deviation(means);
    out.sdnnIndexMs = mean(deviations);
    out.lfMs2 = low / count;
    out.hfMs2 = high / count;
    out.lfHfRatio = out.hfMs2 > 0.0 ? out.lfMs2 / out.hfMs2 : 0.0;
}

}  // namespace

std::vector<NormalInterval> HeartRateVariability::normalIntervals(std::span<const BeatWord> words) {
    std::vector<NormalInterval> out;
    size_t lastSecondWord = 0;
    for (size_t i = 1; i < words.size(); ++i) {
        if (words[i - 1].beatClass() != BeatClass::Normal || words[i].beatClass() != BeatClass::Normal) continue;
        const int64_t second = words[i].positionQuarterTicks();
        const double ms =
            static_cast<double>((second - int64_t{words[i - 1].positionQuarterTicks()}) * kMillisecondsPerQuarterTick);
        if (ms < kShortestNormalMs || ms > kLongestNormalMs) continue;
        out.push_back({second, ms, !out.empty() && lastSecondWord == i - 1});
        lastSecondWord = i;
    }
    return out;
}

VariabilityFigures HeartRateVariability::compute(std::span<const BeatWord> words) {
    const std::vector<NormalInterval> intervals = normalIntervals(words);
    VariabilityFigures out;
    addTimeDomain(intervals, out);
    addSegments(intervals, out);
    return out;
}

// The Lomb-Scargle periodogram on the grid k * step, its sums kept for all
// frequencies at once: each time's phasor is turned on by one step per
// frequency instead of evaluating a sine and cosine for every pair.
BandPowers HeartRateVariability::bandPowers(std::span<const double> timesSeconds, std::span<const double> intervalsMs) {
    const size_t n = std::min(timesSeconds.size(), intervalsMs.size());
    BandPowers out;
    if (n < 2) return out;
    const auto frequencies = static_cast<size_t>(std::ceil(kHighBandEndHz / kFrequencyStepHz));
    std::vector<double> c(frequencies + 1), s(frequencies + 1), c2(frequencies + 1), s2(frequencies + 1);
    const double m = mean(intervalsMs.first(n));
    const double t0 = timesSeconds[0];
    for (size_t i = 0; i < n; ++i) {
        const double y = intervalsMs[i] - m;
        const double turn = 2.0 * std::numbers::pi * kFrequencyStepHz * (timesSeconds[i] - t0);
        const std::complex<double> step = std::polar(1.0, turn);
        std::complex<double> z = 1.0;
        for (size_t k = 1; k <= frequencies; ++k) {
            z *= step;
            c[k] += y * z.real();
            s[k] += y * z.imag();
            c2[k] += z.real() * z.real() - z.imag() * z.imag();
            s2[k] += 2.0 * z.real() * z.imag();
        }
    }
    const double half = static_cast<double>(n) / 2.0;
    const double meanIntervalSeconds = m / 1000.0;
    for (size_t k = 1; k <= frequencies; ++k) {
        const double f = static_cast<double>(k) * kFrequencyStepHz;
        if (f < kLowBandFirstHz || f >= kHighBandEndHz) continue;
        const double twoOmegaTau = std::atan2(s2[k], c2[k]);
        const double cosTau = std::cos(twoOmegaTau / 2.0);
        const double sinTau = std::sin(twoOmegaTau / 2.0);
        const double spread = c2[k] * std::cos(twoOmegaTau) + s2[k] * std::sin(twoOmegaTau);
        const double cosSquares = half + spread / 2.0;
        const double sinSquares = half - spread / 2.0;
        const double yc = c[k] * cosTau + s[k] * sinTau;
        const double ys = s[k] * cosTau - c[k] * sinTau;
        double periodogram = 0.0;
        if (cosSquares > 0.0) periodogram += yc * yc / cosSquares;
        if (sinSquares > 0.0) periodogram += ys * ys / sinSquares;
        const double power = 2.0 * meanIntervalSeconds * periodogram / 2.0 * kFrequencyStepHz;
        (f < kHighBandFirstHz ? out.lowMs2 : out.highMs2) += power;
    }
    return out;
}

}  // namespace lumen
