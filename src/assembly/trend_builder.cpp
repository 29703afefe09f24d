// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/trend_builder.h"

#include <algorithm>
#include <cmath>

#include "store/time_units.h"

namespace lumen {
namespace {

constexpr int kStBaselineOffset = -4;  // samples from the R peak: PR segment
constexpr int kStPointOffset = 5;      // 100 ms: the ST segment
constexpr double kStUnitsPerSampleUnit = 64.0 / (0.4 * kFinestUnitsPerMillivolt);

}  // namespace

TrendTables TrendBuilder::build(const RhythmPlan& plan, const StoredSignal& signal, double unitsPerMv) {
    TrendTables t;
    const auto n = static_cast<size_t>(plan.blockCount());
    t.heartRate.assign(n, 0);
    t.st1.assign(n, kStNoValue);
    t.st2.assign(n, kStNoValue);
    t.flags.assign(n, 0);
    for (const Stretch& s : plan.stretches) {
        if (s.kind != StretchKind::Motion && s.kind != StretchKind::LeadOff) continue;
        for (int32_t b = s.startTicks / kSamplesPerBlock; b <= (s.endTicks - 1) / kSamplesPerBlock; ++b)
            if (b >= 0 && static_cast<size_t>(b) < n) t.flags[static_cast<size_t>(b)] = TrendTable::kAnalysisFlag;
    }
    buildHeartRate(plan, t);
    buildSt(plan, signal, t, unitsPerMv);
    findExtremes(t);
    return t;
}

// The viewer's own rebuild, so that a refresh of the extremes finds the same
// table: one implementation of the running mean of eight intervals.
void TrendBuilder::buildHeartRate(const RhythmPlan& plan, TrendTables& t) {
    std::vector<BeatWord> words;
    words.reserve(plan.beats.size());
    for (const PlannedBeat& b : plan.beats)
        words.push_back(BeatWord::make(static_cast<uint32_t>(b.positionQuarterTicks),
                                       static_cast<BeatClass>(b.beatClass), b.formCode));
    const size_t n = t.heartRate.size();
    TrendTable table(t.flags, std::vector<uint8_t>(n, TrendTable::kNoHeartRate),
                     std::vector<int8_t>(n, TrendTable::kNoSt), std::vector<int8_t>(n, TrendTable::kNoSt));
    table.rebuildHeartRate(words);
    t.heartRate = table.heartRate();
}

double TrendBuilder::beatStUnits(const std::vector<uint8_t>& channel, int32_t sample) {
    const int diff = channel[static_cast<size_t>(sample + kStPointOffset)] -
                     channel[static_cast<size_t>(sample + kStBaselineOffset)];
    return diff * kStUnitsPerSampleUnit;
}

void TrendBuilder::buildSt(const RhythmPlan& plan, const StoredSignal& signal, TrendTables& t, double unitsPerMv) {
    const size_t n = t.heartRate.size();
    const double scale = kFinestUnitsPerMillivolt / unitsPerMv;
    std::vector<double> sum1(n, 0.0), sum2(n, 0.0);
    std::vector<int> count(n, 0);
    for (size_t i = 1; i < plan.beats.size(); ++i) {
        // Normal beats after a normal beat: an ectopic T wave would lie
        // under the PR segment.
        const PlannedBeat& b = plan.beats[i];
        const PlannedBeat& before = plan.beats[i - 1];
        if (b.beatClass != kClassNormal || b.formCode != kFormNormal) continue;
        if (before.beatClass != kClassNormal || before.formCode != kFormNormal) continue;
        const auto s = static_cast<int32_t>(ticksOfQuarterTicks(b.positionQuarterTicks));
        if (s + kStBaselineOffset < 0 || s + kStPointOffset >= plan.sampleCount) continue;
        const auto block = static_cast<size_t>(s / kSamplesPerBlock);
        sum1[block] += beatStUnits(signal.channel1, s) * scale;
        sum2[block] += beatStUnits(signal.channel2, s) * scale;
        ++count[block];
    }
    auto toByte = [](double v) {
        const double r = std::clamp(std::floor(v + 0.5), -126.0, 126.0);
        return static_cast<uint8_t>(static_cast<int8_t>(r));
    };
    for (size_t b = 0; b < n; ++b) {
        if (count[b] < 3 || t.heartRate[b] == 0 || t.flags[b] != 0) continue;
        t.st1[b] = toByte(sum1[b] / count[b]);
        t.st2[b] = toByte(sum2[b] / count[b]);
    }
}

// The extremes as the viewer searches them, so that excluding one can only
// reveal a less extreme one.
void TrendBuilder::findExtremes(TrendTables& t) {
    const size_t n = t.heartRate.size();
    std::vector<int8_t> noSt(n, TrendTable::kNoSt);
    TrendTable table(t.flags, t.heartRate, noSt, noSt);
    table.searchHeartRateExtremes();
    t.minimumBlock = std::max(table.heartRateMinimumBlock(), 0);
    t.maximumBlock = std::max(table.heartRateMaximumBlock(), 0);
}

}  // namespace lumen
