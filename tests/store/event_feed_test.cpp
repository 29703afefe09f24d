// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/event_feed.h"

#include <gtest/gtest.h>

#include "store/recording.h"
#include "store/trend_table.h"
#include "support/annotated_home.h"
#include "support/recording_sink.h"

namespace lumen {
namespace {

using testing::AnnotatedHome;
using Event = testing::RecordingSink::Event;

std::vector<uint8_t> record(uint8_t hour, uint8_t minute, uint8_t second, uint32_t begin, uint32_t end) {
    return {0, hour, minute, second, static_cast<uint8_t>(begin), static_cast<uint8_t>(begin >> 8), 0,
            static_cast<uint8_t>(end), static_cast<uint8_t>(end >> 8), 0, 0, 0};
}

struct FeedFixture {
    AnnotatedHome h;
    std::unique_ptr<Recording> recording;
    TrendTable trends;
    testing::RecordingSink sink;

    FeedFixture() {
        h.beats = {BeatWord::make(400, BeatClass::Normal, 0), BeatWord::make(2000, BeatClass::Supraventricular, 31),
                   BeatWord::make(4000, BeatClass::Ventricular, 2), BeatWord::make(4400, BeatClass::Ventricular, 2),
                   BeatWord::make(4800, BeatClass::Ventricular, 31), BeatWord::make(6000, BeatClass::Normal, 0)};
        h.markerTenths = {30};
        h.episodes = {AnnotatedHome::episode(33, 200, 230, false, 9, 30, 40),
                      AnnotatedHome::episode(48, 300, 301, true, 9, 30, 50)};
        h.setTrends({0, 0, 0}, {70, 60, 80}, {0, -4, 0}, {3, 0, 0});
        h.writer.setSection(SectionId::HeartRateMin, record(9, 30, 30, 100, 120));
        h.writer.setSection(SectionId::HeartRateMax, record(9, 31, 0, 400, 410));
        h.save();
        recording = std::make_unique<Recording>(h.home.programDirectory(), RecordingAccess::Session);
        recording->beats().load(*recording);
        trends.load(*recording);
    }
};

TEST(EventFeed, FeedsEveryKindOfEventInOrder) {
    FeedFixture f;
    feedEvents(*f.recording, f.trends, f.sink);
    const int32_t start = (9 * 60 + 30) * 3000 + 20 * 50;
    EXPECT_EQ(f.sink.spanStart, start);
    EXPECT_EQ(f.sink.spanEnd, start + 3 * 500);
    const std::vector<Event> expected = {
        {121, 500 - 5, 0, -1, false},
        {121, 1200 - 5, 0, -1, false},
        {84, 150, 0, -1, false},
        {36, 550, 9 * 180000 + 30 * 3000 + 30 * 50, -1, false},
        {51, 2025, 9 * 180000 + 31 * 3000, -1, false},
        {33, 1000, 9 * 180000 + 30 * 3000 + 40 * 50, 0, false},
        {48 + 128, 1500, 9 * 180000 + 30 * 3000 + 50 * 50, 1, false},
        {60, 500, 0, -1, false},
        {61, 0, 0, -1, false},
    };
    EXPECT_EQ(f.sink.events, expected);
    EXPECT_EQ(f.trends.heartRateMinimumBlock(), 1);
    EXPECT_EQ(f.trends.heartRateMaximumBlock(), 4);
}

}  // namespace
}  // namespace lumen
