// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/trend_agreement.h"

#include <gtest/gtest.h>

#include "store/event_feed.h"
#include "store/recording.h"
#include "store/trend_table.h"
#include "support/recording_sink.h"

namespace lumen::testing {
namespace {

constexpr int kExclusions = 12;

int32_t lastPosition(const RecordingSink& sink, uint8_t code) {
    for (auto e = sink.events.rbegin(); e != sink.events.rend(); ++e)
        if (e->code == code) return e->positionTicks;
    return -1;
}

// The value of the last event of `code` that the sink received, read from
// the table; -1 for an event outside it.
int lastRate(const RecordingSink& sink, const TrendTable& trends, uint8_t code) {
    const int32_t position = lastPosition(sink, code);
    if (position < 0) return -1;
    const int32_t block = position / kSamplesPerBlock;
    return block < trends.blockCount() ? trends.heartRate()[static_cast<size_t>(block)] : -1;
}

}  // namespace

void expectTrendsAgreeWithTheirBeats(const std::string& home) {
    SCOPED_TRACE(home);
    Recording recording(home);
    recording.beats().load(recording);
    TrendTable trends;
    trends.load(recording);
    RecordingSink sink;
    feedEvents(recording, trends, sink);

    const std::vector<uint8_t> stored = trends.heartRate();
    TrendTable searched = trends;
    searched.searchHeartRateExtremes();
    if (searched.heartRateMinimumBlock() >= 0) {
        EXPECT_EQ(lastRate(sink, trends, kHeartRateMinimumCode),
                  stored[static_cast<size_t>(searched.heartRateMinimumBlock())]);
        EXPECT_EQ(lastRate(sink, trends, kHeartRateMaximumCode),
                  stored[static_cast<size_t>(searched.heartRateMaximumBlock())]);
    }
    trends.rebuildHeartRate(recording.beats());
    ASSERT_EQ(trends.heartRate(), stored) << "the stored table differs from the rebuild of the same beats";

    for (const uint8_t code : {kHeartRateMinimumCode, kHeartRateMaximumCode}) {
        int previous = lastRate(sink, trends, code);
        for (int k = 0; k < kExclusions && previous >= 0; ++k) {
            trends.excludeExtreme(code, sink, lastPosition(sink, code));
            const int next = lastRate(sink, trends, code);
            if (next < 0) break;
            if (code == kHeartRateMinimumCode)
                EXPECT_GE(next, previous) << "excluding the minimum " << previous << " revealed " << next;
            else
                EXPECT_LE(next, previous) << "excluding the maximum " << previous << " revealed " << next;
            previous = next;
        }
    }
}

}  // namespace lumen::testing
