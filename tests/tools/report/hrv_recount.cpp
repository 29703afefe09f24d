#include "tools/report/hrv_recount.h"

#include <cmath>
#include <map>
#include <numbers>
#include <numeric>

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
constexpr double kPercent = 100.0;
constexpr double kMsPerSecond = 1000.0;

struct NnInterval {
    double ms = 0.0;
    uint32_t endQuarterTicks = 0;
    size_t endWord = 0;
};

std::vector<NnInterval> nnIntervals(std::span<const BeatWord> words) {
    std::vector<NnInterval> out;
    for (size_t k = 1; k < words.size(); ++k) {
        if (words[k - 1].beatClass() != BeatClass::Normal || words[k].beatClass() != BeatClass::Normal) continue;
        const double ms = kMsPerQuarterTick *
                          (static_cast<double>(words[k].positionQuarterTicks()) - words[k - 1].positionQuarterTicks());
        if (ms >= kShortestNnMs && ms <= kLongestNnMs) out.push_back({ms, words[k].positionQuarterTicks(), k});
    }
    return out;
}

double mean(const std::vector<double>& values) {
    return values.empty() ? 0.0
                          : std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double sampleDeviation(const std::vector<double>& values) {
    if (values.size() < 2) return 0.0;
    const double m = mean(values);
    double squares = 0.0;
    for (const double v : values) squares += (v - m) * (v - m);
    return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

void addSuccessiveDifferences(const std::vector<NnInterval>& nn, HrvRecount& out) {
    double squares = 0.0;
    size_t count = 0;
    size_t large = 0;
    for (size_t j = 1; j < nn.size(); ++j) {
        if (nn[j - 1].endWord + 1 != nn[j].endWord) continue;  // they share no beat
        const double difference = nn[j].ms - nn[j - 1].ms;
        squares += difference * difference;
        ++count;
        large += std::fabs(difference) > kLargeDifferenceMs;
    }
    if (count == 0) return;
    out.rmssd = std::sqrt(squares / static_cast<double>(count));
    out.pnn50 = kPercent * static_cast<double>(large) / static_cast<double>(count);
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

}  // namespace

BandPowers lombBandPowers(const std::vector<double>& seconds, const std::vector<double>& intervalsMs) {
    BandPowers out;
    if (seconds.size() < 2) return out;
    const double meanMs = mean(intervalsMs);
    std::vector<double> t;
    std::vector<double> x;
    for (size_t i = 0; i < seconds.size(); ++i) {
        t.push_back(seconds[i] - seconds[0]);
        x.push_back(intervalsMs[i] - meanMs);
    }
    // N intervals over T seconds, T being what they add up to: T / N is
    // their mean, as an even series' sampling interval would be.
    const double densityScale = 2.0 * meanMs / kMsPerSecond;
    for (int k = 1; k * kFrequencyStepHz < kHighBandToHz; ++k) {
        const double hz = k * kFrequencyStepHz;
        if (hz < kLowBandFromHz) continue;
        const double density = densityScale * lomb(t, x, 2.0 * std::numbers::pi * hz);
        (hz < kHighBandFromHz ? out.lf : out.hf) += density * kFrequencyStepHz;
    }
    return out;
}

HrvRecount recountHrv(std::span<const BeatWord> words) {
    HrvRecount out;
    const std::vector<NnInterval> nn = nnIntervals(words);
    std::vector<double> all;
    std::map<uint32_t, std::vector<NnInterval>> segments;
    for (const NnInterval& i : nn) {
        all.push_back(i.ms);
        segments[i.endQuarterTicks / kSegmentQuarterTicks].push_back(i);
    }
    out.sdnn = sampleDeviation(all);
    addSuccessiveDifferences(nn, out);

    std::vector<double> means;
    std::vector<double> deviations;
    BandPowers bands;
    for (const auto& [index, intervals] : segments) {
        std::vector<double> ms;
        std::vector<double> seconds;
        for (const NnInterval& i : intervals) {
            ms.push_back(i.ms);
            seconds.push_back(i.endQuarterTicks / kPositionsPerSecond);
        }
        if (std::accumulate(ms.begin(), ms.end(), 0.0) < kShortestSegmentMs) continue;
        means.push_back(mean(ms));
        deviations.push_back(sampleDeviation(ms));
        const BandPowers segment = lombBandPowers(seconds, ms);
        bands.lf += segment.lf;
        bands.hf += segment.hf;
    }
    out.sdann = means.size() < 2 ? 0.0 : sampleDeviation(means);
    out.sdnnIndex = mean(deviations);
    if (!means.empty()) {
        out.lf = bands.lf / static_cast<double>(means.size());
        out.hf = bands.hf / static_cast<double>(means.size());
    }
    out.lfHf = out.hf > 0.0 ? out.lf / out.hf : 0.0;
    return out;
}

}  // namespace lumen
