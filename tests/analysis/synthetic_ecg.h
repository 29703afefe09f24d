// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace lumen {

// A two-lead ECG of Gaussian waves at 75 beats a minute, every
// `ectopicEvery`-th beat a wide premature ventricular beat followed by a
// compensatory pause, with baseline wander and a little noise.
class SyntheticEcg {
public:
    SyntheticEcg(double rateHz, int ectopicEvery)
        : rateHz_(rateHz), ectopicEvery_(ectopicEvery), nextBeat_(static_cast<int64_t>(rateHz)) {}

    struct Beat {
        int64_t sample;
        bool ventricular;
        bool atrial = false;  // premature, with a P wave of its own, resetting the sinus node
    };

    // Fills `count` samples of each lead from sample `first` on.
    void fill(int64_t first, size_t count, std::vector<float>& lead0, std::vector<float>& lead1) {
        lead0.assign(count, 0.0f);
        lead1.assign(count, 0.0f);
        while (nextBeat_ < first + static_cast<int64_t>(count) + rateHz_) addBeat();
        for (const Beat& b : pending_) draw(b, first, lead0, lead1);
        while (!pending_.empty() && pending_.front().sample < first + static_cast<int64_t>(count) - rateHz_)
            pending_.erase(pending_.begin());
        uint32_t noise = static_cast<uint32_t>(first) * 2654435761u + 1u;
        for (size_t i = 0; i < count; ++i) {
            const double t = static_cast<double>(first + static_cast<int64_t>(i)) / rateHz_;
            noise = noise * 1664525u + 1013904223u;
            const float jitter = static_cast<float>((noise >> 8) % 1000) / 1000.0f * 0.02f;
            lead0[i] += static_cast<float>(0.3 * std::sin(2 * M_PI * 0.15 * t)) + jitter;
            lead1[i] += static_cast<float>(0.2 * std::sin(2 * M_PI * 0.11 * t)) - jitter;
        }
    }
    const std::vector<Beat>& beats() const { return beats_; }
    // From `sample` on, the normal beats show the other polarity in the
    // second lead, as after a change of posture.
    void changeFormAt(int64_t sample) { formChange_ = sample; }
    // Every n-th beat that is not ventricular is an atrial premature beat.
    void atrialEvery(int n) { atrialEvery_ = n; }
    // The ST segment of the normal beats of the first lead lies this far off the baseline.
    void shiftSt(double mv) { stShiftMv_ = mv; }

private:
    void addBeat() {
        const bool ectopic =
            ectopicEvery_ > 0 && beats_.size() % static_cast<size_t>(ectopicEvery_) == 0 && !beats_.empty();
        const double rr = 0.8 * rateHz_;
        const bool atrial =
            !ectopic && atrialEvery_ > 0 && beats_.size() % static_cast<size_t>(atrialEvery_) == 0 && !beats_.empty();
        const int64_t at = ectopic || atrial ? nextBeat_ - static_cast<int64_t>(0.3 * rr) : nextBeat_;
        beats_.push_back({at, ectopic, atrial});
        pending_.push_back({at, ectopic, atrial});
        // The sinus node keeps time after a ventricular beat (a full
        // compensatory pause); an atrial beat resets it.
        nextBeat_ = (atrial ? at : nextBeat_) + static_cast<int64_t>(rr);
    }
    void wave(std::vector<float>& lead, int64_t first, double centre, double widthSeconds, double mv) const {
        const double sigma = widthSeconds * rateHz_;
        const auto from = static_cast<int64_t>(centre - 4 * sigma), to = static_cast<int64_t>(centre + 4 * sigma);
        for (int64_t s = std::max(from, first); s < std::min(to, first + static_cast<int64_t>(lead.size())); ++s) {
            const double x = (static_cast<double>(s) - centre) / sigma;
            lead[static_cast<size_t>(s - first)] += static_cast<float>(mv * std::exp(-0.5 * x * x));
        }
    }
    void draw(const Beat& b, int64_t first, std::vector<float>& lead0, std::vector<float>& lead1) const {
        const auto r = static_cast<double>(b.sample);
        if (b.ventricular) {
            wave(lead0, first, r, 0.04, -1.2);
            wave(lead0, first, r + 0.28 * rateHz_, 0.06, 0.5);
            wave(lead1, first, r, 0.045, 1.0);
            return;
        }
        wave(lead0, first, r - 0.16 * rateHz_, 0.02, b.atrial ? -0.1 : 0.12);
        if (stShiftMv_ != 0.0)
            for (int64_t s = static_cast<int64_t>(r + 0.05 * rateHz_); s < static_cast<int64_t>(r + 0.2 * rateHz_); ++s)
                if (s >= first && s < first + static_cast<int64_t>(lead0.size()))
                    lead0[static_cast<size_t>(s - first)] += static_cast<float>(stShiftMv_);
        wave(lead0, first, r, 0.01, 1.2);
        wave(lead0, first, r + 0.25 * rateHz_, 0.04, 0.3);
        wave(lead1, first, r, 0.012, b.sample >= formChange_ ? 0.6 : -0.6);
        wave(lead1, first, r + 0.25 * rateHz_, 0.04, 0.15);
    }

    double rateHz_;
    int ectopicEvery_;
    int64_t nextBeat_;
    int64_t formChange_ = INT64_MAX;
    int atrialEvery_ = 0;
    double stShiftMv_ = 0.0;
    std::vector<Beat> beats_;
    std::vector<Beat> pending_;
};

}  // namespace lumen
