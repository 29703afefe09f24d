// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ecg_analyser.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "analysis/beat_measurer.h"
#include "analysis/ecg_filters.h"
#include "analysis/flutter_detector.h"
#include "analysis/lead_selector.h"
#include "analysis/noise_detector.h"

namespace lumen {
namespace {

constexpr double kCleanLowHz = 0.5, kCleanHighHz = 40.0;
constexpr double kSlopeLowHz = 5.0, kSlopeHighHz = 15.0;

// Each lead's squared slope scaled by the median of its per-second maxima,
// the size of its QRS slope: both leads then count alike.
std::vector<float> scaledSlope(std::span<const float> clean, double rateHz) {
    std::vector<float> band(clean.begin(), clean.end());
    // Below the 40 Hz low-pass of the clean signal the 15 Hz section dominates.
    EcgFilters::zeroPhase(band, Biquad::butterworthHighPass(kSlopeLowHz, rateHz),
                          Biquad::butterworthLowPass(kSlopeHighHz, rateHz));
    std::vector<float> d(band.size());
    EcgFilters::derivative(band, d);
    for (float& v : d) v *= v;
    const auto second = static_cast<size_t>(rateHz);
    std::vector<float> maxima;
    for (size_t s = 0; s + second <= d.size(); s += second)
        maxima.push_back(
            *std::max_element(d.begin() + static_cast<long>(s), d.begin() + static_cast<long>(s + second)));
    float scale = 1.0f;
    if (!maxima.empty()) {
        std::nth_element(maxima.begin(), maxima.begin() + static_cast<long>(maxima.size() / 2), maxima.end());
        scale = std::max(maxima[maxima.size() / 2], 1e-9f);
    }
    for (float& v : d) v /= scale;
    return d;
}

}  // namespace

EcgAnalyser::EcgAnalyser(double rateHz, int channels, bool pacemaker)
    : rateHz_(rateHz),
      channels_(std::clamp(channels, 1, 2)),
      pacemaker_(pacemaker),
      detector_(rateHz),
      classifier_(rateHz) {}

void EcgAnalyser::append(std::span<const float> channel0, std::span<const float> channel1) {
    // Windows are cut at fixed lengths, so that the result does not depend
    // on how the source is read.
    const auto needed = static_cast<size_t>((kWindowSeconds + kLookBackSeconds + kLookAheadSeconds) * rateHz_);
    size_t done = 0;
    while (done < channel0.size()) {
        const size_t take = std::min(channel0.size() - done, needed - std::min(needed, raw_[0].size()));
        for (int c = 0; c < channels_; ++c) {
            const std::span<const float> in = (c == 0 ? channel0 : channel1).subspan(done, take);
            for (float v : in) {
                if (std::isnan(v)) v = lastGood_[c];
                lastGood_[c] = v;
                raw_[c].push_back(v);
            }
        }
        done += take;
        if (raw_[0].size() >= needed) analyseWindow(false);
    }
}

WindowSignals EcgAnalyser::filter() const {
    WindowSignals w;
    w.firstSample = rawStart_;
    w.rateHz = rateHz_;
    w.channels = channels_;
    auto clean = [&](int c) {
        w.clean[c] = raw_[c];
        EcgFilters::zeroPhase(w.clean[c], Biquad::butterworthHighPass(kCleanLowHz, rateHz_),
                              Biquad::butterworthLowPass(std::min(kCleanHighHz, 0.4 * rateHz_), rateHz_));
    };
    std::vector<float> slope[2];
    std::vector<float> busy[2];
    auto lead = [&](int c) {
        clean(c);
        slope[c] = scaledSlope(w.clean[c], rateHz_);
        if (channels_ == 2) busy[c] = LeadSelector::busyShares(slope[c], rateHz_);
    };
    // The two leads filter in parallel.
    std::thread other;
    if (channels_ == 2) other = std::thread(lead, 1);
    lead(0);
    if (other.joinable()) other.join();
    if (channels_ == 2)
        LeadSelector::combine(slope, busy, rateHz_, w.slope);
    else
        w.slope = std::move(slope[0]);
    w.integrated.resize(w.slope.size());
    EcgFilters::movingAverage(w.slope, w.integrated, static_cast<int>(std::lround(kQrsIntegrationSeconds * rateHz_)));
    return w;
}

void EcgAnalyser::measure(const WindowSignals& w, const std::vector<int64_t>& detected) {
    for (int64_t d : detected) {
        if (!BeatMeasurer::fits(w, d) || NoiseDetector::inside(flutter_, d)) continue;
        MeasuredBeat m = BeatMeasurer::measure(w, d);
        m.detectionStrength = static_cast<float>(w.integrated[w.indexOf(d)] / std::max(detector_.signalLevel(), 1e-9));
        classifier_.add(m, NoiseDetector::inside(noise_, m.sample));
    }
}

void EcgAnalyser::analyseWindow(bool last) {
    if (raw_[0].empty()) return;
    const WindowSignals w = filter();
    const int64_t end = rawStart_ + static_cast<int64_t>(raw_[0].size());
    const int64_t until = last ? end : end - static_cast<int64_t>(kLookAheadSeconds * rateHz_);
    std::vector<int64_t> detected = detector_.detect(w, decidedUntil_, until);
    // After detection: the QRS level is learned from the first window on.
    NoiseDetector::scan(w, decidedUntil_, until, detector_.signalLevel(), noise_);
    FlutterDetector::scan(w, decidedUntil_, until, flutter_);
    if (last) {
        const std::vector<int64_t> tail = detector_.finish(end);
        detected.insert(detected.end(), tail.begin(), tail.end());
    }
    measure(w, detected);
    decidedUntil_ = until;
    const int64_t keepFrom = std::max(rawStart_, until - static_cast<int64_t>(kLookBackSeconds * rateHz_));
    for (int c = 0; c < channels_; ++c) raw_[c].erase(raw_[c].begin(), raw_[c].begin() + (keepFrom - rawStart_));
    rawStart_ = keepFrom;
}

AnalysisResult EcgAnalyser::finish(const BeatModel& model) {
    analyseWindow(true);
    AnalysisResult out = classifier_.finish(model);
    out.noise = std::move(noise_);
    out.ventricularFlutter = std::move(flutter_);
    out.pacemaker = pacemaker_;
    return out;
}

}  // namespace lumen
