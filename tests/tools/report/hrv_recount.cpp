// SPDX-License-Identifier: GPL-3.0-or-later
// Heart-rate variability (Task Force of the ESC and NASPE, 1996) in ms, ms²
// and per cent.
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <numeric>

#include "tools/report/study_recount.h"

namespace lumen {
namespace {

constexpr double kMsPerQuarterTick = 5.0;
constexpr double kPositionsPerSecond = 200.0;
constexpr double kShortestNnMs = 300.0;
constexpr double kLongestNnMs = 2000.0;
constexpr double kLargeDifferenceMs = 50.0;
constexpr uint32_t kSegmentQuarterTicks = 5 * 60 * 200;
constexpr double kShortestSegmentMs = 150000.0;
constexpr double kFrequencyStepHz = 1.0 / 1024.0;
constexpr double kLowBandFromHz = 0.04;
constexpr double kHighBandFromHz = 0.15;
constexpr double kHighBandToHz = 0.4;
constexpr double kToleranceMs = 0.5;
constexpr double kToleranceShare = 0.005;

double sum(const std::vector<double>& values) { return std::accumulate(values.begin(), values.end(), 0.0); }
double mean(const std::vector<double>& values) { return values.empty() ? 0.0 : sum(values) / values.size(); }

double sampleDeviation(const std::vector<double>& values) {
    if (values.size() < 2) return 0.0;
    const double m = mean(values);
    double squares = 0.0;
    for (const double v : values) squares += (v - m) * (v - m);
    return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

// The classical unnormalised periodogram at one angular frequency, with the
// time offset tau that makes it independent of where time starts.
double lomb(const std::vector<double>& t, const std::vector<double>& x, double omega) {
    double xc = 0.0, xs = 0.0, cc = 0.0, ss = 0.0, cs = 0.0;
    for (size_t i = 0; i < t.size(); ++i) {
        const double c = std::cos(omega * t[i]);
        const double s = std::sin(omega * t[i]);
        xc += x[i] * c, xs += x[i] * s, cc += c * c, ss += s * s, cs += c * s;
    }
    const double phase = 0.5 * std::atan2(2.0 * cs, cc - ss);  // omega * tau
    const double cp = std::cos(phase);
    const double sp = std::sin(phase);
    const double cosineSum = cp * xc + sp * xs;
    const double sineSum = cp * xs - sp * xc;
    const double cosineSquares = cp * cp * cc + 2.0 * cp * sp * cs + sp * sp * ss;
    const double sineSquares = cp * cp * ss - 2.0 * cp * sp * cs + sp * sp * cc;
    double power = 0.0;
    if (cosineSquares > 0.0) power += cosineSum * cosineSum / cosineSquares;
    if (sineSquares > 0.0) power += sineSum * sineSum / sineSquares;
    return 0.5 * power;
}

struct Segment {
    std::vector<double> seconds;  // of each interval's second beat
    std::vector<double> ms;
};

// Adds the segment's Lomb-Scargle band powers (ms²) to lf and hf.
void addBandPowers(const Segment& segment, double& lf, double& hf) {
    if (segment.ms.size() < 2) return;
    const double meanMs = mean(segment.ms);
    std::vector<double> t;
    std::vector<double> x;
    for (size_t i = 0; i < segment.ms.size(); ++i) {
        t.push_back(segment.seconds[i] - segment.seconds[0]);
        x.push_back(segment.ms[i] - meanMs);
    }
    // N intervals over T seconds, T being what they add up to: T / N is
    // their mean, as an even series' sampling interval would be.
    const double densityScale = 2.0 * meanMs / 1000.0;
    for (int k = 1; k * kFrequencyStepHz < kHighBandToHz; ++k) {
        const double hz = k * kFrequencyStepHz;
        if (hz < kLowBandFromHz) continue;
        (hz < kHighBandFromHz ? lf : hf) += densityScale * lomb(t, x, 2.0 * std::numbers::pi * hz) * kFrequencyStepHz;
    }
}

}  // namespace

void recountHrv(std::span<const BeatWord> words, Expectations& out) {
    std::vector<double> all;
    std::map<uint32_t, Segment> segments;
    std::vector<double> differences;  // of adjacent intervals that share a beat
    size_t lastEndWord = 0;
    for (size_t k = 1; k < words.size(); ++k) {
        if (words[k - 1].beatClass() != BeatClass::Normal || words[k].beatClass() != BeatClass::Normal) continue;
        const uint32_t end = words[k].positionQuarterTicks();
        const double ms = kMsPerQuarterTick * (static_cast<double>(end) - words[k - 1].positionQuarterTicks());
        if (ms < kShortestNnMs || ms > kLongestNnMs) continue;
        if (!all.empty() && lastEndWord + 1 == k) differences.push_back(ms - all.back());
        all.push_back(ms);
        lastEndWord = k;
        Segment& segment = segments[end / kSegmentQuarterTicks];
        segment.seconds.push_back(end / kPositionsPerSecond);
        segment.ms.push_back(ms);
    }
    std::vector<double> means;
    std::vector<double> deviations;
    double lf = 0.0;
    double hf = 0.0;
    for (const auto& [index, segment] : segments) {
        if (sum(segment.ms) < kShortestSegmentMs) continue;
        means.push_back(mean(segment.ms));
        deviations.push_back(sampleDeviation(segment.ms));
        addBandPowers(segment, lf, hf);
    }
    if (!means.empty()) lf /= means.size(), hf /= means.size();
    const auto timeDomain = [&](const char* key, double value) {
        expect(out, std::string("hrv.") + key, value, std::max(kToleranceMs, kToleranceShare * std::fabs(value)));
    };
    timeDomain("sdnn", sampleDeviation(all));
    timeDomain("sdann", means.size() < 2 ? 0.0 : sampleDeviation(means));
    timeDomain("sdnnIndex", mean(deviations));
    const double squares = std::inner_product(differences.begin(), differences.end(), differences.begin(), 0.0);
    const auto large = std::count_if(differences.begin(), differences.end(),
                                     [](double d) { return std::fabs(d) > kLargeDifferenceMs; });
    timeDomain("rmssd", differences.empty() ? 0.0 : std::sqrt(squares / differences.size()));
    timeDomain("pnn50", differences.empty() ? 0.0 : 100.0 * large / differences.size());
    expect(out, "hrv.lf", lf, kToleranceShare * lf);
    expect(out, "hrv.hf", hf, kToleranceShare * hf);
    // lf / hf carries both bands' tolerances.
    const double lfHf = hf > 0.0 ? lf / hf : 0.0;
    expect(out, "hrv.lfHf", lfHf, 2 * kToleranceShare * lfHf);
}

}  // namespace lumen
