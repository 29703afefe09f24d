// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/study_calculator.h"

#include <algorithm>
#include <cmath>

#include "assembly/episode_rules.h"
#include "store/time_units.h"
#include "store/trend_table.h"
#include "study/heart_rate_blocks.h"
#include "study/heart_rate_variability.h"
#include "study/study_episodes.h"

namespace lumen {
namespace {

constexpr double kPercent = 100.0;
constexpr int32_t kRunMinimumBeats = 3;

int64_t overlapTicks(int64_t firstA, int64_t endA, int64_t firstB, int64_t endB) {
    return std::max<int64_t>(0, std::min(endA, endB) - std::max(firstA, firstB));
}

// Which hour of the table a position falls in: hours are clock hours.
struct HourGrid {
    int32_t startTickOfDay = 0;
    int32_t hourIndex(int64_t positionTicks) const {
        return static_cast<int32_t>((startTickOfDay + positionTicks) / kTicksPerHour - startTickOfDay / kTicksPerHour);
    }
    int64_t hourStartTicks(int32_t hour) const {
        return int64_t{startTickOfDay / kTicksPerHour + hour} * kTicksPerHour - startTickOfDay;
    }
};

void countBeats(const StudyInput& input, StudyFigures& out, const HourGrid& grid) {
    for (const BeatWord w : input.words) {
        if (!isBeatWord(w)) continue;
        const auto c = static_cast<size_t>(w.beatClass());
        ++out.beatsByClass[c];
        ++out.beats;
        const int32_t hour = grid.hourIndex(ticksOfQuarterTicks(w.positionQuarterTicks()));
        if (hour < 0 || hour >= static_cast<int32_t>(out.hours.size())) continue;
        HourFigures& h = out.hours[static_cast<size_t>(hour)];
        ++h.beats;
        if (w.beatClass() == BeatClass::Ventricular) ++h.ventricular;
        if (w.beatClass() == BeatClass::Supraventricular) ++h.supraventricular;
    }
    out.ventricular.total = out.beatsByClass[static_cast<size_t>(BeatClass::Ventricular)];
    out.supraventricular.total = out.beatsByClass[static_cast<size_t>(BeatClass::Supraventricular)];
}

void addTrain(const StudyEpisodes& study, const PlannedEpisode& e, EctopyFigures& figures) {
    const int32_t beats = study.beatCount(e);
    if (beats < kRunMinimumBeats) return;
    if (beats > figures.longestRunBeats) {
        figures.longestRunBeats = beats;
        figures.longestRunTick = study.firstTick(e);
    }
    const int32_t rate = study.rate(e);
    if (rate > figures.fastestRunRate) {
        figures.fastestRunRate = rate;
        figures.fastestRunTick = study.firstTick(e);
    }
}

void countEpisode(const StudyEpisodes& study, const PlannedEpisode& e, StudyFigures& out, HourFigures* hour) {
    using E = EpisodeRules;
    EctopyFigures& v = out.ventricular;
    EctopyFigures& s = out.supraventricular;
    switch (e.code) {
    case E::kVentricularIsolated: ++v.isolated; break;
    case E::kVentricularCouplet:
        ++v.couplets;
        if (hour) ++hour->couplets;
        break;
    case E::kVentricularRun:
        ++v.runs;
        if (hour) ++hour->ventricularRuns;
        break;
    case E::kVentricularTachycardia:
        ++v.tachycardias;
        if (hour) ++hour->ventricularRuns;
        break;
    case E::kVentricularBigeminy: ++v.bigeminy; break;
    case E::kSupraventricularIsolated: ++s.isolated; break;
    case E::kSupraventricularCouplet: ++s.couplets; break;
    case E::kSupraventricularRun:
        ++s.runs;
        if (hour) ++hour->supraventricularRuns;
        break;
    case E::kSupraventricularTachycardia:
        ++s.tachycardias;
        if (hour) ++hour->supraventricularRuns;
        break;
    default: break;
    }
    if (e.code == E::kVentricularRun || e.code == E::kVentricularTachycardia) addTrain(study, e, v);
    if (e.code == E::kSupraventricularRun || e.code == E::kSupraventricularTachycardia) addTrain(study, e, s);
}

void countPause(const StudyEpisodes& study, const PlannedEpisode& e, PauseFigures& pauses, HourFigures* hour) {
    ++pauses.count;
    if (hour) ++hour->pauses;
    const auto& first = study.beats[static_cast<size_t>(e.firstBeat)];
    const auto& last = study.beats[static_cast<size_t>(e.lastBeat)];
    const int32_t ms = (last.positionQuarterTicks - first.positionQuarterTicks) * kMillisecondsPerQuarterTick;
    if (ms > pauses.longestMs) {
        pauses.longestMs = ms;
        pauses.longestTick = study.firstTick(e);
    }
}

void countEpisodes(const StudyInput& input, StudyFigures& out, const HourGrid& grid) {
    const StudyEpisodes study = StudyEpisodes::derive(input.words, input.fibrillationTicks);
    for (const PlannedEpisode& e : study.episodes) {
        if (e.code == EpisodeRules::kAtrialFibrillation) continue;
        const int32_t hourIndex = grid.hourIndex(study.firstTick(e));
        HourFigures* hour = hourIndex >= 0 && hourIndex < static_cast<int32_t>(out.hours.size())
                                ? &out.hours[static_cast<size_t>(hourIndex)]
                                : nullptr;
        if (e.code == EpisodeRules::kPause)
            countPause(study, e, out.pauses, hour);
        else
            countEpisode(study, e, out, hour);
    }
}

void addFibrillation(const StudyInput& input, StudyFigures& out, const HourGrid& grid) {
    FibrillationFigures& f = out.fibrillation;
    int64_t coveredTicks = 0;
    RateBlock intervals;
    for (const auto& [start, end] : input.fibrillationTicks) {
        const int64_t length = std::max(0, end - start);
        coveredTicks += length;
        f.longestSeconds = std::max(f.longestSeconds, static_cast<double>(length) / kTicksPerSecond);
        const RateBlock inside =
            HeartRateBlocks::intervalsWithin(input.words, quarterTicksOfTicks(start), quarterTicksOfTicks(end));
        intervals.intervals += inside.intervals;
        intervals.sumMs += inside.sumMs;
        for (size_t h = 0; h < out.hours.size(); ++h) {
            const int64_t hourStart = grid.hourStartTicks(static_cast<int32_t>(h));
            out.hours[h].fibrillationMinutes +=
                static_cast<double>(overlapTicks(start, end, hourStart, hourStart + kTicksPerHour)) / kTicksPerMinute;
        }
    }
    f.episodes = static_cast<int64_t>(input.fibrillationTicks.size());
    if (input.lengthTicks > 0)
        f.burdenPercent = std::min(kPercent, kPercent * static_cast<double>(coveredTicks) / input.lengthTicks);
    f.meanRate = intervals.sumMs > 0 ? static_cast<int32_t>(std::lround(intervals.rate())) : 0;
}

void addHeartRate(const StudyInput& input, StudyFigures& out, const HourGrid& grid) {
    const HeartRateBlocks blocks(input.words, input.blockCount());
    out.heartRate = blocks.summarise(input.trendFlags, 0, input.blockCount());
    int32_t first = 0;
    while (first < input.blockCount()) {
        const int32_t hour = grid.hourIndex(int64_t{first} * kSamplesPerBlock);
        int32_t end = first + 1;
        while (end < input.blockCount() && grid.hourIndex(int64_t{end} * kSamplesPerBlock) == hour) ++end;
        if (hour >= 0 && hour < static_cast<int32_t>(out.hours.size())) {
            const HeartRateFigures rate = blocks.summarise(input.trendFlags, first, end);
            HourFigures& h = out.hours[static_cast<size_t>(hour)];
            h.heartRateMinimum = rate.minimum;
            h.heartRateMean = rate.mean;
            h.heartRateMaximum = rate.maximum;
        }
        first = end;
    }
}

StFigures stFigures(const std::vector<int8_t>& levels, const std::vector<uint8_t>& flags) {
    StFigures out;
    for (size_t b = 0; b < levels.size() && b < flags.size(); ++b) {
        if (levels[b] == TrendTable::kNoSt || (flags[b] & TrendTable::kExcludedMask) != 0) continue;
        const double microvolts = levels[b] * StudyCalculator::kMicrovoltsPerStStep;
        const auto tick = static_cast<int32_t>(b) * kSamplesPerBlock;
        if (!out.minimumMicrovolts || microvolts < *out.minimumMicrovolts) {
            out.minimumMicrovolts = microvolts;
            out.minimumTick = tick;
        }
        if (!out.maximumMicrovolts || microvolts > *out.maximumMicrovolts) {
            out.maximumMicrovolts = microvolts;
            out.maximumTick = tick;
        }
    }
    return out;
}

int64_t analysedTicks(const StudyInput& input) {
    int64_t excluded = 0;
    for (int32_t b = 0; b < input.blockCount(); ++b) {
        if ((input.trendFlags[static_cast<size_t>(b)] & TrendTable::kAnalysisFlag) == 0) continue;
        const int64_t start = int64_t{b} * kSamplesPerBlock;
        excluded += overlapTicks(start, start + kSamplesPerBlock, 0, input.lengthTicks);
    }
    return input.lengthTicks - excluded;
}

}  // namespace

StudyFigures StudyCalculator::compute(const StudyInput& input) {
    StudyFigures out;
    out.startDate = input.startDate;
    out.startTickOfDay = input.startTickOfDay;
    out.durationSeconds = input.lengthTicks / kTicksPerSecond;
    out.analysedSeconds = analysedTicks(input) / kTicksPerSecond;
    const HourGrid grid{input.startTickOfDay};
    const int32_t hours = input.lengthTicks > 0 ? grid.hourIndex(input.lengthTicks - 1) + 1 : 0;
    for (int32_t h = 0; h < hours; ++h)
        out.hours.push_back({.clockHour = (input.startTickOfDay / kTicksPerHour + h) % 24});
    countBeats(input, out, grid);
    addHeartRate(input, out, grid);
    countEpisodes(input, out, grid);
    addFibrillation(input, out, grid);
    out.st = {stFigures(input.stChannel1, input.trendFlags), stFigures(input.stChannel2, input.trendFlags)};
    out.variability = HeartRateVariability::compute(input.words);
    out.flaggedEvents = input.flaggedEvents;
    out.strips = std::min(input.flaggedEvents, kMostStudyStrips);
    return out;
}

}  // namespace lumen
