// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "analysis/form_clusterer.h"

namespace lumen {

// What the classification knows of a beat, each relative to this patient:
// its timing against the local rhythm, its shape against the dominant
// (normal) form, the P wave before it, and what the beats of its form are
// like as a group.
enum class BeatFeature : uint8_t {
    RrBefore,           // RR before / local RR
    RrAfter,            // RR after / local RR
    RrBeforeAfter,      // RR before / RR after
    RrBeforePrevious,   // RR before / the RR before that
    LocalRate,          // local RR / the recording's median RR
    LocalIrregularity,  // median successive RR difference / local RR
    Correlation,        // with the dominant form, both leads
    CorrelationLead1,
    CorrelationLead2,
    AmplitudeLog,      // log of the amplitude ratio to the dominant form
    WidthDifference,   // seconds wider than the dominant form
    AreaDifference,    // summed shape difference / the dominant form's size
    Polarity,          // leads whose largest deflection points the other way
    PWaveCorrelation,  // with the dominant form's P wave
    PWaveSize,         // P wave spread / the dominant form's
    TWaveCorrelation,  // with the dominant form's T wave
    FormShareLog,      // log10 of the form's share of the beats
    FormRrBefore,      // the form's median RR before / local RR
    FormRrAfter,
    FormCorrelation,  // the form's shape with the dominant form's
    FormWidthDifference,
    OwnFormCorrelation,  // the beat with its own form
    Noisy,
    RrBeforeLong,    // RR before / the median RR of about a minute around
    RrBeforeRecord,  // RR before / the recording's median RR
    PWaveToQrs,      // the P wave's spread / the beat's QRS spread
    WidthSeconds,
    PreviousRrBefore,        // the beat before's RrBefore
    NextRrBefore,            // the beat after's RrBefore
    NormalCorrelation,       // with the closest other large form whose beats come on time, or the dominant one
    FormPrematureShare,      // share of the form's beats with RR before < 0.9 local RR
    UnlikeKnownForms,        // in noise and unlike every form seen often while it was read
    DetectionStrength,       // the integrated QRS slope against the usual one
    FormPWaveCorrelation,    // the form's mean P wave with the dominant form's: a P wave
    FormPWaveSize,           // that conducts comes with every beat, a dissociated one averages out
    AreaDifferenceToSpread,  // AreaDifference / its median over the dominant form's beats
    DissimilarityToSpread,   // (1 - Correlation) / its median over the dominant form's beats
    TWaveDissimilarityToSpread,
    RrAgainstEarlier,  // RR before / the median RR of 20-60 beats earlier: a run starts abruptly,
    RrAgainstLater,    // RR before / the median RR of 20-60 beats later: a rate change slowly
    Count
};
inline constexpr int kBeatFeatureCount = static_cast<int>(BeatFeature::Count);
using BeatFeatures = std::array<float, kBeatFeatureCount>;

struct FeatureInput {
    const std::vector<int64_t>* samples = nullptr;  // R peaks, in time order
    const std::vector<const MeasuredBeat*>* measured = nullptr;
    const std::vector<bool>* noisy = nullptr;
    const std::vector<bool>* unlikeKnown = nullptr;
    const FormClusterer::Result* forms = nullptr;
    double rateHz = 0.0;
};

class BeatFeatureExtractor {
public:
    // The dominant form: the largest whose beats come on time (ectopic
    // forms come early, however many beats they have, as in bigeminy).
    static int dominantForm(const FeatureInput& in);
    static std::vector<BeatFeatures> extract(const FeatureInput& in);

    static constexpr int kLocalRrBeats = 8;  // each side
    static constexpr double kMinSpread = 1e-3;
    static constexpr int kLongRrBeats = 40;  // each side
    static constexpr int kDistantRrFrom = 20, kDistantRrTo = 60;
    static constexpr double kPremature = 0.9;
    static constexpr double kLargeFormShare = 0.05;

private:
    static void scaleBySpread(std::vector<BeatFeatures>& beats, const std::vector<int32_t>& formOf, int dominant);
    static constexpr double kEarlyTiming = 0.46;
};

}  // namespace lumen
