// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "analysis/analysed_beat.h"
#include "analysis/beat_measurer.h"
#include "analysis/beat_model.h"

namespace lumen {

// Classifies measured beats as they come, one beat behind (the next RR
// interval tells a compensatory pause). Each beat joins the running
// template it correlates with best, or starts a new one. Templates whose
// beats come on time are normal forms, however many there are (the QRS of
// one patient changes with posture and rate); a beat like a normal form is
// normal, or supraventricular when premature. A beat unlike every normal
// form is ventricular when it is premature or of a form whose beats come
// early or are mostly ventricular; on time, only when also wide and very
// different. A beat in noise that matches no known form is artefact; a
// deflection unlike them that splits one RR interval is no beat at all.
class BeatClassifier {
public:
    explicit BeatClassifier(double rateHz) : rateHz_(rateHz) {}

    void add(const MeasuredBeat& beat, bool noisy);
    // Sorts all beats into forms and classifies them by the model; each
    // form takes the class most of its beats have.
    AnalysisResult finish(const BeatModel& model = BeatModel::embedded());
    // The beats' classes from their features, forms and R peaks (source samples).
    static std::vector<BeatKind> classifyAll(const BeatModel& model, const std::vector<BeatFeatures>& features,
                                             const std::vector<int32_t>& formOf, const std::vector<int64_t>& samples);
    static constexpr int64_t kFormVoteMinimumBeats = 3;
    static constexpr double kFormVoteShare = 0.5;
    static constexpr double kFormVoteNormalCorrelation = 0.9;
    static constexpr float kParoxysmRr = 0.75f;
    // Unlike the normal forms and without a P wave: correlations below these.
    static constexpr float kUnconductedNormalCorrelation = 0.6f;
    static constexpr float kUnconductedPWaveCorrelation = 0.2f;
    // A paroxysm found by its onset lasts while the RR stays below this share
    // of the rhythm before it, for at least kParoxysmMinimumBeats beats.
    static constexpr double kParoxysmHoldRr = 0.85;
    static constexpr size_t kParoxysmMinimumBeats = 3;
    static constexpr size_t kParoxysmBaselineBeats = 8;
    // A P wave correlating this well with the dominant form's is seen: in
    // sinus rhythm the beats' P waves correlate near 0.9, in atrial
    // fibrillation the stretch before the QRS holds f waves and noise (near 0).
    static constexpr float kPWaveSeenCorrelation = 0.5f;

private:
    static void markParoxysmsByOnset(std::vector<BeatKind>& kinds, const std::vector<BeatFeatures>& features,
                                     const std::vector<int64_t>& samples);
    using Shape = std::array<std::array<float, kShapePoints>, 2>;
    struct Form {
        Shape shape{};
        double widthSeconds = 0.0;
        int64_t beatCount = 0;
        double recentWeight = 0.0;
        std::array<int64_t, 4> votes{};
        double timingSum = 0.0;  // RR before / (RR before + RR after), summed
        int64_t timingCount = 0;
        int32_t exported = 0;  // index into the result's forms
        bool early() const { return timingCount > 0 && timingSum / static_cast<double>(timingCount) < kEarlyTiming; }
        bool normal() const;
        bool ventricular() const;
    };
    static constexpr double kEarlyTiming = 0.46;
    struct Pending {
        MeasuredBeat beat;
        bool noisy = false;
        int64_t rrBefore = 0;
    };
    struct Match {
        int form = -1;
        double correlation = -1.0;
        double amplitudeRatio = 1.0;
    };

    Match compare(const Shape& shape, int form) const;
    int joinForm(const MeasuredBeat& beat);
    int newForm(const MeasuredBeat& beat);
    bool matchesTrustedForm(const MeasuredBeat& beat, double correlation) const;
    int dominantForm() const;
    Match closestNormal(const Shape& shape, int dominant) const;
    BeatKind decide(const Pending& p, int form, int64_t rrAfter) const;
    // False when the beat is no beat at all.
    bool classify(int64_t rrAfter);

    double rateHz_;
    std::vector<Form> forms_;
    std::vector<std::array<int64_t, 4>> exportedVotes_;
    std::vector<AnalysedBeat> beats_;
    // Per beat, for the whole-record pass; a deque grows without copying a
    // day of beats at each doubling.
    std::deque<MeasuredBeat> measured_;
    std::vector<bool> noisy_;
    bool havePending_ = false;
    Pending pending_;
    double normalRr_ = 0.0;  // running mean RR of normal beats, samples
};

}  // namespace lumen
