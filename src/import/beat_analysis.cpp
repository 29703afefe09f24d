// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/beat_analysis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "store/beat_word.h"
#include "store/clock.h"

namespace lumen {
namespace {

constexpr double kStUnitsPerMv = 64.0 / 0.4;
constexpr int kMinimumStBeats = 3;

int64_t quarterTicksOf(int64_t sample, double rateHz) {
    return std::llround(static_cast<double>(sample) * kQuarterTicksPerSecond / rateHz);
}

// A reviewer corrects the analysis by form, giving all of a form's beats
// one class at once: so a stored form is one shape of the recording given
// one class, and it holds beats of that class only. The largest take the
// codes first (the dominant normal form is 0); past the 30 codes a form
// can have (30 with class S would read as "no beat"), the smallest share
// one form per class.
constexpr uint8_t kStoredForms = 30;
constexpr uint8_t kOwnCodes = kStoredForms - kBeatClassCount;

struct FormKey {
    int32_t form = 0;  // the analysis's form; artefacts share one key
    BeatKind kind = BeatKind::Normal;
    auto operator<=>(const FormKey&) const = default;
};

FormKey keyOf(const AnalysedBeat& b) { return {b.kind == BeatKind::Artefact ? -1 : b.form, b.kind}; }

std::vector<uint8_t> formCodes(const AnalysisResult& result) {
    std::map<FormKey, size_t> counts;
    for (const AnalysedBeat& b : result.beats) ++counts[keyOf(b)];
    std::vector<std::pair<FormKey, size_t>> ranked(counts.begin(), counts.end());
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    const bool overflow = ranked.size() > kStoredForms;
    std::map<FormKey, uint8_t> codeOf;
    std::array<int, kBeatClassCount> sharedCode{-1, -1, -1, -1};
    uint8_t next = 0;
    for (size_t i = 0; i < ranked.size(); ++i) {
        const FormKey& key = ranked[i].first;
        if (!overflow || i < kOwnCodes) {
            codeOf[key] = next++;
            continue;
        }
        int& shared = sharedCode[static_cast<size_t>(key.kind)];
        if (shared < 0) shared = next++;
        codeOf[key] = static_cast<uint8_t>(shared);
    }
    std::vector<uint8_t> codes;
    codes.reserve(result.beats.size());
    for (const AnalysedBeat& b : result.beats) codes.push_back(codeOf[keyOf(b)]);
    return codes;
}

uint8_t toStByte(double units) {
    const double r = std::clamp(std::floor(units + 0.5), -126.0, 126.0);
    return static_cast<uint8_t>(static_cast<int8_t>(r));
}

}  // namespace

void BeatAnalysis::addBeats(const AnalysisResult& result, double rateHz, SourceRecording& source) {
    const std::vector<uint8_t> codes = formCodes(result);
    source.beats.clear();
    for (size_t i = 0; i < result.beats.size(); ++i) {
        const AnalysedBeat& b = result.beats[i];
        source.beats.push_back(
            {quarterTicksOf(b.sample, rateHz), BeatLabel{static_cast<uint8_t>(b.kind), codes[i]}, b.pWaveSeen});
    }
    for (const SampleStretch& s : result.noise)
        source.noise.push_back({quarterTicksOf(s.start, rateHz), quarterTicksOf(s.end, rateHz)});
    source.ventricularFlutter.clear();
    for (const SampleStretch& s : result.ventricularFlutter)
        source.ventricularFlutter.push_back({quarterTicksOf(s.start, rateHz), quarterTicksOf(s.end, rateHz)});
}

void BeatAnalysis::applySt(const AnalysisResult& result, double rateHz, TrendTables& trends) {
    const size_t n = trends.st1.size();
    std::vector<double> sum1(n, 0.0), sum2(n, 0.0);
    std::vector<int> count(n, 0);
    const double samplesPerBlock = rateHz * kSamplesPerBlock / kTicksPerSecond;
    for (size_t i = 1; i < result.beats.size(); ++i) {
        const AnalysedBeat& b = result.beats[i];
        if (b.kind != BeatKind::Normal || result.beats[i - 1].kind != BeatKind::Normal || !b.stValid) continue;
        const auto block = static_cast<size_t>(static_cast<double>(b.sample) / samplesPerBlock);
        if (block >= n) continue;
        sum1[block] += b.stMv[0] * kStUnitsPerMv;
        sum2[block] += b.stMv[1] * kStUnitsPerMv;
        ++count[block];
    }
    for (size_t b = 0; b < n; ++b) {
        const bool usable = count[b] >= kMinimumStBeats && trends.heartRate[b] != 0 && trends.flags[b] == 0;
        trends.st1[b] = usable ? toStByte(sum1[b] / count[b]) : kStNoValue;
        trends.st2[b] = usable ? toStByte(sum2[b] / count[b]) : kStNoValue;
    }
}

}  // namespace lumen
