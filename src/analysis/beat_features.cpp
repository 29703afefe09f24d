// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/beat_features.h"

#include <algorithm>
#include <cmath>

#include "analysis/shape_match.h"

namespace lumen {
namespace {

constexpr double kMinAmplitudeRatio = 1e-3;
constexpr double kMinShare = 1e-6;

double medianOf(std::vector<double>& v) {
    if (v.empty()) return 0.0;
    const auto mid = v.begin() + static_cast<long>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

// The RR intervals around each beat, its own two left out, so that an
// ectopic beat does not move its own reference.
struct Rhythm {
    std::vector<double> rr;  // rr[i]: from beat i-1 to beat i; 0 for the first
    std::vector<double> local;
    std::vector<double> irregularity;
    std::vector<double> longMedian;
    std::vector<double> earlier, later;  // median RR of 20-60 beats before and after
    double recordMedian = 1.0;
};

Rhythm rhythmOf(const std::vector<int64_t>& samples) {
    Rhythm r;
    const size_t n = samples.size();
    r.rr.assign(n, 0.0);
    for (size_t i = 1; i < n; ++i) r.rr[i] = static_cast<double>(samples[i] - samples[i - 1]);
    std::vector<double> all(r.rr.begin() + (n > 0 ? 1 : 0), r.rr.end());
    r.recordMedian = std::max(1.0, medianOf(all));
    r.local.assign(n, r.recordMedian);
    r.irregularity.assign(n, 0.0);
    r.longMedian.assign(n, r.recordMedian);
    const auto side = static_cast<size_t>(BeatFeatureExtractor::kLocalRrBeats);
    std::vector<double> around, steps;
    for (size_t i = 0; i < n; ++i) {
        around.clear();
        steps.clear();
        const size_t from = i > side + 1 ? i - side - 1 : 1;
        const size_t to = std::min(n - 1, i + side + 1);
        for (size_t k = from; k <= to; ++k) {
            if (k == i || k == i + 1) continue;
            around.push_back(r.rr[k]);
            if (k > from && k - 1 != i && k - 1 != i + 1) steps.push_back(std::fabs(r.rr[k] - r.rr[k - 1]));
        }
        if (!around.empty()) r.local[i] = std::max(1.0, medianOf(around));
        r.irregularity[i] = medianOf(steps) / r.local[i];
    }
    r.earlier.assign(n, r.recordMedian);
    r.later.assign(n, r.recordMedian);
    const auto near = static_cast<size_t>(BeatFeatureExtractor::kDistantRrFrom);
    const auto far = static_cast<size_t>(BeatFeatureExtractor::kDistantRrTo);
    for (size_t i = 0; i < n; i += 4) {
        const auto set = [&](std::vector<double>& into, size_t from, size_t to) {
            if (from >= to) return;
            around.assign(r.rr.begin() + static_cast<long>(from), r.rr.begin() + static_cast<long>(to));
            std::fill(into.begin() + static_cast<long>(i), into.begin() + static_cast<long>(std::min(n, i + 4)),
                      std::max(1.0, medianOf(around)));
        };
        if (i > near + 1) set(r.earlier, i > far ? i - far : 1, i - near);
        if (i + near < n) set(r.later, i + near, std::min(n, i + far));
    }
    // The long median moves slowly: taken every 8 beats.
    const auto wide = static_cast<size_t>(BeatFeatureExtractor::kLongRrBeats);
    for (size_t i = 0; i < n; i += 8) {
        around.assign(r.rr.begin() + static_cast<long>(i > wide ? i - wide : 1),
                      r.rr.begin() + static_cast<long>(std::min(n, i + wide + 1)));
        if (!around.empty())
            std::fill(r.longMedian.begin() + static_cast<long>(i),
                      r.longMedian.begin() + static_cast<long>(std::min(n, i + 8)), std::max(1.0, medianOf(around)));
    }
    return r;
}

float leadsOfOtherPolarity(const QrsShape& beat, const QrsShape& dominant) {
    float count = 0.0f;
    for (size_t c = 0; c < 2; ++c) {
        auto largest = [](const std::array<float, kShapePoints>& v) {
            return *std::max_element(v.begin(), v.end(), [](float a, float b) { return std::fabs(a) < std::fabs(b); });
        };
        if ((largest(beat[c]) > 0) != (largest(dominant[c]) > 0)) count += 1.0f;
    }
    return count;
}

float areaDifference(const QrsShape& beat, const QrsShape& dominant) {
    double diff = 0.0, size = 1e-9;
    for (size_t c = 0; c < 2; ++c)
        for (size_t k = 0; k < kShapePoints; ++k) {
            diff += std::fabs(beat[c][k] - dominant[c][k]);
            size += std::fabs(dominant[c][k]);
        }
    return static_cast<float>(diff / size);
}

struct FormSummary {
    float rrBefore = 1.0f, rrAfter = 1.0f, correlation = 1.0f, widthDifference = 0.0f, shareLog = 0.0f;
    float prematureShare = 0.0f;
    float pWaveCorrelation = 1.0f, pWaveSize = 1.0f;
    bool onTimeLarge = false;
};

double spreadOf(const WaveShape& wave) {
    return ShapeMatch::momentsOf(wave[0]).spread + ShapeMatch::momentsOf(wave[1]).spread;
}

double spreadOf(const QrsShape& qrs) {
    return ShapeMatch::momentsOf(qrs[0]).spread + ShapeMatch::momentsOf(qrs[1]).spread;
}

}  // namespace

int BeatFeatureExtractor::dominantForm(const FeatureInput& in) {
    const auto& samples = *in.samples;
    const auto& formOf = in.forms->formOf;
    std::vector<double> timingSum(in.forms->forms.size(), 0.0);
    std::vector<int64_t> timingCount(in.forms->forms.size(), 0);
    for (size_t i = 1; i + 1 < samples.size(); ++i) {
        const auto before = static_cast<double>(samples[i] - samples[i - 1]);
        const auto after = static_cast<double>(samples[i + 1] - samples[i]);
        if (before + after <= 0) continue;
        timingSum[static_cast<size_t>(formOf[i])] += before / (before + after);
        ++timingCount[static_cast<size_t>(formOf[i])];
    }
    for (size_t f = 0; f < timingSum.size(); ++f)
        if (timingCount[f] > 0 && timingSum[f] / static_cast<double>(timingCount[f]) >= kEarlyTiming)
            return static_cast<int>(f);
    return 0;
}

std::vector<BeatFeatures> BeatFeatureExtractor::extract(const FeatureInput& in) {
    const size_t n = in.samples->size();
    std::vector<BeatFeatures> out(n);
    if (n == 0 || in.forms->forms.empty()) return out;
    const Rhythm rhythm = rhythmOf(*in.samples);
    const auto& forms = in.forms->forms;
    const auto& formOf = in.forms->formOf;
    const int dominantIndex = dominantForm(in);
    const BeatForm& dominant = forms[static_cast<size_t>(dominantIndex)];

    auto rrAt = [&](size_t i) { return i < n ? rhythm.rr[i] : 0.0; };
    auto ratio = [](double a, double b) { return static_cast<float>(b > 0 && a > 0 ? a / b : 1.0); };
    std::vector<std::vector<double>> before(forms.size()), after(forms.size());
    for (size_t i = 0; i < n; ++i) {
        const auto f = static_cast<size_t>(formOf[i]);
        if (rrAt(i) > 0) before[f].push_back(rrAt(i) / rhythm.local[i]);
        if (rrAt(i + 1) > 0) after[f].push_back(rrAt(i + 1) / rhythm.local[i]);
    }
    std::vector<FormSummary> summary(forms.size());
    for (size_t f = 0; f < forms.size(); ++f) {
        FormSummary& s = summary[f];
        if (!before[f].empty()) s.rrBefore = static_cast<float>(medianOf(before[f]));
        if (!after[f].empty()) s.rrAfter = static_cast<float>(medianOf(after[f]));
        size_t premature = 0;
        for (double v : before[f]) premature += v < kPremature ? 1 : 0;
        s.prematureShare =
            before[f].empty() ? 0.0f : static_cast<float>(premature) / static_cast<float>(before[f].size());
        s.correlation = static_cast<float>(ShapeMatch::of(forms[f].shape, dominant.shape).correlation);
        s.widthDifference = static_cast<float>(forms[f].widthSeconds - dominant.widthSeconds);
        s.shareLog = static_cast<float>(
            std::log10(std::max(kMinShare, static_cast<double>(forms[f].beatCount) / static_cast<double>(n))));
        const ShapeMatch p = ShapeMatch::of(forms[f].pWave, dominant.pWave);
        s.pWaveCorrelation = static_cast<float>(p.correlation);
        s.pWaveSize = static_cast<float>(p.amplitudeRatio);
        s.onTimeLarge = static_cast<double>(forms[f].beatCount) >= kLargeFormShare * static_cast<double>(n) &&
                        s.prematureShare < 0.5f;
    }
    for (size_t i = 0; i < n; ++i) {
        const MeasuredBeat& b = *(*in.measured)[i];
        const auto f = static_cast<size_t>(formOf[i]);
        const ShapeMatch qrs = ShapeMatch::of(b.shape, dominant.shape);
        const ShapeMatch p = ShapeMatch::of(b.pWave, dominant.pWave);
        BeatFeatures& x = out[i];
        auto set = [&x](BeatFeature which, double v) { x[static_cast<size_t>(which)] = static_cast<float>(v); };
        const double previous = i > 0 ? rrAt(i - 1) : 0.0;
        set(BeatFeature::RrBefore, ratio(rrAt(i), rhythm.local[i]));
        set(BeatFeature::RrAfter, ratio(rrAt(i + 1), rhythm.local[i]));
        set(BeatFeature::RrBeforeAfter, ratio(rrAt(i), rrAt(i + 1)));
        set(BeatFeature::RrBeforePrevious, ratio(rrAt(i), previous));
        set(BeatFeature::LocalRate, rhythm.local[i] / rhythm.recordMedian);
        set(BeatFeature::LocalIrregularity, rhythm.irregularity[i]);
        set(BeatFeature::Correlation, qrs.correlation);
        set(BeatFeature::CorrelationLead1, qrs.leadCorrelation[0]);
        set(BeatFeature::CorrelationLead2, qrs.leadCorrelation[1]);
        set(BeatFeature::AmplitudeLog, std::log(std::max(kMinAmplitudeRatio, qrs.amplitudeRatio)));
        set(BeatFeature::WidthDifference, b.widthSeconds - dominant.widthSeconds);
        set(BeatFeature::AreaDifference, areaDifference(b.shape, dominant.shape));
        set(BeatFeature::Polarity, leadsOfOtherPolarity(b.shape, dominant.shape));
        set(BeatFeature::PWaveCorrelation, p.correlation);
        set(BeatFeature::PWaveSize, p.amplitudeRatio);
        set(BeatFeature::TWaveCorrelation, ShapeMatch::of(b.tWave, dominant.tWave).correlation);
        set(BeatFeature::FormShareLog, summary[f].shareLog);
        set(BeatFeature::FormRrBefore, summary[f].rrBefore);
        set(BeatFeature::FormRrAfter, summary[f].rrAfter);
        set(BeatFeature::FormCorrelation, summary[f].correlation);
        set(BeatFeature::FormWidthDifference, summary[f].widthDifference);
        set(BeatFeature::OwnFormCorrelation, ShapeMatch::of(b.shape, forms[f].shape).correlation);
        set(BeatFeature::Noisy, (*in.noisy)[i] ? 1.0 : 0.0);
        set(BeatFeature::RrBeforeLong, ratio(rrAt(i), rhythm.longMedian[i]));
        set(BeatFeature::RrBeforeRecord, ratio(rrAt(i), rhythm.recordMedian));
        set(BeatFeature::PWaveToQrs, spreadOf(b.pWave) / std::max(1e-6, spreadOf(b.shape)));
        set(BeatFeature::WidthSeconds, b.widthSeconds);
        set(BeatFeature::PreviousRrBefore, i > 0 ? ratio(rrAt(i - 1), rhythm.local[i - 1]) : 1.0f);
        set(BeatFeature::NextRrBefore, i + 1 < n ? ratio(rrAt(i + 1), rhythm.local[i + 1]) : 1.0f);
        double normal = qrs.correlation;
        for (size_t g = 0; g < forms.size(); ++g)
            if (summary[g].onTimeLarge && g != f)
                normal = std::max(normal, ShapeMatch::of(b.shape, forms[g].shape).correlation);
        set(BeatFeature::NormalCorrelation, normal);
        set(BeatFeature::FormPrematureShare, summary[f].prematureShare);
        set(BeatFeature::UnlikeKnownForms, (*in.unlikeKnown)[i] ? 1.0 : 0.0);
        set(BeatFeature::DetectionStrength, b.detectionStrength);
        set(BeatFeature::FormPWaveCorrelation, summary[f].pWaveCorrelation);
        set(BeatFeature::FormPWaveSize, summary[f].pWaveSize);
        set(BeatFeature::RrAgainstEarlier, ratio(rrAt(i), rhythm.earlier[i]));
        set(BeatFeature::RrAgainstLater, ratio(rrAt(i), rhythm.later[i]));
    }
    scaleBySpread(out, formOf, dominantIndex);
    return out;
}

// How far a beat is from the dominant form against how far the dominant
// form's own beats scatter: a noisy or variable patient scatters more.
void BeatFeatureExtractor::scaleBySpread(std::vector<BeatFeatures>& beats, const std::vector<int32_t>& formOf,
                                         int dominant) {
    struct Scaled {
        BeatFeature from, to;
        bool dissimilarity;
    };
    static constexpr Scaled kScaled[] = {
        {BeatFeature::AreaDifference, BeatFeature::AreaDifferenceToSpread, false},
        {BeatFeature::Correlation, BeatFeature::DissimilarityToSpread, true},
        {BeatFeature::TWaveCorrelation, BeatFeature::TWaveDissimilarityToSpread, true},
    };
    for (const Scaled& s : kScaled) {
        auto value = [&](const BeatFeatures& b) {
            const double v = b[static_cast<size_t>(s.from)];
            return s.dissimilarity ? 1.0 - v : v;
        };
        std::vector<double> own;
        for (size_t i = 0; i < beats.size(); ++i)
            if (formOf[i] == dominant) own.push_back(value(beats[i]));
        const double spread = std::max(kMinSpread, medianOf(own));
        for (BeatFeatures& b : beats) b[static_cast<size_t>(s.to)] = static_cast<float>(value(b) / spread);
    }
}

}  // namespace lumen
