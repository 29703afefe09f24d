// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/qrs_detector.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace lumen {
namespace {

constexpr size_t kRrAveraged = 8;
constexpr double kLearnSeconds = 8.0;
constexpr double kInitialRrSeconds = 0.8;
constexpr double kRrLow = 0.5, kRrHigh = 1.7;  // RR intervals that update the mean
constexpr double kLowerStep = 0.5;
constexpr double kReplaceRatio = 1.5;
constexpr double kLowerAfterRr = 2.5;
// In a quiet signal a QRS of a third of the usual slope (an aberrated
// beat, another axis) may lie below the threshold yet stand clear of every
// peak of noise: it is taken when it is this many times the noise level and
// not tiny against the QRS level.
constexpr double kClearOfNoise = 2.0;
constexpr double kLowestQrsFraction = 0.06;
constexpr double kNoiseStart = 0.1;  // the first noise level against the first signal level

void pushRr(std::vector<double>& intervals, double rr) {
    intervals.push_back(rr);
    if (intervals.size() > kRrAveraged) intervals.erase(intervals.begin());
}

double median(std::vector<float> v) {
    if (v.empty()) return 0.0;
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

}  // namespace

QrsDetector::QrsDetector(double rateHz) : rateHz_(rateHz), rrSamples_(kInitialRrSeconds * rateHz) {}

void QrsDetector::learn(const WindowSignals& w) {
    const auto second = static_cast<size_t>(rateHz_);
    const size_t end = std::min(w.size(), static_cast<size_t>(kLearnSeconds * rateHz_));
    std::vector<float> maxima;
    for (size_t s = 0; s + second <= end; s += second)
        maxima.push_back(*std::max_element(w.integrated.begin() + static_cast<long>(s),
                                           w.integrated.begin() + static_cast<long>(s + second)));
    signalPeak_ = median(maxima);
    noisePeak_ = kNoiseStart * signalPeak_;
    learned_ = true;
}

std::vector<int64_t> QrsDetector::detect(const WindowSignals& w, int64_t from, int64_t to) {
    if (!learned_) learn(w);
    std::vector<int64_t> out;
    const auto half = static_cast<int64_t>(kPeakHalfWidthSeconds * rateHz_);
    const int64_t last = w.firstSample + static_cast<int64_t>(w.size());
    for (int64_t s = std::max(from, w.firstSample + 1); s < to && s + 1 < last; ++s) {
        const float* m = w.integrated.data() + w.indexOf(s);
        if (!(m[0] > m[-1] && m[0] >= m[1])) continue;
        const int64_t lo = std::max(w.firstSample, s - half), hi = std::min(last - 1, s + half);
        bool peak = true;
        for (int64_t k = lo; k <= hi && peak; ++k) {
            const float v = w.integrated[w.indexOf(k)];
            peak = k < s ? v < m[0] : (k == s || v <= m[0]);
        }
        if (!peak) continue;
        Candidate c{s, m[0], 0.0f};
        for (int64_t k = lo; k <= hi; ++k) c.slope = std::max(c.slope, w.slope[w.indexOf(k)]);
        searchBack(s, out);
        consider(c, out);
    }
    // Nothing after `to` can fall within the refractory period of an older beat.
    release(to - static_cast<int64_t>(kRefractorySeconds * rateHz_), out);
    return out;
}

std::vector<int64_t> QrsDetector::finish(int64_t end) {
    std::vector<int64_t> out;
    searchBack(end, out);
    release(end + 1, out);
    return out;
}

void QrsDetector::consider(const Candidate& c, std::vector<int64_t>& out) {
    const double since = lastBeat_ < 0 ? 1e9 : static_cast<double>(c.sample - lastBeat_);
    if (since < kRefractorySeconds * rateHz_) {
        // A much larger QRS within the refractory period of a beat not yet
        // given out: the beat was a P wave or an artefact.
        if (held_ && held_->sample == lastBeat_ && c.height > kReplaceRatio * held_->height && c.slope > held_->slope) {
            if (heldRr_ && !recentRr_.empty()) {
                recentRr_.back() += static_cast<double>(c.sample - held_->sample);
                rrSamples_ =
                    std::accumulate(recentRr_.begin(), recentRr_.end(), 0.0) / static_cast<double>(recentRr_.size());
            }
            held_ = c;
            lastBeat_ = c.sample;
            lastSlope_ = c.slope;
        }
        return;
    }
    if (c.height > threshold() || clearOfNoise(c)) {
        const bool tWave = since < kTWaveSeconds * rateHz_ && c.slope < 0.5f * lastSlope_;
        if (!tWave) {
            accept(c, false, out);
            return;
        }
    }
    noisePeak_ = 0.125 * c.height + 0.875 * noisePeak_;
    pending_.push_back(c);
}

bool QrsDetector::clearOfNoise(const Candidate& c) const {
    return c.height > kClearOfNoise * noisePeak_ && c.height > kLowestQrsFraction * signalPeak_;
}

void QrsDetector::searchBack(int64_t now, std::vector<int64_t>& out) {
    while (lastBeat_ >= 0 && static_cast<double>(now - lastBeat_) > kSearchBackRr * rrSamples_) {
        const double lower = 0.5 * threshold();
        const Candidate* best = nullptr;
        for (const Candidate& c : pending_)
            if (c.height > lower && static_cast<double>(c.sample - lastBeat_) > kTWaveSeconds * rateHz_ &&
                (best == nullptr || c.height > best->height))
                best = &c;
        if (best == nullptr) {
            // The QRS has shrunk (another lead, a change of posture): the
            // levels come down, one step a mean RR interval.
            if (now >= lowerAt_) {
                signalPeak_ = std::max(noisePeak_, kLowerStep * signalPeak_);
                lowerAt_ = now + static_cast<int64_t>(rrSamples_);
                continue;
            }
            return;
        }
        const Candidate chosen = *best;
        pending_.erase(pending_.begin(), pending_.begin() + (best - pending_.data()) + 1);
        std::vector<Candidate> later = std::move(pending_);
        accept(chosen, true, out);
        pending_ = std::move(later);
    }
}

void QrsDetector::accept(const Candidate& c, bool searchedBack, std::vector<int64_t>& out) {
    const double weight = searchedBack ? 0.25 : 0.125;
    signalPeak_ = weight * c.height + (1.0 - weight) * signalPeak_;
    if (lastBeat_ >= 0) {
        const auto rr = static_cast<double>(c.sample - lastBeat_);
        heldRr_ = recentRr_.size() < kRrAveraged || (rr > kRrLow * rrSamples_ && rr < kRrHigh * rrSamples_);
        pushRr(allRr_, rr);
        outOfRangeRun_ = heldRr_ ? 0 : outOfRangeRun_ + 1;
        // A whole run of intervals outside the limits: the rhythm has
        // changed (a tachycardia has ended), the mean starts again from them.
        if (outOfRangeRun_ >= kRrAveraged) {
            recentRr_ = allRr_;
            outOfRangeRun_ = 0;
        } else if (heldRr_) {
            pushRr(recentRr_, rr);
        }
        rrSamples_ = std::accumulate(recentRr_.begin(), recentRr_.end(), 0.0) / static_cast<double>(recentRr_.size());
    }
    lastBeat_ = c.sample;
    lastSlope_ = c.slope;
    lowerAt_ = c.sample + static_cast<int64_t>(kLowerAfterRr * rrSamples_);
    pending_.clear();
    if (held_) out.push_back(held_->sample);
    held_ = c;
}

void QrsDetector::release(int64_t before, std::vector<int64_t>& out) {
    if (held_ && held_->sample < before) {
        out.push_back(held_->sample);
        held_.reset();
    }
}

}  // namespace lumen
