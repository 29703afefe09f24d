#include "import/beat_analysis.h"

#include <algorithm>
#include <cmath>

#include "store/clock.h"

namespace lumen {
namespace {

constexpr double kStUnitsPerMv = 64.0 / 0.4;
constexpr int kMinimumStBeats = 3;

int64_t quarterTicksOf(int64_t sample, double rateHz) {
    return std::llround(static_cast<double>(sample) * kQuarterTicksPerSecond / rateHz);
}

// Normal and supraventricular forms share the normal form; ventricular
// forms take the ventricular form codes by size.
std::vector<uint8_t> formCodes(const AnalysisResult& result) {
    std::vector<size_t> ventricular;
    for (size_t f = 0; f < result.forms.size(); ++f)
        if (result.forms[f].kind == BeatKind::Ventricular) ventricular.push_back(f);
    std::stable_sort(ventricular.begin(), ventricular.end(),
                     [&](size_t a, size_t b) { return result.forms[a].beatCount > result.forms[b].beatCount; });
    std::vector<uint8_t> codes(result.forms.size(), kFormNormal);
    static constexpr uint8_t kVentricularCodes[] = {kFormVentricularA, kFormVentricularB, kFormVentricularTachy};
    for (size_t i = 0; i < ventricular.size(); ++i) codes[ventricular[i]] = kVentricularCodes[std::min<size_t>(i, 2)];
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
    for (const AnalysedBeat& b : result.beats) {
        BeatLabel label{static_cast<uint8_t>(b.kind), codes[static_cast<size_t>(b.form)]};
        if (b.kind == BeatKind::Ventricular && label.formCode == kFormNormal) label.formCode = kFormVentricularA;
        if (b.kind != BeatKind::Ventricular && label.formCode != kFormNormal) label.formCode = kFormNormal;
        source.beats.push_back({quarterTicksOf(b.sample, rateHz), label});
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
