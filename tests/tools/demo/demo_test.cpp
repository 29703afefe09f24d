// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "assembly/episode_rules.h"
#include "assembly/home_files.h"
#include "demo_fixture.h"
#include "store/beat_forms.h"
#include "store/event_feed.h"
#include "store/recording.h"
#include "store/trend_table.h"
#include "support/recording_sink.h"
#include "support/trend_agreement.h"

namespace lumen {
namespace {

using testing::twoHourDemo;

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> tokens(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string t; in >> t;) out.push_back(t);
    return out;
}

TEST(DemoHome, TheStoreReadsBackEveryFileSignalClockAndPatient) {
    const auto& f = twoHourDemo();
    ASSERT_EQ(f.result.status, DemoStatus::Ok) << f.result.summary;
    EXPECT_NE(f.result.summary.find("720 blocks"), std::string::npos) << f.result.summary;
    const auto path = tokens(readAll(f.home + "path.tmp"));
    ASSERT_EQ(path.size(), 1u);
    EXPECT_TRUE(std::filesystem::equivalent(path[0], f.home + "recording"));
    Recording recording(f.home);
    ASSERT_EQ(recording.blockCount(), testing::kFixtureHours * 360);
    EXPECT_EQ(recording.startClock(), (Clock{8, 3, 0}));
    EXPECT_EQ(recording.amplitudeCode(), -51);
    EXPECT_EQ(recording.readPatientLine().rfind("DEMO, Patient", 0), 0u);
    std::vector<uint8_t> one(500), two(500);
    recording.selectBlockIndex();
    const auto& signal = f.recording.signal;
    for (int32_t b = 0; b < recording.blockCount(); ++b) {
        recording.fetchBlock(one, two, b, b);
        ASSERT_TRUE(std::equal(one.begin(), one.end(), signal.channel1.begin() + b * 500)) << "block " << b;
        ASSERT_TRUE(std::equal(two.begin(), two.end(), signal.channel2.begin() + b * 500)) << "block " << b;
    }
}

TEST(DemoHome, EveryCategoryHoldsEventsAndTheTrendsAgreeWithTheViewersRebuild) {
    const auto& f = twoHourDemo();
    Recording recording(f.home);
    recording.beats().load(recording);
    EXPECT_EQ(recording.beats().size(), f.recording.plan.beats.size());
    TrendTable trends;
    trends.load(recording);
    testing::RecordingSink sink;
    feedEvents(recording, trends, sink);
    std::map<int, int> byCode;
    for (const auto& e : sink.events) {
        ++byCode[e.code & 0x7F];
        EXPECT_GE(e.positionTicks, 0);
        EXPECT_LT(e.positionTicks, f.recording.plan.sampleCount);
    }
    for (int code : {32, 33, 34, 35, 37, 48, 49, 50, 53, 52, 36, 51, 60, 61, 84, 121})
        EXPECT_GT(byCode[code], 0) << "code " << code;
    EXPECT_EQ(byCode[59], 0);  // artefacts come only from the user's removals
    testing::expectTrendsAgreeWithTheirBeats(f.home);
}

// The rules an import derives episodes by must find exactly the planned ones.
TEST(DemoHome, TheSharedEpisodeRulesFindThePlannedEpisodes) {
    const RhythmPlan& p = twoHourDemo().recording.plan;
    const std::vector<PlannedEpisode> derived = EpisodeRules::derive(p.beats);
    ASSERT_EQ(derived.size(), p.episodes.size());
    for (size_t i = 0; i < derived.size(); ++i) {
        const PlannedEpisode& e = p.episodes[i];
        SCOPED_TRACE(::testing::Message() << "code " << int{e.code} << " at " << e.startTenths);
        EXPECT_EQ(derived[i].code, e.code);
        EXPECT_EQ(derived[i].firstBeat, e.firstBeat);
        EXPECT_EQ(derived[i].lastBeat, e.lastBeat);
        EXPECT_EQ(derived[i].startTenths, e.startTenths);
        EXPECT_EQ(derived[i].endTenths, e.endTenths);
    }
}

TEST(DemoHome, FormMatchingFindsTheFormOfEachCleanBeat) {
    const auto& f = twoHourDemo();
    const RhythmPlan& plan = f.recording.plan;
    const auto& signal = f.recording.signal;
    std::map<int, int> tried, found;
    for (const PlannedBeat& b : plan.beats) {
        const int32_t start = b.positionQuarterTicks / 4 - kFormSamplesBeforeBeat;
        if (b.formCode >= kFormCount || b.beatClass == kClassArtefact) continue;
        if (start < 0 || start + 31 > plan.sampleCount || tried[b.formCode] >= 40) continue;
        BeatExcerpt excerpt;
        std::copy_n(signal.channel1.begin() + start, 31, excerpt.channel1.begin());
        std::copy_n(signal.channel2.begin() + start, 31, excerpt.channel2.begin());
        ++tried[b.formCode];
        found[b.formCode] += matchForm(f.home + "recording", excerpt) == b.formCode ? 1 : 0;
    }
    for (int form = 0; form < kFormCount; ++form) {
        EXPECT_GT(tried[form], 0) << "form " << form;
        EXPECT_GE(found[form] * 10, tried[form] * 9) << "form " << form;
    }
}

TEST(DemoHome, SameOptionsGiveIdenticalFilesAndAnotherSeedOthers) {
    testing::TempHome folder;
    const auto write = [&](const std::string& name, uint32_t seed) {
        DemoOptions o;
        o.directory = folder.path(name);
        o.hours = 1;
        o.seed = seed;
        o.language = 4;
        EXPECT_EQ(writeDemoHome(o).status, DemoStatus::Ok);
        return o.directory + "/";
    };
    const std::string a = write("a", 5), b = write("b", 5), c = write("c", 6);
    for (const char* name :
         {"huffman.ko2", "color.ini", "TBcolor.ini", "doef.mem", "recording/holter.mem", "recording/forms.mem"})
        EXPECT_EQ(readAll(a + name), readAll(b + name)) << name;
    EXPECT_NE(readAll(a + "recording/holter.mem"), readAll(c + "recording/holter.mem"));
    EXPECT_NE(readAll(a + "color.ini").find("TAROLT_LANGUAGE = 4"), std::string::npos);
}

TEST(DemoHome, RejectsOptionsOutsideTheirRangeAndPathsWithBlanks) {
    testing::TempHome folder;
    const struct {
        int hours, language;
        std::string directory;
        DemoStatus status;
    } cases[] = {{0, 2, "home", DemoStatus::InvalidHours},
                 {25, 2, "home", DemoStatus::InvalidHours},
                 {1, 0, "home", DemoStatus::InvalidLanguage},
                 {1, 6, "home", DemoStatus::InvalidLanguage},
                 {1, 14, "home", DemoStatus::InvalidLanguage},
                 {1, 2, "my home", DemoStatus::UnusablePath},
                 {1, 2, std::string(300, 'x'), DemoStatus::UnusablePath}};
    for (const auto& c : cases) {
        DemoOptions o;
        o.directory = folder.path(c.directory);
        o.hours = c.hours;
        o.language = c.language;
        const DemoResult result = writeDemoHome(o);
        EXPECT_EQ(result.status, c.status) << c.hours << " " << c.language << " " << c.directory.size();
        EXPECT_FALSE(result.summary.empty());
        if (c.status == DemoStatus::InvalidLanguage) {
            EXPECT_NE(result.summary.find("not \"" + std::to_string(c.language) + "\""), std::string::npos)
                << result.summary;
        }
        std::error_code unreadable;  // an overlong name cannot even be looked up
        EXPECT_FALSE(std::filesystem::exists(o.directory, unreadable));
    }
}

}  // namespace
}  // namespace lumen
