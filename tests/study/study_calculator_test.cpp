#include "study/study_calculator.h"

#include <gtest/gtest.h>

#include <vector>

#include "store/trend_table.h"

namespace lumen {
namespace {

constexpr int32_t kBlockTicks = 500;

// A recording of `blocks` blocks with a beat every `rrMs` of class N.
StudyInput steadyRecording(int32_t blocks, int32_t rrMs) {
    StudyInput input;
    input.trendFlags.assign(static_cast<size_t>(blocks), 0);
    input.stChannel1.assign(static_cast<size_t>(blocks), TrendTable::kNoSt);
    input.stChannel2 = input.stChannel1;
    input.lengthTicks = blocks * kBlockTicks;
    for (int64_t q = rrMs / 5; q < int64_t{blocks} * 2000; q += rrMs / 5)
        input.words.push_back(BeatWord::make(static_cast<uint32_t>(q), BeatClass::Normal, 0));
    return input;
}

void setClass(StudyInput& input, size_t beat, BeatClass c) {
    input.words[beat] = BeatWord::make(input.words[beat].positionQuarterTicks(), c, 0);
}

TEST(StudyHeartRate, ExtremesSkipExcludedBlocksAndTheMeanWeighsBeats) {
    StudyInput input = steadyRecording(6, 1000);
    // Block 2 runs faster: its beats every 500 ms.
    std::vector<BeatWord> fast;
    for (int64_t q = 4000; q < 6000; q += 100)
        fast.push_back(BeatWord::make(static_cast<uint32_t>(q), BeatClass::Normal, 0));
    std::erase_if(input.words,
                  [](BeatWord w) { return w.positionQuarterTicks() >= 4000 && w.positionQuarterTicks() < 6000; });
    input.words.insert(input.words.begin() + 19, fast.begin(), fast.end());
    StudyFigures f = StudyCalculator::compute(input);
    // Block 2: one 1000 ms interval into it, then 19 of 500 ms; block 3
    // starts with a 500 ms one and has 9 of 1000 ms.
    EXPECT_EQ(f.heartRate.maximum, 114);  // 60 000 × 20 / 10 500
    EXPECT_EQ(f.heartRate.maximumTick, 2 * kBlockTicks);
    EXPECT_EQ(f.heartRate.minimum, 60);
    EXPECT_EQ(f.heartRate.minimumTick, 0);
    input.trendFlags[2] = TrendTable::kHeartRateMaximumExcluded;
    f = StudyCalculator::compute(input);
    EXPECT_EQ(f.heartRate.maximum, 63);  // the reviewer took the fast block out: 60 000 × 10 / 9 500
    EXPECT_GT(f.heartRate.mean, 60);     // ... but its beats still count in the mean
}

TEST(StudyHeartRate, ArtefactsBreakIntervalsAndABlockNeedsThree) {
    StudyInput input = steadyRecording(2, 2000);  // 5 beats a block: 4 or 5 intervals
    setClass(input, 1, BeatClass::Artefact);
    setClass(input, 3, BeatClass::Artefact);
    const StudyFigures f = StudyCalculator::compute(input);
    // Block 0 keeps no interval of 2 s next to an artefact: beats 1, 3 are artefacts.
    EXPECT_EQ(f.heartRate.minimumTick, kBlockTicks);
    EXPECT_EQ(f.beats, static_cast<int64_t>(input.words.size()));
    EXPECT_EQ(f.beatsByClass[3], 2);
}

TEST(StudyEctopy, TrainsAreCountedByLengthAndNoBeatWordsInterrupt) {
    StudyInput input = steadyRecording(12, 800);
    for (size_t b : {10u, 20u, 21u, 30u, 31u, 32u, 40u, 41u, 43u, 44u}) setClass(input, b, BeatClass::Ventricular);
    input.words[42] = input.words[42].withLabel(kLeadOffLabel);
    const StudyFigures f = StudyCalculator::compute(input);
    EXPECT_EQ(f.ventricular.total, 10);
    EXPECT_EQ(f.ventricular.isolated, 1);
    EXPECT_EQ(f.ventricular.couplets, 3);  // 20-21, 40-41 and 43-44 around the mark
    EXPECT_EQ(f.ventricular.runs, 1);
    EXPECT_EQ(f.ventricular.longestRunBeats, 3);
    EXPECT_EQ(f.ventricular.fastestRunRate, 75);
    EXPECT_EQ(f.beats, static_cast<int64_t>(input.words.size()) - 1);
}

TEST(StudyTimes, HoursFollowTheClockAndAnalysedTimeLeavesOutFlaggedBlocks) {
    StudyInput input = steadyRecording(720, 1000);  // two hours
    input.startTickOfDay = 8 * 180000 + 30 * 3000;  // 08:30
    input.trendFlags[5] = TrendTable::kAnalysisFlag;
    input.fibrillationTicks = {{170000, 200000}};  // 10 minutes, 2 of them in the first hour... after 08:30
    const StudyFigures f = StudyCalculator::compute(input);
    ASSERT_EQ(f.hours.size(), 3u);  // 08:30-09:00, 09:00-10:00, 10:00-10:30
    EXPECT_EQ(f.hours[0].clockHour, 8);
    EXPECT_EQ(f.hours[2].clockHour, 10);
    EXPECT_EQ(f.hours[0].beats + f.hours[1].beats + f.hours[2].beats, f.beats);
    EXPECT_EQ(f.durationSeconds, 7200);
    EXPECT_EQ(f.analysedSeconds, 7190);
    EXPECT_NEAR(f.hours[1].fibrillationMinutes, 10.0, 1e-9);
    EXPECT_NEAR(f.fibrillation.burdenPercent, 100.0 * 30000 / 360000, 1e-9);
    EXPECT_EQ(f.fibrillation.meanRate, 60);
}

}  // namespace
}  // namespace lumen
