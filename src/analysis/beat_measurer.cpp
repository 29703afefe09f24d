// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/beat_measurer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace lumen {
namespace {

constexpr double kFiducialSearchSeconds = 0.06;
constexpr double kEdgeSearchBeforeSeconds = 0.15;
constexpr double kEdgeSearchAfterSeconds = 0.2;
constexpr float kEdgeSlopeFraction = 0.15f;
constexpr double kEdgeSmoothSeconds = 0.04;
constexpr double kPrSearchSeconds = 0.1;  // before the QRS onset
constexpr double kPrFlatSeconds = 0.02;
constexpr double kStAfterJSeconds = 0.06;
// Room for the P and T waves around a fiducial point up to 150 ms from the detection.
constexpr double kMarginBeforeSeconds = 0.55;
constexpr double kMarginAfterSeconds = 0.55;

int64_t samplesOf(const WindowSignals& w, double seconds) {
    return static_cast<int64_t>(std::lround(seconds * w.rateHz));
}

int64_t fiducialOf(const WindowSignals& w, int64_t detected) {
    int64_t steepest = detected;
    const int64_t search = samplesOf(w, kFiducialSearchSeconds * 1.5);
    for (int64_t s = detected - search; s <= detected + search; ++s)
        if (w.slope[w.indexOf(s)] > w.slope[w.indexOf(steepest)]) steepest = s;
    // Each lead weighs by its own deflection so that the larger one leads.
    const int64_t around = samplesOf(w, kFiducialSearchSeconds);
    int64_t best = steepest;
    float bestValue = -1.0f;
    float scale[2] = {1e-6f, 1e-6f};
    for (int c = 0; c < w.channels; ++c)
        for (int64_t s = steepest - around; s <= steepest + around; ++s)
            scale[c] = std::max(scale[c], std::fabs(w.clean[c][w.indexOf(s)]));
    for (int64_t s = steepest - around; s <= steepest + around; ++s) {
        float v = 0.0f;
        for (int c = 0; c < w.channels; ++c) v += std::fabs(w.clean[c][w.indexOf(s)]) / scale[c];
        if (v > bestValue) {
            bestValue = v;
            best = s;
        }
    }
    return best;
}

}  // namespace

bool BeatMeasurer::fits(const WindowSignals& w, int64_t detected) {
    return w.holds(detected, samplesOf(w, kMarginBeforeSeconds), samplesOf(w, kMarginAfterSeconds));
}

MeasuredBeat BeatMeasurer::measure(const WindowSignals& w, int64_t detected) {
    MeasuredBeat m;
    m.sample = fiducialOf(w, detected);
    const double step = w.rateHz / kShapeRateHz;
    for (int c = 0; c < 2; ++c) {
        const std::vector<float>& lead = w.clean[std::min(c, w.channels - 1)];
        for (int k = 0; k < kShapePoints; ++k) {
            const auto at = m.sample + static_cast<int64_t>(std::lround((k - kShapePointsBeforeR) * step));
            m.shape[c][k] = lead[w.indexOf(at)];
        }
        for (int k = 0; k < kWavePoints; ++k) {
            m.pWave[c][k] = lead[w.indexOf(m.sample + samplesOf(w, kPWaveFromSeconds + k * kWaveStepSeconds))];
            m.tWave[c][k] = lead[w.indexOf(m.sample + samplesOf(w, kTWaveFromSeconds + k * kWaveStepSeconds))];
        }
    }
    // QRS edges: where the smoothed slope amplitude of both leads falls
    // below a fraction of its peak (smoothing bridges the R peak itself).
    const int64_t before = samplesOf(w, kEdgeSearchBeforeSeconds), after = samplesOf(w, kEdgeSearchAfterSeconds);
    const int64_t smooth = std::max<int64_t>(1, samplesOf(w, kEdgeSmoothSeconds) / 2);
    const auto span = static_cast<size_t>(before + after + 1);
    std::vector<float> envelope(span, 0.0f);
    std::vector<double> sums(span + 1);  // running sums of the slope amplitude
    for (int c = 0; c < w.channels; ++c) {
        float most = 1e-9f;
        for (size_t i = 0; i < span; ++i) {
            const size_t at = w.indexOf(m.sample - before + static_cast<int64_t>(i));
            const float d = std::fabs(w.clean[c][at + 1] - w.clean[c][at - 1]);
            most = std::max(most, d);
            sums[i + 1] = sums[i] + d;
        }
        for (size_t i = 0; i < span; ++i) {
            const size_t lo = i > static_cast<size_t>(smooth) ? i - static_cast<size_t>(smooth) : 0;
            const size_t hi = std::min(span, i + static_cast<size_t>(smooth) + 1);
            envelope[i] += static_cast<float>((sums[hi] - sums[lo]) / static_cast<double>(hi - lo) / most);
        }
    }
    const int64_t near = samplesOf(w, kFiducialSearchSeconds);
    float peak = 0.0f;
    for (int64_t i = -near; i <= near; ++i) peak = std::max(peak, envelope[static_cast<size_t>(i + before)]);
    const float edge = kEdgeSlopeFraction * peak;
    int64_t onset = 0, offset = 0;
    while (onset > -before && envelope[static_cast<size_t>(onset + before)] > edge) --onset;
    while (offset < after && envelope[static_cast<size_t>(offset + before)] > edge) ++offset;
    // A wide QRS may run into its T wave, but every QRS has a quiet PR segment.
    m.onsetFound = onset > -before;
    onset += m.sample;
    offset += m.sample;
    m.widthSeconds = static_cast<double>(offset - onset) / w.rateHz;
    // ST: J point + 60 ms against the flattest stretch of the PR segment.
    const int64_t flat = std::max<int64_t>(2, samplesOf(w, kPrFlatSeconds));
    const int64_t prFrom = onset - samplesOf(w, kPrSearchSeconds);
    const int64_t st = offset + samplesOf(w, kStAfterJSeconds);
    if (!w.holds(prFrom, 0, 0) || !w.holds(st, 0, 0)) return m;
    for (int c = 0; c < w.channels; ++c) {
        double bestSpread = 1e30, level = 0.0;
        for (int64_t s = prFrom; s + flat <= onset; ++s) {
            float lo = 1e30f, hi = -1e30f;
            double sum = 0.0;
            for (int64_t k = s; k < s + flat; ++k) {
                const float v = w.clean[c][w.indexOf(k)];
                lo = std::min(lo, v);
                hi = std::max(hi, v);
                sum += v;
            }
            if (hi - lo < bestSpread) {
                bestSpread = hi - lo;
                level = sum / static_cast<double>(flat);
            }
        }
        m.stMv[c] = static_cast<float>(w.clean[c][w.indexOf(st)] - level);
    }
    if (w.channels == 1) m.stMv[1] = m.stMv[0];
    m.stValid = true;
    return m;
}

}  // namespace lumen
