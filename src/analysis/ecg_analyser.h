// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "analysis/analysed_beat.h"
#include "analysis/beat_classifier.h"
#include "analysis/qrs_detector.h"

namespace lumen {

// Analyses an ECG fed front to back at its own sampling rate, a window at a
// time so that a day of signal never sits in memory: filters, QRS
// detection, measurement, noise and classification.
class EcgAnalyser {
public:
    // `pacemaker`: the source says the patient has one.
    EcgAnalyser(double rateHz, int channels, bool pacemaker = false);

    // Missing samples (NaN) read as the last good one.
    void append(std::span<const float> channel0, std::span<const float> channel1);
    AnalysisResult finish(const BeatModel& model = BeatModel::embedded());

    static constexpr double kWindowSeconds = 120.0;
    static constexpr double kLookBackSeconds = 6.0;
    static constexpr double kLookAheadSeconds = 3.0;

private:
    void analyseWindow(bool last);
    WindowSignals filter() const;
    void measure(const WindowSignals& w, const std::vector<int64_t>& detected);

    double rateHz_;
    int channels_;
    bool pacemaker_;
    std::vector<float> raw_[2];
    int64_t rawStart_ = 0;      // source sample of raw_[c][0]
    int64_t decidedUntil_ = 0;  // detection is done before this sample
    float lastGood_[2] = {0.0f, 0.0f};
    QrsDetector detector_;
    BeatClassifier classifier_;
    std::vector<SampleStretch> noise_;
    std::vector<SampleStretch> flutter_;
};

}  // namespace lumen
