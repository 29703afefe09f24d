#include <gtest/gtest.h>

#include <map>
#include <set>

#include "demo/rhythm_planner.h"
#include "recording/episode_rules.h"
#include "demo_fixture.h"

namespace lumen {
namespace {

using testing::twoHourDemo;

const RhythmPlan& plan() { return twoHourDemo().recording.plan; }

int32_t interval(const RhythmPlan& p, int32_t beat) {
    return p.beats[beat].positionQuarterTicks - p.beats[beat - 1].positionQuarterTicks;
}

TEST(DemoPlan, BeatsRunInTimeOrderInsideTheRecording) {
    const RhythmPlan& p = plan();
    EXPECT_EQ(p.sampleCount, testing::kFixtureHours * 180000);
    ASSERT_GT(p.beats.size(), 100u * 60 * testing::kFixtureHours / 2);
    EXPECT_GT(p.beats.front().positionQuarterTicks, 0);
    EXPECT_LT(p.beats.back().positionQuarterTicks, p.sampleCount * 4);
    for (size_t i = 1; i < p.beats.size(); ++i)
        ASSERT_GE(interval(p, static_cast<int32_t>(i)), 40) << "beat " << i;
}

TEST(DemoPlan, EveryArrhythmiaCodeHasEpisodesAndSomeAreFlagged) {
    std::map<uint8_t, int> byCode;
    int flagged = 0;
    for (const PlannedEpisode& e : plan().episodes) {
        ++byCode[e.code];
        flagged += e.flagged ? 1 : 0;
    }
    for (uint8_t code : {32, 33, 34, 35, 37, 48, 49, 50, 52, 53}) EXPECT_GT(byCode[code], 0) << int{code};
    EXPECT_GE(flagged, 3);
    EXPECT_LT(flagged, 10);
    for (size_t i = 1; i < plan().episodes.size(); ++i)
        EXPECT_GE(plan().episodes[i].startTenths, plan().episodes[i - 1].endTenths);
}

// What the beats between an episode's first and last beat must be.
void expectEpisodeBeats(const RhythmPlan& p, const PlannedEpisode& e) {
    std::vector<uint8_t> classes;
    for (int32_t b = e.firstBeat; b <= e.lastBeat; ++b) classes.push_back(p.beats[b].beatClass);
    const auto all = [&](uint8_t c) { return std::all_of(classes.begin(), classes.end(), [c](uint8_t x) { return x == c; }); };
    const size_t n = classes.size();
    switch (e.code) {
    case 32: EXPECT_TRUE(n == 1 && all(kClassVentricular)); break;
    case 33: EXPECT_TRUE(n == 2 && all(kClassVentricular)); break;
    case 34: EXPECT_TRUE(n >= 3 && n <= 5 && all(kClassVentricular)); break;
    case 37: EXPECT_TRUE(n >= 8 && all(kClassVentricular)); break;
    case 48: EXPECT_TRUE(n == 1 && all(kClassSupraventricular)); break;
    case 49: EXPECT_TRUE(n == 2 && all(kClassSupraventricular)); break;
    case 50: EXPECT_TRUE(n >= 3 && n <= 6 && all(kClassSupraventricular)); break;
    case 53: EXPECT_TRUE(n >= 12 && all(kClassSupraventricular)); break;
    case 35:
        ASSERT_GE(n, 11u);
        for (size_t i = 0; i < n; ++i) EXPECT_EQ(classes[i], i % 2 == 0 ? kClassVentricular : kClassNormal);
        break;
    case 52:
        ASSERT_EQ(n, 2u);
        EXPECT_TRUE(all(kClassNormal));
        EXPECT_GT(interval(p, e.lastBeat), 400);  // more than 2 s
        break;
    default: ADD_FAILURE() << "unexpected code " << int{e.code};
    }
    // The record's times cover exactly these beats.
    EXPECT_LE(e.startTenths * 20, p.beats[e.firstBeat].positionQuarterTicks);
    EXPECT_GE(e.endTenths * 20, p.beats[e.lastBeat].positionQuarterTicks);
    if (e.firstBeat > 0) {
        EXPECT_LT(p.beats[e.firstBeat - 1].positionQuarterTicks, e.startTenths * 20);
    }
    if (e.lastBeat + 1 < static_cast<int32_t>(p.beats.size())) {
        EXPECT_GT(p.beats[e.lastBeat + 1].positionQuarterTicks, e.endTenths * 20);
    }
}

TEST(DemoPlan, EpisodesHoldTheBeatsTheirCodeClaims) {
    for (const PlannedEpisode& e : plan().episodes) {
        SCOPED_TRACE(::testing::Message() << "code " << int{e.code} << " at " << e.startTenths);
        expectEpisodeBeats(plan(), e);
    }
}

TEST(DemoPlan, PausesOnlyWhereAPauseEpisodeSaysSo) {
    const RhythmPlan& p = plan();
    std::set<int32_t> pauseEnds;
    for (const PlannedEpisode& e : p.episodes)
        if (e.code == 52) pauseEnds.insert(e.lastBeat);
    for (size_t i = 1; i < p.beats.size(); ++i)
        if (interval(p, static_cast<int32_t>(i)) > 400) {
            EXPECT_TRUE(pauseEnds.count(static_cast<int32_t>(i))) << i;
        }
}

TEST(DemoPlan, PrematureBeatsComeEarlyAndVentricularOnesAreFollowedByACompensatoryPause) {
    const RhythmPlan& p = plan();
    for (const PlannedEpisode& e : p.episodes) {
        if (e.code != 32 && e.code != 48) continue;
        const int32_t b = e.firstBeat;
        ASSERT_GE(b, 2);
        const int32_t sinus = interval(p, b - 1);
        EXPECT_LT(interval(p, b), sinus * 85 / 100);
        if (e.code == 32) {
            EXPECT_NEAR(interval(p, b) + interval(p, b + 1), 2 * sinus, sinus / 5);
        }
    }
}

TEST(DemoPlan, DisturbedBeatsAreLeadOffOrArtefact) {
    const RhythmPlan& p = plan();
    int leadOff = 0;
    int artefact = 0;
    for (const PlannedBeat& b : p.beats) {
        const Stretch* s = p.disturbanceAt(b.positionQuarterTicks / 4);
        if (b.formCode == kFormNone) {
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(s->kind, StretchKind::LeadOff);
            EXPECT_EQ(b.beatClass, kClassSupraventricular);  // label 125
            ++leadOff;
        } else if (b.beatClass == kClassArtefact) {
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(s->kind, StretchKind::Motion);
            ++artefact;
        } else {
            EXPECT_EQ(s, nullptr);
        }
    }
    EXPECT_GT(leadOff, 10);
    EXPECT_GT(artefact, 5);
}

// The demo plans its arrhythmias; the rules that an import derives episodes
// by must find exactly those in its beats.
TEST(DemoPlan, TheSharedEpisodeRulesFindThePlannedEpisodes) {
    const RhythmPlan& p = plan();
    const std::vector<PlannedEpisode> derived = EpisodeRules::derive(p.beats);
    ASSERT_EQ(derived.size(), p.episodes.size());
    for (size_t i = 0; i < derived.size(); ++i) {
        EXPECT_EQ(derived[i].code, p.episodes[i].code) << i;
        EXPECT_EQ(derived[i].firstBeat, p.episodes[i].firstBeat) << i;
        EXPECT_EQ(derived[i].lastBeat, p.episodes[i].lastBeat) << i;
        EXPECT_EQ(derived[i].startTenths, p.episodes[i].startTenths) << i;
        EXPECT_EQ(derived[i].endTenths, p.episodes[i].endTenths) << i;
    }
}

TEST(DemoPlan, SameSeedSamePlanOtherSeedOtherPlan) {
    const RhythmPlan a = RhythmPlanner(1, 3).plan();
    const RhythmPlan b = RhythmPlanner(1, 3).plan();
    const RhythmPlan c = RhythmPlanner(1, 4).plan();
    ASSERT_EQ(a.beats.size(), b.beats.size());
    for (size_t i = 0; i < a.beats.size(); ++i)
        ASSERT_EQ(a.beats[i].positionQuarterTicks, b.beats[i].positionQuarterTicks);
    EXPECT_EQ(a.markerTenths, b.markerTenths);
    EXPECT_NE(a.beats.size() == c.beats.size() &&
                  a.beats[100].positionQuarterTicks == c.beats[100].positionQuarterTicks,
              true);
}

TEST(DemoPlan, MarkersLieInsideTheRecordingInOrder) {
    const RhythmPlan& p = plan();
    ASSERT_FALSE(p.markerTenths.empty());
    EXPECT_TRUE(std::is_sorted(p.markerTenths.begin(), p.markerTenths.end()));
    EXPECT_GT(p.markerTenths.front(), 0);
    EXPECT_LT(p.markerTenths.back() * 5, p.sampleCount);
}

}  // namespace
}  // namespace lumen
