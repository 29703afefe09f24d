#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "demo/home_files.h"
#include "demo_fixture.h"
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

TEST(DemoHome, WritesEveryFileOfAProgramHome) {
    const auto& f = twoHourDemo();
    ASSERT_EQ(f.result.status, DemoStatus::Ok) << f.result.summary;
    EXPECT_NE(f.result.summary.find("720 blocks"), std::string::npos) << f.result.summary;
    EXPECT_EQ(f.result.summary.find('\n'), std::string::npos);
    for (const char* name : {"huffman.ko2", "color.ini", "TBcolor.ini", "doef.mem", "path.tmp", "recording/holter.mem",
                             "recording/forms.mem"})
        EXPECT_TRUE(std::filesystem::is_regular_file(f.home + name)) << name;
    const auto path = tokens(readAll(f.home + "path.tmp"));
    ASSERT_EQ(path.size(), 1u);
    EXPECT_TRUE(std::filesystem::path(path[0]).is_absolute());
    EXPECT_TRUE(std::filesystem::equivalent(path[0], f.home + "recording"));
}

TEST(DemoHome, TheStoreReadsBackSignalClockAndPatient) {
    const auto& f = twoHourDemo();
    Recording recording(f.home);
    ASSERT_EQ(recording.blockCount(), testing::kFixtureHours * 360);
    EXPECT_EQ(recording.startClock(), (Clock{8, 3, 0}));
    EXPECT_EQ(recordingStartTick(recording), (8 * 60 + 3) * 3000 + 27 * 50);
    EXPECT_EQ(recording.amplitudeCode(), -51);
    EXPECT_EQ(recording.readPatientLine().rfind("DEMO, Patient", 0), 0u);
    EXPECT_TRUE(recording.directory().valid());
    std::vector<uint8_t> one(500), two(500);
    recording.selectBlockIndex();
    const auto& signal = f.recording.signal;
    for (int32_t b = 0; b < recording.blockCount(); ++b) {
        recording.fetchBlock(one, two, b, b);
        ASSERT_TRUE(std::equal(one.begin(), one.end(), signal.channel1.begin() + b * 500)) << "block " << b;
        ASSERT_TRUE(std::equal(two.begin(), two.end(), signal.channel2.begin() + b * 500)) << "block " << b;
    }
    EXPECT_EQ(recording.fetchBlock(one, two, 0, 0), (Clock{8, 3, 0}));
    EXPECT_LT(std::filesystem::file_size(f.home + "recording/holter.mem"), 16u << 20);
}

TEST(DemoHome, EveryCategoryHoldsEventsAfterTheStartUpFeed) {
    const auto& f = twoHourDemo();
    Recording recording(f.home);
    recording.beats().load(recording);
    EXPECT_EQ(recording.beats().size(), f.recording.plan.beats.size());
    TrendTable trends;
    trends.load(recording);
    testing::RecordingSink sink;
    feedEvents(recording, trends, sink);
    std::map<int, int> byCode;
    int flagged = 0;
    for (const auto& e : sink.events) {
        ++byCode[e.code & 0x7F];
        flagged += (e.code & 0x80) != 0 ? 1 : 0;
        EXPECT_GE(e.positionTicks, 0);
        EXPECT_LT(e.positionTicks, f.recording.plan.sampleCount);
    }
    for (int code : {32, 33, 34, 35, 37, 48, 49, 50, 53, 52, 36, 51, 60, 61, 84, 121})
        EXPECT_GT(byCode[code], 0) << "code " << code;
    EXPECT_EQ(byCode[59], 0);  // artefacts come only from the user's removals
    EXPECT_GE(flagged, 3);
    EXPECT_EQ(byCode[36], 1);
    EXPECT_EQ(byCode[51], 1);
}

TEST(DemoHome, HeartRateTableAgreesWithTheViewersRebuild) {
    const auto& f = twoHourDemo();
    Recording recording(f.home);
    recording.beats().load(recording);
    TrendTable trends;
    trends.load(recording);
    const std::vector<uint8_t> written = trends.heartRate();
    trends.rebuildHeartRate(recording.beats());
    int differing = 0;
    for (size_t b = 0; b + 8 < written.size(); ++b) differing += written[b] != trends.heartRate()[b] ? 1 : 0;
    EXPECT_EQ(differing, 0);
}

TEST(DemoHome, FormMatchingFindsTheFormOfEachCleanBeat) {
    const auto& f = twoHourDemo();
    const auto forms = readAll(f.home + "recording/forms.mem");
    ASSERT_GT(forms.size(), 1442u + 60u * kFormCount - 1);
    EXPECT_EQ(static_cast<uint8_t>(forms[1242]), kFormCount * 4);
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

TEST(DemoHome, CodeTableCoversEveryDifferenceWithinTwelveBits) {
    const auto& f = twoHourDemo();
    CodeTable table;
    ASSERT_EQ(readCodeTable(f.home + "huffman.ko2", table), CodeTableStatus::Ok);
    std::vector<bool> seen(kCodeTableEntries, false);
    for (int i = 0; i < kCodeTableEntries; ++i) {
        ASSERT_GE(table[i].lengthBits, 1);
        ASSERT_LE(table[i].lengthBits, kMaxCodeBits);
        if (i > 0) {
            ASSERT_GE(table[i].lengthBits, table[i - 1].lengthBits);
        }
        seen[table[i].value] = true;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), kCodeTableEntries);
}

TEST(DemoHome, ConfigurationFilesReadAsTheViewerReadsThem) {
    const auto& f = twoHourDemo();
    const std::string color = readAll(f.home + "color.ini");
    const auto colorTokens = tokens(color);
    ASSERT_GE(colorTokens.size(), 24u);
    EXPECT_EQ(colorTokens[0], "window=255,250,242");
    EXPECT_EQ(colorTokens[9], "trace=20,24,40");
    const size_t key = color.find("TAROLT_LANGUAGE");
    ASSERT_NE(key, std::string::npos);
    EXPECT_NE(color[key - 1], 'T');
    EXPECT_EQ(color.substr(key + 15, 4), " = 2");
    EXPECT_EQ(std::count_if(colorTokens.begin(), colorTokens.begin() + 23,
                            [](const std::string& t) { return t.find("TAROLT") != std::string::npos; }),
              0);
    EXPECT_EQ(tokens(readAll(f.home + "TBcolor.ini")).at(0), "grid=240,188,188");
    const auto doef = tokens(readAll(f.home + "doef.mem"));
    ASSERT_EQ(doef.size(), 5u);
    EXPECT_EQ(doef[2], "108");  // opens at the ventricular tachycardia
    EXPECT_EQ(doef[1], "0");
    EXPECT_EQ(doef[3], "2");
    bool isEpisode = false;
    for (const PlannedEpisode& e : f.recording.plan.episodes)
        isEpisode |= e.code == 37 && std::to_string(e.startTenths * 5) == doef[0];
    EXPECT_TRUE(isEpisode);
    EXPECT_NE(HomeFiles::colorIni(13).find("TAROLT_LANGUAGE = 13\r\n"), std::string::npos);
}

TEST(DemoHome, SameOptionsGiveIdenticalFilesAndAnotherSeedOthers) {
    testing::TempFolder folder;
    const auto write = [&](const std::string& name, uint32_t seed) {
        DemoOptions o;
        o.directory = folder.path() + "/" + name;
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
    testing::TempFolder folder;
    DemoOptions o;
    o.directory = folder.path() + "/home";
    o.hours = 0;
    EXPECT_EQ(writeDemoHome(o).status, DemoStatus::InvalidHours);
    o.hours = 25;
    EXPECT_EQ(writeDemoHome(o).status, DemoStatus::InvalidHours);
    o.hours = 1;
    for (int language : {0, 6, 14}) {
        o.language = language;
        EXPECT_EQ(writeDemoHome(o).status, DemoStatus::InvalidLanguage) << language;
    }
    o.language = 2;
    o.directory = folder.path() + "/my home";
    const DemoResult blank = writeDemoHome(o);
    EXPECT_EQ(blank.status, DemoStatus::UnusablePath);
    EXPECT_FALSE(blank.summary.empty());
    o.directory = folder.path() + "/" + std::string(300, 'x');
    EXPECT_EQ(writeDemoHome(o).status, DemoStatus::UnusablePath);
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/my home"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/home"));
}

}  // namespace
}  // namespace lumen
