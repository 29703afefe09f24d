// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/heart_rate_variability.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace lumen {
namespace {

// Beat words of normal beats at the given times (s).
std::vector<BeatWord> normalBeatsAt(const std::vector<double>& seconds) {
    std::vector<BeatWord> words;
    for (const double s : seconds)
        words.push_back(BeatWord::make(static_cast<uint32_t>(std::lround(s * 200.0)), BeatClass::Normal, 0));
    return words;
}

// A day of intervals that swing around 1 s as a sine of that amplitude
// and frequency.
std::vector<BeatWord> modulatedRhythm(double amplitudeMs, double frequencyHz, double seconds) {
    std::vector<double> times{0.0};
    while (times.back() < seconds) {
        const double t = times.back();
        times.push_back(t + (1000.0 + amplitudeMs * std::sin(2.0 * std::numbers::pi * frequencyHz * t)) / 1000.0);
    }
    return normalBeatsAt(times);
}

struct SpectrumCase {
    double frequencyHz;
    bool low;
};

class KnownSpectrum : public ::testing::TestWithParam<SpectrumCase> {};

// A sine of amplitude A has the variance A²/2: all of it belongs in its band.
TEST_P(KnownSpectrum, ASineFallsInItsBandWithItsVariance) {
    constexpr double kAmplitudeMs = 40.0;
    const VariabilityFigures v =
        HeartRateVariability::compute(modulatedRhythm(kAmplitudeMs, GetParam().frequencyHz, 3600.0));
    const double variance = kAmplitudeMs * kAmplitudeMs / 2.0;
    const double inBand = GetParam().low ? v.lfMs2 : v.hfMs2;
    const double outOfBand = GetParam().low ? v.hfMs2 : v.lfMs2;
    EXPECT_NEAR(inBand, variance, 0.05 * variance);
    EXPECT_LT(outOfBand, 0.02 * variance);
}

INSTANTIATE_TEST_SUITE_P(Bands, KnownSpectrum,
                         ::testing::Values(SpectrumCase{0.08, true}, SpectrumCase{0.12, true}, SpectrumCase{0.2, false},
                                           SpectrumCase{0.3, false}));

TEST(TimeDomain, FollowsTheTaskForceDefinitions) {
    // Intervals 800, 900, 800, 1000 ms (mean 875): differences 100, -100, 200.
    const VariabilityFigures v = HeartRateVariability::compute(normalBeatsAt({0.0, 0.8, 1.7, 2.5, 3.5}));
    EXPECT_EQ(v.normalIntervals, 4);
    EXPECT_NEAR(v.sdnnMs, std::sqrt((75.0 * 75.0 + 25.0 * 25.0 + 75.0 * 75.0 + 125.0 * 125.0) / 3.0), 1e-9);
    EXPECT_NEAR(v.rmssdMs, std::sqrt((10000.0 + 10000.0 + 40000.0) / 3.0), 1e-9);
    EXPECT_NEAR(v.pnn50Percent, 100.0, 1e-9);
}

TEST(TimeDomain, AnEctopicBeatOrAnImplausibleIntervalBreaksTheDifferences) {
    std::vector<BeatWord> words = normalBeatsAt({0.0, 0.8, 1.6, 2.4, 3.2, 5.6, 6.4, 7.2});
    words[2] = words[2].withLabel(static_cast<uint8_t>(BeatClass::Ventricular));  // a V beat at 1.6 s
    const std::vector<NormalInterval> intervals = HeartRateVariability::normalIntervals(words);
    // 0-0.8 kept; 0.8-1.6 and 1.6-2.4 touch the V beat; 2.4 s is too long.
    ASSERT_EQ(intervals.size(), 4u);
    EXPECT_FALSE(intervals[1].sharesBeatWithPrevious);  // 2.4-3.2 follows the V beat
    EXPECT_FALSE(intervals[2].sharesBeatWithPrevious);  // 5.6-6.4 follows the 2.4 s gap
    EXPECT_TRUE(intervals[3].sharesBeatWithPrevious);
}

TEST(Segments, ShortSegmentsAreLeftOutOfSdann) {
    // Two full five-minute segments at different rates, then 100 s more.
    std::vector<double> times;
    for (double t = 0.0; t < 300.0; t += 0.8) times.push_back(t);
    for (double t = 300.0; t < 600.0; t += 1.0) times.push_back(t);
    for (double t = 600.0; t < 700.0; t += 0.5) times.push_back(t);
    const VariabilityFigures v = HeartRateVariability::compute(normalBeatsAt(times));
    // Means of 800 ms and about 999 ms (the first 1-s beat closes an 800 ms interval).
    EXPECT_NEAR(v.sdannMs, (999.3 - 800.0) / std::sqrt(2.0), 0.5);
}

}  // namespace
}  // namespace lumen
