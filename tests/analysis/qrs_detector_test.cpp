// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/qrs_detector.h"

namespace lumen {
namespace {

constexpr double kRateHz = 250.0;
constexpr double kSeconds = 60.0;
constexpr double kRrSeconds = 0.8;

struct Peak {
    double seconds;
    float height;  // of the integrated slope, against a usual QRS of 1
    float slope;
};

// An integrated slope of triangular peaks; a peak's slope is its own.
WindowSignals signalOf(const std::vector<Peak>& peaks) {
    WindowSignals w;
    w.rateHz = kRateHz;
    w.slope.assign(static_cast<size_t>(kSeconds * kRateHz), 0.0f);
    w.integrated = w.slope;
    const auto half = static_cast<int64_t>(0.04 * kRateHz);
    for (const Peak& p : peaks) {
        const auto at = static_cast<int64_t>(std::lround(p.seconds * kRateHz));
        for (int64_t k = -half; k <= half; ++k) {
            const float share = 1.0f - static_cast<float>(std::abs(k)) / static_cast<float>(half + 1);
            w.integrated[static_cast<size_t>(at + k)] += p.height * share;
            w.slope[static_cast<size_t>(at + k)] += p.slope * share;
        }
    }
    return w;
}

std::vector<int64_t> detected(const WindowSignals& w) {
    QrsDetector detector(kRateHz);
    std::vector<int64_t> out = detector.detect(w, 0, static_cast<int64_t>(w.size()));
    const std::vector<int64_t> tail = detector.finish(static_cast<int64_t>(w.size()));
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

bool has(const std::vector<int64_t>& beats, double seconds) {
    return std::find(beats.begin(), beats.end(), std::lround(seconds * kRateHz)) != beats.end();
}

// Regular QRS peaks every 0.8 s from 1 s on, with a small peak of noise
// between them; the peak under test follows the beat at 29.8 s, in place of
// the beat at its own time (and, by case, of the beat after it: a pause).
TEST(QrsDetector, TellsQrsComplexesFromTheirSurroundings) {
    struct Case {
        const char* name;
        Peak tested;
        float noise;  // height of the peaks between the beats
        bool pause;
        bool isBeat;
    };
    static constexpr Case kCases[] = {
        {"a T wave 300 ms after the QRS, a third as steep", {30.1, 0.5f, 0.3f}, 0.02f, false, false},
        {"a peak as large 160 ms after the QRS, in its refractory period", {29.96, 1.0f, 1.0f}, 0.02f, false, false},
        {"a steep peak 300 ms after the QRS is a beat, not a T wave", {30.1, 0.5f, 1.0f}, 0.02f, false, true},
        {"after a pause, a beat below the threshold is searched back", {30.6, 0.28f, 0.28f}, 0.15f, true, true},
        {"below half the threshold it is not", {30.6, 0.17f, 0.17f}, 0.15f, false, false},
        {"but after a longer pause the levels come down to it", {30.6, 0.17f, 0.17f}, 0.15f, true, true},
        {"in a quiet signal an early beat of an eighth of the QRS level is found",
         {30.2, 0.12f, 0.12f},
         0.01f,
         false,
         true},
        {"in a noisy one it is not", {30.2, 0.12f, 0.12f}, 0.15f, false, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<Peak> peaks{c.tested};
        long later = 0;  // beats after 33.3 s: all found
        for (double t = 1.0; t < kSeconds - 1.0; t += kRrSeconds) {
            const bool replaced = std::fabs(t - c.tested.seconds) < 0.01 ||
                                  (c.pause && std::fabs(t - c.tested.seconds - kRrSeconds) < 0.01);
            if (!replaced) peaks.push_back({t, 1.0f, 1.0f});
            later += t > 33.3;
            peaks.push_back({t + 0.55, c.noise, c.noise});
        }
        const std::vector<int64_t> beats = detected(signalOf(peaks));
        EXPECT_EQ(has(beats, c.tested.seconds), c.isBeat);
        EXPECT_TRUE(has(beats, 29.8));
        EXPECT_TRUE(has(beats, 32.2));
        EXPECT_EQ(std::count_if(beats.begin(), beats.end(), [](int64_t b) { return b > 33.3 * kRateHz; }), later);
    }
}

}  // namespace
}  // namespace lumen
