// The recount itself, on a recording small enough to count by hand, and
// the frequency domain on a series whose power is known.
#include "tools/report/study_recount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string_view>
#include <utility>
#include <vector>

#include "support/annotated_home.h"
#include "tools/report/hrv_recount.h"

namespace lumen {
namespace {

constexpr int kBlocks = 12;
constexpr uint32_t kFirstBeatQuarterTicks = 200;
constexpr uint32_t kBeatSpacingQuarterTicks = 160;  // 0.8 s
constexpr uint32_t kPauseExtraQuarterTicks = 340;   // makes a 2.5 s interval
constexpr uint8_t kFibrillationCode = 40;

// One letter a word: N S V A, L a lead-off mark, '_' a pause before the next.
// Words: bigeminy 2-6, couplet 9-10, supraventricular run 12-14, the pause
// 15-16, ventricular beats 17 and 19 apart by a lead-off mark, a
// supraventricular beat 21 within fibrillation, an isolated one at 23.
constexpr std::string_view kRhythm = "NNVNVNVNNVVNSSSN_NVLVNSNSNAN";

BeatWord wordOf(char letter, uint32_t positionQuarterTicks) {
    switch (letter) {
    case 'S': return BeatWord::make(positionQuarterTicks, BeatClass::Supraventricular, 0);
    case 'V': return BeatWord::make(positionQuarterTicks, BeatClass::Ventricular, 2);
    case 'A': return BeatWord::make(positionQuarterTicks, BeatClass::Artefact, 0);
    case 'L': return BeatWord::make(positionQuarterTicks, BeatClass::Supraventricular, kNoFormCode);
    default: return BeatWord::make(positionQuarterTicks, BeatClass::Normal, 0);
    }
}

TEST(StudyRecount, CountsAHandBuiltRecordingAsCountedByHand) {
    testing::AnnotatedHome h(kBlocks);
    uint32_t position = kFirstBeatQuarterTicks;
    for (const char letter : kRhythm) {
        if (letter == '_') {
            position += kPauseExtraQuarterTicks;
            continue;
        }
        h.beats.push_back(wordOf(letter, position));
        position += kBeatSpacingQuarterTicks;
    }
    ASSERT_EQ(h.beats[21].beatClass(), BeatClass::Supraventricular);
    ASSERT_EQ(h.beats[21].positionQuarterTicks(), 3900u);
    h.episodes = {testing::AnnotatedHome::episode(kFibrillationCode, 190, 200),
                  testing::AnnotatedHome::episode(52, 65, 78, true)};
    std::vector<uint8_t> flags(kBlocks, 0);
    flags[11] = 128;
    h.setTrends(flags, std::vector<uint8_t>(kBlocks, 0), std::vector<int8_t>(kBlocks, 127),
                std::vector<int8_t>(kBlocks, 127));
    h.save();

    const StudyRecount r = recount(h.home.programDirectory(), h.home.recordingDirectory());
    const std::pair<const char*, std::pair<int64_t, int64_t>> figures[] = {
        {"duration", {r.durationSeconds, 120}},
        {"analysed", {r.analysedSeconds, 110}},
        {"beats", {r.beats, 26}},
        {"S beats", {r.beatsByClass[1], 5}},
        {"V beats", {r.beatsByClass[2], 7}},
        {"A beats", {r.beatsByClass[3], 1}},
        {"VISO", {r.ventricular.isolated, 2}},
        {"VCPL", {r.ventricular.couplets, 1}},
        {"VBIG", {r.ventricular.bigeminy, 1}},
        {"VRUN", {r.ventricular.runs, 0}},
        {"SVISO", {r.supraventricular.isolated, 1}},
        {"SVRUN", {r.supraventricular.runs, 1}},
        {"SVRUN beats", {r.supraventricular.longestRunBeats, 3}},
        {"SVRUN rate", {r.supraventricular.fastestRunRate, 75}},
        {"pauses", {r.pauses.count, 1}},
        {"longest pause ms", {r.pauses.longestMs, 2500}},
        {"longest pause tick", {r.pauses.longestTick, 650}},
        {"fibrillation episodes", {r.fibrillation.episodes, 1}},
        {"strips", {r.strips, 1}},
        {"hour rows", {static_cast<int64_t>(r.hours.size()), 1}},
    };
    for (const auto& [name, values] : figures) EXPECT_EQ(values.first, values.second) << name;
    EXPECT_EQ(r.startClock, "09:30:20");
    EXPECT_EQ(r.hours[0].hour, "09:00");
    EXPECT_NEAR(r.fibrillation.burdenPercent, 100.0 / 120.0, 1e-9);
    EXPECT_EQ(r.fibrillation.longestSeconds, 1.0);
    EXPECT_FALSE(r.st[0].min.has_value()) << "no block has a level";
}

// NN intervals of 800 ms varying as a sine of amplitude A at 0.1 Hz: all
// their power, A² / 2, lies in the low band.
TEST(StudyRecount, LombPowerOfASineIsHalfItsSquaredAmplitude) {
    constexpr double kAmplitudeMs = 20.0;
    constexpr double kMeanMs = 800.0;
    constexpr double kSineHz = 0.1;
    constexpr double kSegmentSeconds = 300.0;
    std::vector<double> seconds;
    std::vector<double> intervals;
    for (double t = kMeanMs / 1000.0; t < kSegmentSeconds; t += kMeanMs / 1000.0) {
        seconds.push_back(t);
        intervals.push_back(kMeanMs + kAmplitudeMs * std::sin(2.0 * std::numbers::pi * kSineHz * t));
    }
    const BandPowers bands = lombBandPowers(seconds, intervals);
    EXPECT_NEAR(bands.lf, kAmplitudeMs * kAmplitudeMs / 2.0, 0.02 * kAmplitudeMs * kAmplitudeMs / 2.0);
    EXPECT_LT(bands.hf, 0.01 * bands.lf);
}

}  // namespace
}  // namespace lumen
