#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "demo/home_files.h"
#include "demo_fixture.h"
#include "recording/episode_rules.h"
#include "store/beat_forms.h"
#include "store/code_table.h"
#include "store/event_feed.h"
#include "store/recording.h"
#include "store/trend_table.h"
#include "support/recording_sink.h"

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
    const std::vector<uint8_t> written = trends.heartRate();
    trends.rebuildHeartRate(recording.beats());
    for (size_t b = 0; b + 8 < written.size(); ++b) ASSERT_EQ(written[b], trends.heartRate()[b]) << "block " << b;
}

// The rules an import derives episodes by must find exactly the planned ones,
// and each episode must hold the beats its code claims.
TEST(DemoHome, EpisodesHoldTheirBeatsAndTheSharedRulesFindThem) {
    const RhythmPlan& p = twoHourDemo().recording.plan;
    const std::vector<PlannedEpisode> derived = EpisodeRules::derive(p.beats);
    ASSERT_EQ(derived.size(), p.episodes.size());
    const struct {
        uint8_t code, beatClass;
        size_t least, most;
    } kinds[] = {{32, kClassVentricular, 1, 1},      {33, kClassVentricular, 2, 2},
                 {34, kClassVentricular, 3, 5},      {37, kClassVentricular, 8, 9999},
                 {48, kClassSupraventricular, 1, 1}, {49, kClassSupraventricular, 2, 2},
                 {50, kClassSupraventricular, 3, 6}, {53, kClassSupraventricular, 12, 9999},
                 {52, kClassNormal, 2, 2}};
    for (size_t i = 0; i < derived.size(); ++i) {
        const PlannedEpisode& e = p.episodes[i];
        SCOPED_TRACE(::testing::Message() << "code " << int{e.code} << " at " << e.startTenths);
        EXPECT_EQ(derived[i].code, e.code);
        EXPECT_EQ(derived[i].firstBeat, e.firstBeat);
        EXPECT_EQ(derived[i].lastBeat, e.lastBeat);
        EXPECT_EQ(derived[i].startTenths, e.startTenths);
        EXPECT_EQ(derived[i].endTenths, e.endTenths);
        const size_t n = static_cast<size_t>(e.lastBeat - e.firstBeat + 1);
        for (const auto& k : kinds) {
            if (k.code != e.code) continue;
            EXPECT_TRUE(n >= k.least && n <= k.most) << n;
            for (int32_t b = e.firstBeat; b <= e.lastBeat; ++b) EXPECT_EQ(p.beats[b].beatClass, k.beatClass);
        }
        if (e.code == 35) {  // bigeminy alternates from a ventricular beat
            for (int32_t b = e.firstBeat; b <= e.lastBeat; ++b)
                EXPECT_EQ(p.beats[b].beatClass, (b - e.firstBeat) % 2 == 0 ? kClassVentricular : kClassNormal);
        }
        EXPECT_LE(e.startTenths * 20, p.beats[e.firstBeat].positionQuarterTicks);
        EXPECT_GE(e.endTenths * 20, p.beats[e.lastBeat].positionQuarterTicks);
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

TEST(DemoHome, LeadOffRailsBothChannels) {
    const DemoRecording& r = twoHourDemo().recording;
    int checked = 0;
    for (const Stretch& s : r.plan.stretches) {
        if (s.kind != StretchKind::LeadOff) continue;
        for (int32_t t = s.startTicks + 10; t < s.endTicks; ++t, ++checked) {
            ASSERT_EQ(r.signal.channel1[t], 255) << t;
            ASSERT_LE(r.signal.channel2[t], 2) << t;
        }
    }
    EXPECT_GT(checked, 1000);
}

TEST(DemoHome, CodeTableAndSettingsReadAsTheViewerReadsThem) {
    const auto& f = twoHourDemo();
    CodeTable table;
    ASSERT_EQ(readCodeTable(f.home + "huffman.ko2", table), CodeTableStatus::Ok);
    std::vector<bool> seen(kCodeTableEntries, false);
    for (int i = 0; i < kCodeTableEntries; ++i) {
        ASSERT_LE(table[i].lengthBits, kMaxCodeBits);
        seen[table[i].value] = true;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), kCodeTableEntries);
    const std::string color = readAll(f.home + "color.ini");
    EXPECT_EQ(tokens(color).at(0), "window=255,250,242");
    EXPECT_NE(color.find("\nTAROLT_LANGUAGE = 2"), std::string::npos);
    EXPECT_EQ(tokens(readAll(f.home + "TBcolor.ini")).at(0), "grid=240,188,188");
    const auto doef = tokens(readAll(f.home + "doef.mem"));
    ASSERT_EQ(doef.size(), 5u);
    EXPECT_EQ(doef[2], "108");  // opens at the ventricular tachycardia
    bool isEpisode = false;
    for (const PlannedEpisode& e : f.recording.plan.episodes)
        isEpisode |= e.code == 37 && std::to_string(e.startTenths * 5) == doef[0];
    EXPECT_TRUE(isEpisode);
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
    for (const char* name : {"huffman.ko2", "color.ini", "TBcolor.ini", "doef.mem", "recording/holter.mem",
                             "recording/forms.mem"})
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
    } cases[] = {{0, 2, "home", DemoStatus::InvalidHours},        {25, 2, "home", DemoStatus::InvalidHours},
                 {1, 0, "home", DemoStatus::InvalidLanguage},     {1, 6, "home", DemoStatus::InvalidLanguage},
                 {1, 14, "home", DemoStatus::InvalidLanguage},    {1, 2, "my home", DemoStatus::UnusablePath},
                 {1, 2, std::string(300, 'x'), DemoStatus::UnusablePath}};
    for (const auto& c : cases) {
        DemoOptions o;
        o.directory = folder.path(c.directory);
        o.hours = c.hours;
        o.language = c.language;
        const DemoResult result = writeDemoHome(o);
        EXPECT_EQ(result.status, c.status) << c.hours << " " << c.language << " " << c.directory.size();
        EXPECT_FALSE(result.summary.empty());
        std::error_code unreadable;  // an overlong name cannot even be looked up
        EXPECT_FALSE(std::filesystem::exists(o.directory, unreadable));
    }
}

}  // namespace
}  // namespace lumen
