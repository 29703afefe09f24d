// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/trend_table.h"

#include <gtest/gtest.h>

#include "store/recording.h"
#include "support/annotated_home.h"
#include "support/recording_sink.h"

namespace lumen {
namespace {

using testing::AnnotatedHome;
using testing::RecordingSink;

struct TrendFixture {
    AnnotatedHome h;
    std::unique_ptr<Recording> recording;
    TrendTable trends;
    RecordingSink sink;

    TrendFixture(std::vector<uint8_t> flags, std::vector<uint8_t> rate, std::vector<int8_t> st1,
                 std::vector<int8_t> st2) {
        h.setTrends(flags, rate, st1, st2);
        h.save();
        reopen();
    }
    void reopen() {
        recording.reset();  // one session at a time
        recording = std::make_unique<Recording>(h.home.programDirectory(), RecordingAccess::Session);
        recording->beats().load(*recording);
        trends.load(*recording);
    }
};

TEST(TrendTable, HeartRateMinimumTakesOnly11To127AndMaximumAnyNonZero) {
    TrendFixture f({0, 0, 0, 0, 0}, {10, 200, 60, 60, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0});
    f.trends.excludeExtreme(36, f.sink, -1);
    f.trends.excludeExtreme(51, f.sink, -1);
    ASSERT_EQ(f.sink.events.size(), 2u);
    EXPECT_EQ(f.sink.events[0], (RecordingSink::Event{36, 1000, 0, -1, false}));  // ties keep block 2
    EXPECT_EQ(f.sink.events[1], (RecordingSink::Event{51, 500, 0, -1, false}));
}

TEST(TrendTable, ExcludingOneExtremeHidesThatMinuteFromEverySearch) {
    std::vector<uint8_t> rate(20, 80);
    rate[10] = 40;
    rate[11] = 150;
    std::vector<int8_t> st1(20, 0), st2(20, 0);
    st1[12] = -50;
    st2[9] = 60;
    TrendFixture f(std::vector<uint8_t>(20, 0), rate, st1, st2);
    f.trends.excludeExtreme(36, f.sink, 10 * 500 + 20);
    EXPECT_EQ(f.trends.flags()[6], 0);
    for (int b = 7; b <= 12; ++b) EXPECT_EQ(f.trends.flags()[static_cast<size_t>(b)], 1) << b;
    EXPECT_EQ(f.trends.flags()[13], 0);
    f.trends.excludeExtreme(51, f.sink, -1);
    f.trends.postStExtremes(f.sink);
    ASSERT_EQ(f.sink.events.size(), 4u);
    EXPECT_EQ(f.sink.events[0].positionTicks, 0);  // the next minimum: first block of 80
    EXPECT_EQ(f.sink.events[1].positionTicks, 0);  // 150 is hidden with the minute
    EXPECT_EQ(f.sink.events[2].positionTicks, 0);  // ST values of the minute are hidden too
    EXPECT_EQ(f.sink.events[3].positionTicks, 0);
}

TEST(TrendTable, ExclusionNearTheEdgesStaysInsideTheTable) {
    TrendFixture f(std::vector<uint8_t>(6, 0), std::vector<uint8_t>(6, 70), std::vector<int8_t>(6, 0),
                   std::vector<int8_t>(6, 0));
    f.trends.excludeExtreme(36, f.sink, 1 * 500);
    EXPECT_EQ(f.trends.flags(), (std::vector<uint8_t>{1, 1, 1, 1, 0, 0}));
    f.trends.excludeExtreme(51, f.sink, 5 * 500);
    EXPECT_EQ(f.trends.flags(), (std::vector<uint8_t>{1, 1, 3, 3, 2, 2}));
}

TEST(TrendTable, StMinimumChannelDecidesTheExclusionBit) {
    TrendFixture f(std::vector<uint8_t>(8, 0), std::vector<uint8_t>(8, 70), {0, -9, 0, 0, 0, 0, 0, 0},
                   {0, 0, 0, 0, 0, 0, 0, -20});
    f.trends.postStExtremes(f.sink);
    EXPECT_EQ(f.trends.channelOfMinimum(), 2);
    EXPECT_EQ(f.sink.events[0], (RecordingSink::Event{60, 3500, 0, -1, false}));
    f.trends.excludeExtreme(60, f.sink, 3500);
    EXPECT_EQ(f.trends.flags()[7], 16);
    EXPECT_EQ(f.trends.flags()[3], 0);
    EXPECT_EQ(f.sink.events.back().positionTicks, 500);
    EXPECT_EQ(f.trends.channelOfMinimum(), 1);
}

TEST(TrendTable, StQueriesPickTheChannelAndSetBothChannelFields) {
    TrendFixture f({0, 0}, {70, 70}, {5, 127}, {-3, 8});
    EXPECT_EQ(f.trends.stMinimumAt(0), -3);
    EXPECT_EQ(f.trends.channelOfMinimum(), 2);
    EXPECT_EQ(f.trends.channelOfMaximum(), 1);
    EXPECT_EQ(f.trends.stMaximumAt(0), 5);
    EXPECT_EQ(f.trends.stMaximumAt(500), 8);
    EXPECT_EQ(f.trends.channelOfMinimum(), 2);
    EXPECT_EQ(f.trends.stMinimumAt(1000), 127);
    EXPECT_EQ(f.trends.heartRateAt(749), 70);
    EXPECT_EQ(f.trends.heartRateAt(750), 0);  // nearest block 2 is outside
}

TEST(TrendRebuild, RegularRhythmGivesItsRateAndAGapBlanksFourBlocksEachSide) {
    const int blocks = 32;
    TrendFixture f(std::vector<uint8_t>(blocks, 0), std::vector<uint8_t>(blocks, 99), std::vector<int8_t>(blocks, 1),
                   std::vector<int8_t>(blocks, 1));
    // One beat a second (200 units of 1/200 s) for 300 s, a lead-off beat at 150 s.
    for (uint32_t s = 1; s <= 300; ++s) {
        f.h.beats.push_back(s == 150 ? BeatWord::make(s * 200, BeatClass::Supraventricular, 31)
                                     : BeatWord::make(s * 200, BeatClass::Normal, 0));
    }
    f.h.save();
    f.reopen();
    f.trends.rebuildHeartRate(f.recording->beats());
    const auto& rate = f.trends.heartRate();
    EXPECT_EQ(rate[2], 60);  // eight intervals of one second
    EXPECT_EQ(rate[8], 60);
    // The lead-off beat closes block 14 with no rate: blocks 10..18 blank.
    for (int b = 10; b <= 18; ++b) EXPECT_EQ(rate[static_cast<size_t>(b)], 0) << b;
    EXPECT_EQ(f.trends.stChannel1()[12], 127);
    EXPECT_EQ(rate[20], 60);
    EXPECT_EQ(rate[29], 60);  // closed by the last beat
    EXPECT_EQ(rate[30], 99);  // never closed
}

}  // namespace
}  // namespace lumen
