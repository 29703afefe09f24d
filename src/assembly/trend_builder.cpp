#include "assembly/trend_builder.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "store/time_units.h"

namespace lumen {
namespace {

constexpr int kStBaselineOffset = -4;  // samples from the R peak: PR segment
constexpr int kStPointOffset = 5;      // 100 ms: the ST segment
constexpr double kStUnitsPerSampleUnit = 64.0 / (0.4 * kFinestUnitsPerMillivolt);

uint8_t labelOf(const PlannedBeat& b) { return static_cast<uint8_t>(b.formCode * 4 + b.beatClass); }

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
            if (b >= 0 && static_cast<size_t>(b) < n) t.flags[static_cast<size_t>(b)] = kAnalysisFlag;
    }
    buildHeartRate(plan, t);
    buildSt(plan, signal, t, unitsPerMv);
    findExtremes(plan, t);
    return t;
}

// The same running mean of eight intervals that the viewer's rebuild uses,
// so that a refresh of the extremes finds the same table.
void TrendBuilder::buildHeartRate(const RhythmPlan& plan, TrendTables& t) {
    std::array<uint32_t, 8> ring{};
    size_t slot = 0;
    int usable = 0;
    uint8_t rate = 0;
    bool newInterval = false;
    int blocksWithout = 0;
    size_t block = 0;
    uint32_t previous = 0;
    const size_t n = t.heartRate.size();
    auto closeBlock = [&](bool gap) {
        if (gap) rate = 0;
        if (!newInterval && ++blocksWithout > 5) rate = 0;
        newInterval = false;
        t.heartRate[block++] = rate;
    };
    for (size_t i = 0; i < plan.beats.size(); ++i) {
        const PlannedBeat& b = plan.beats[i];
        const uint8_t label = labelOf(b);
        const bool gap = label == 125 || label == 121;
        if (b.beatClass == kClassArtefact || gap)
            usable = 0;
        else
            ++usable;
        const auto position = static_cast<uint32_t>(b.positionQuarterTicks);
        const uint32_t r = position - previous;
        if (usable > 1 && i >= 4 && r >= 41 && r <= 479) {
            ring[slot++ % ring.size()] = r;
            uint32_t sum = 0;
            for (uint32_t v : ring) sum += v;
            rate = static_cast<uint8_t>(96000 / sum);
            newInterval = true;
            blocksWithout = 0;
        }
        if (position / kQuarterTicksPerBlock > block && block < n) closeBlock(gap);
        previous = position;
    }
    while (block < n) closeBlock(false);
    // A block without a rate blanks four blocks on each side.
    std::vector<uint8_t> rates = t.heartRate;
    for (size_t i = 0; i < n; ++i) {
        if (rates[i] != 0) continue;
        for (size_t j = (i >= 4 ? i - 4 : 0); j <= std::min(n - 1, i + 4); ++j) t.heartRate[j] = 0;
    }
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

// The extremes of the sinus rhythm: blocks with only normal beats, a rate
// and no analysis flag.
void TrendBuilder::findExtremes(const RhythmPlan& plan, TrendTables& t) {
    const size_t n = t.heartRate.size();
    std::vector<uint8_t> ectopic(n, 0);
    for (const PlannedBeat& b : plan.beats)
        if (b.beatClass != kClassNormal)
            ectopic[static_cast<size_t>(b.positionQuarterTicks / kQuarterTicksPerBlock) % n] = 1;
    int32_t low = -1;
    int32_t high = -1;
    for (size_t b = 0; b < n; ++b) {
        const uint8_t rate = t.heartRate[b];
        if (ectopic[b] != 0 || t.flags[b] != 0 || rate == 0) continue;
        const bool minimumCandidate = rate > 10 && rate <= 127;  // compared as a signed byte
        if (minimumCandidate && (low < 0 || rate < t.heartRate[static_cast<size_t>(low)]))
            low = static_cast<int32_t>(b);
        if (high < 0 || rate > t.heartRate[static_cast<size_t>(high)]) high = static_cast<int32_t>(b);
    }
    t.minimumBlock = std::max(low, 0);
    t.maximumBlock = std::max(high, 0);
}

}  // namespace lumen
