// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/window_signals.h"

namespace lumen {

// Pan-Tompkins QRS detection on the integrated slope of both leads: peaks
// above an adaptive threshold between the signal and noise peak levels are
// QRS complexes; a peak within 360 ms of the last QRS with less than half
// its slope is a T wave; after 1.66 mean RR intervals without a QRS the
// largest peak above half the threshold is taken (search-back), and when
// there is none the levels come down; nothing is taken within the 200 ms
// refractory period, except a much larger QRS, which then replaces the beat
// before it (a tall P wave taken first): each beat is given out once no
// such QRS can follow.
class QrsDetector {
public:
    explicit QrsDetector(double rateHz);

    // The QRS complexes whose integrated peak lies in [from, to) (source
    // samples), decided with what `w` holds; call with consecutive ranges.
    std::vector<int64_t> detect(const WindowSignals& w, int64_t from, int64_t to);
    // Ends the recording at sample `end`: a last search-back.
    std::vector<int64_t> finish(int64_t end);
    // The running level of the QRS peaks of the integrated slope.
    double signalLevel() const { return signalPeak_; }

private:
    struct Candidate {
        int64_t sample = 0;
        float height = 0.0f;
        float slope = 0.0f;
    };

    void learn(const WindowSignals& w);
    void consider(const Candidate& c, std::vector<int64_t>& out);
    bool clearOfNoise(const Candidate& c) const;
    void searchBack(int64_t now, std::vector<int64_t>& out);
    void accept(const Candidate& c, bool searchedBack, std::vector<int64_t>& out);
    // Gives out the held beat when it lies before `before`.
    void release(int64_t before, std::vector<int64_t>& out);
    double threshold() const { return noisePeak_ + kThresholdFraction * (signalPeak_ - noisePeak_); }

    static constexpr double kThresholdFraction = 0.25;
    static constexpr double kSearchBackRr = 1.66;
    static constexpr double kRefractorySeconds = 0.2;
    static constexpr double kTWaveSeconds = 0.36;
    static constexpr double kPeakHalfWidthSeconds = 0.1;

    double rateHz_;
    bool learned_ = false;
    double signalPeak_ = 0.0;
    double noisePeak_ = 0.0;
    double rrSamples_ = 0.0;
    std::vector<double> recentRr_;  // the last intervals within the limits of the mean
    std::vector<double> allRr_;     // the last intervals
    size_t outOfRangeRun_ = 0;
    int64_t lastBeat_ = -1;
    int64_t lowerAt_ = 0;  // the levels may come down from this sample on
    float lastSlope_ = 0.0f;
    std::vector<Candidate> pending_;
    std::optional<Candidate> held_;  // the last beat, given out once no larger QRS can replace it
    bool heldRr_ = false;            // its RR interval counts in the mean
};

}  // namespace lumen
