#include <gtest/gtest.h>

#include <cmath>

#include "demo/demo_random.h"
#include "demo/deterministic_math.h"
#include "demo_fixture.h"

namespace lumen {
namespace {

using testing::twoHourDemo;

TEST(DemoMath, OwnElementaryFunctionsAgreeWithTheLibrary) {
    for (double x = -30.0; x <= 30.0; x += 0.173) {
        EXPECT_NEAR(deterministicExp(x) / std::exp(x), 1.0, 1e-13) << x;
        EXPECT_NEAR(deterministicSin(x), std::sin(x), 1e-12) << x;
        EXPECT_NEAR(deterministicCos(x), std::cos(x), 1e-12) << x;
    }
    EXPECT_EQ(deterministicExp(-800.0), 0.0);
}

TEST(DemoRandomSource, RepeatsPerSeedAndHasTheRightMoments) {
    DemoRandom a(42), b(42), c(43);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(a.next(), b.next());
    EXPECT_NE(a.next(), c.next());
    DemoRandom r(1);
    double sum = 0.0, squares = 0.0;
    constexpr int kCount = 200000;
    for (int i = 0; i < kCount; ++i) {
        const double u = r.uniform();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        const double g = r.gaussian();
        sum += g;
        squares += g * g;
    }
    EXPECT_NEAR(sum / kCount, 0.0, 0.01);
    EXPECT_NEAR(squares / kCount, 1.0, 0.02);
    for (int i = 0; i < 1000; ++i) {
        const int32_t v = r.below(7);
        ASSERT_TRUE(v >= 0 && v < 7);
    }
}

// The largest excursion of the QRS from the PR segment in one direction.
int peakAround(const std::vector<uint8_t>& channel, int32_t sample, int sign) {
    int best = 0;
    for (int32_t s = sample - 1; s <= sample + 3; ++s) best = std::max(best, sign * (channel[s] - channel[sample - 4]));
    return best;
}

TEST(DemoSignal, CleanBeatsShowTheirQrsOnBothLeads) {
    const DemoRecording& r = twoHourDemo().recording;
    int normal = 0, ventricular = 0;
    for (const PlannedBeat& b : r.plan.beats) {
        const int32_t s = b.positionQuarterTicks / 4;
        if (s < 10 || r.plan.disturbanceAt(s) != nullptr) continue;
        if (b.shape == BeatShape::Normal) {
            // Tall R on lead 1 (about 1.2 mV), deep S on lead 2.
            EXPECT_GT(peakAround(r.signal.channel1, s, +1), 30) << s;
            EXPECT_GT(peakAround(r.signal.channel2, s, -1), 20) << s;
            ++normal;
        } else if (b.shape == BeatShape::VentricularA) {
            EXPECT_GT(peakAround(r.signal.channel1, s, +1), 55) << s;
            EXPECT_GT(peakAround(r.signal.channel2, s, -1), 25) << s;
            ++ventricular;
        }
    }
    EXPECT_GT(normal, 5000);
    EXPECT_GT(ventricular, 5);
}

TEST(DemoSignal, LeadOffRailsBothChannels) {
    const DemoRecording& r = twoHourDemo().recording;
    int checked = 0;
    for (const Stretch& s : r.plan.stretches) {
        if (s.kind != StretchKind::LeadOff) continue;
        for (int32_t t = s.startTicks + 10; t < s.endTicks; ++t) {
            ASSERT_EQ(r.signal.channel1[t], 255) << t;
            ASSERT_LE(r.signal.channel2[t], 2) << t;
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);
}

TEST(DemoSignal, StTrendShowsTheDepressionAndTheElevation) {
    const DemoRecording& r = twoHourDemo().recording;
    std::vector<const Stretch*> shifts;
    for (const Stretch& s : r.plan.stretches)
        if (s.kind == StretchKind::StShift) shifts.push_back(&s);
    ASSERT_EQ(shifts.size(), 2u);
    const auto st = [&](const std::vector<uint8_t>& table, const Stretch& s) {
        const size_t middle = static_cast<size_t>((s.startTicks + s.endTicks) / 2 / 500);
        return static_cast<int>(static_cast<int8_t>(table[middle]));
    };
    // -0.22 mV is -35 units of 0.4/64 mV on lead 1; +0.20 mV is +32 on lead 2.
    EXPECT_LT(st(r.trends.st1, *shifts[0]), -22);
    EXPECT_GT(st(r.trends.st2, *shifts[1]), 20);
    int quiet = 0;
    for (size_t b = 0; b < r.trends.st1.size(); ++b) {
        const int v = static_cast<int8_t>(r.trends.st1[b]);
        const int32_t tick = static_cast<int32_t>(b) * 500;
        bool shifted = false;
        for (const Stretch* s : shifts) shifted |= tick + 500 > s->startTicks && tick < s->endTicks;
        if (v == kStNoValue || shifted) continue;
        EXPECT_LT(std::abs(v), 15) << "block " << b;
        ++quiet;
    }
    EXPECT_GT(quiet, 500);
}

TEST(DemoSignal, HeartRateFollowsTheBeatsAndFlagsMarkDisturbedBlocks) {
    const DemoRecording& r = twoHourDemo().recording;
    int rated = 0;
    for (size_t b = 0; b < r.trends.heartRate.size(); ++b) {
        const uint8_t rate = r.trends.heartRate[b];
        if (rate == 0) {
            EXPECT_EQ(r.trends.st1[b], kStNoValue);
            continue;
        }
        EXPECT_GE(rate, 40);
        EXPECT_LE(rate, 200);
        ++rated;
    }
    EXPECT_GT(rated, static_cast<int>(r.trends.heartRate.size()) * 9 / 10);
    int flagged = 0;
    for (size_t b = 0; b < r.trends.flags.size(); ++b) {
        if (r.trends.flags[b] == 0) continue;
        EXPECT_EQ(r.trends.flags[b], kAnalysisFlag);
        EXPECT_NE(r.plan.disturbanceAt(static_cast<int32_t>(b) * 500 + 499) != nullptr ||
                      r.plan.disturbanceAt(static_cast<int32_t>(b) * 500) != nullptr,
                  false);
        ++flagged;
    }
    EXPECT_GT(flagged, 3);
    const uint8_t low = r.trends.heartRate[r.trends.minimumBlock];
    const uint8_t high = r.trends.heartRate[r.trends.maximumBlock];
    EXPECT_GT(low, 40);
    EXPECT_LT(low, high);
    EXPECT_GT(high, 95);  // an activity burst
}

}  // namespace
}  // namespace lumen
