// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/beat_classifier.h"

#include <algorithm>
#include <cmath>

#include "analysis/form_clusterer.h"
#include "analysis/shape_match.h"

namespace lumen {
namespace {

constexpr double kSameFormCorrelation = 0.9;
constexpr double kSameFormAmplitudeLow = 0.7, kSameFormAmplitudeHigh = 1.4;
constexpr size_t kMaxForms = 24;
constexpr int64_t kTemplateMemoryBeats = 20;
constexpr double kRecentDecay = 0.995;
constexpr double kNormalLikeCorrelation = 0.85;
constexpr double kVeryDifferentCorrelation = 0.5;
constexpr double kWiderSeconds = 0.04;
constexpr double kVentricularPrematurity = 0.9;
constexpr double kSupraventricularPrematurity = 0.85;
constexpr double kAmplitudeDifferent = 2.5;
constexpr double kRrLearnWeight = 0.125;
constexpr double kRrUsableLow = 0.6, kRrUsableHigh = 1.5;
constexpr int64_t kFormVotesTrusted = 20;
constexpr int64_t kFormVotesKnown = 3;
constexpr double kLateRr = 1.1;
constexpr double kSplitRr = 1.2;
constexpr double kInitialRrSeconds = 0.8;
constexpr double kNoiseBeatCorrelation = 0.8;
constexpr double kSplitDeflectionCorrelation = 0.5;
constexpr double kSupraventricularBeforeAfter = 0.9;
constexpr float kFirmDetection = 0.7f;
constexpr float kFirmDetectionInNoise = 2.0f;  // noise adds to a deflection's slope

bool sinusPWaveBefore(const BeatFeatures& x) {
    return x[static_cast<size_t>(BeatFeature::PWaveCorrelation)] >= BeatClassifier::kPWaveSeenCorrelation;
}

}  // namespace

BeatClassifier::Match BeatClassifier::compare(const Shape& shape, int form) const {
    const ShapeMatch m = ShapeMatch::of(shape, forms_[static_cast<size_t>(form)].shape);
    return {form, m.correlation, m.amplitudeRatio};
}

int BeatClassifier::newForm(const MeasuredBeat& beat) {
    Form f;
    f.shape = beat.shape;
    f.widthSeconds = beat.widthSeconds;
    f.exported = static_cast<int32_t>(exportedVotes_.size());
    exportedVotes_.push_back({});
    if (forms_.size() < kMaxForms) {
        forms_.push_back(f);
        return static_cast<int>(forms_.size() - 1);
    }
    // The form least seen of late gives way; its beats keep their form.
    const int dominant = dominantForm();
    int oldest = dominant == 0 ? 1 : 0;
    for (size_t i = 0; i < forms_.size(); ++i)
        if (static_cast<int>(i) != dominant &&
            forms_[i].recentWeight < forms_[static_cast<size_t>(oldest)].recentWeight)
            oldest = static_cast<int>(i);
    forms_[static_cast<size_t>(oldest)] = f;
    return oldest;
}

int BeatClassifier::joinForm(const MeasuredBeat& beat) {
    Match best;
    for (size_t f = 0; f < forms_.size(); ++f) {
        const Match m = compare(beat.shape, static_cast<int>(f));
        const bool sameSize = m.amplitudeRatio > kSameFormAmplitudeLow && m.amplitudeRatio < kSameFormAmplitudeHigh;
        if (sameSize && m.correlation > best.correlation) best = m;
    }
    for (Form& f : forms_) f.recentWeight *= kRecentDecay;
    const int form = best.form < 0 || best.correlation < kSameFormCorrelation ? newForm(beat) : best.form;
    Form& f = forms_[static_cast<size_t>(form)];
    ++f.beatCount;
    f.recentWeight += 1.0;
    const double rate = 1.0 / static_cast<double>(std::min(f.beatCount, kTemplateMemoryBeats));
    for (int c = 0; c < 2; ++c)
        for (int k = 0; k < kShapePoints; ++k)
            f.shape[c][k] += static_cast<float>(rate * (beat.shape[c][k] - f.shape[c][k]));
    f.widthSeconds += rate * (beat.widthSeconds - f.widthSeconds);
    return form;
}

bool BeatClassifier::Form::normal() const {
    return timingCount >= kFormVotesKnown && !early() && 2 * votes[2] <= beatCount;
}

bool BeatClassifier::Form::ventricular() const { return beatCount >= kFormVotesKnown && 2 * votes[2] > beatCount; }

// The reference shape is the commonest recent form whose beats come on
// time: ectopic forms come early, however many there are (bigeminy).
int BeatClassifier::dominantForm() const {
    int best = 0;
    for (size_t f = 1; f < forms_.size(); ++f) {
        const Form& a = forms_[f];
        const Form& b = forms_[static_cast<size_t>(best)];
        if (a.early() != b.early() ? !a.early() : a.recentWeight > b.recentWeight) best = static_cast<int>(f);
    }
    return best;
}

BeatClassifier::Match BeatClassifier::closestNormal(const Shape& shape, int dominant) const {
    Match best = compare(shape, dominant);
    for (size_t f = 0; f < forms_.size(); ++f) {
        if (static_cast<int>(f) == dominant || !forms_[f].normal()) continue;
        const Match m = compare(shape, static_cast<int>(f));
        if (m.correlation > best.correlation) best = m;
    }
    return best;
}

bool BeatClassifier::matchesTrustedForm(const MeasuredBeat& beat, double correlation) const {
    // Before any form is known, nothing can be told from noise by shape.
    bool anyTrusted = false;
    for (const Form& f : forms_) anyTrusted = anyTrusted || f.beatCount >= kFormVotesTrusted;
    if (!anyTrusted) return true;
    for (size_t f = 0; f < forms_.size(); ++f)
        if (forms_[f].beatCount >= kFormVotesTrusted &&
            compare(beat.shape, static_cast<int>(f)).correlation >= correlation)
            return true;
    return false;
}

BeatKind BeatClassifier::decide(const Pending& p, int form, int64_t rrAfter) const {
    const int dominant = dominantForm();
    const Match m = closestNormal(p.beat.shape, dominant);
    const Form& d = forms_[static_cast<size_t>(dominant)];
    const Form& own = forms_[static_cast<size_t>(form)];
    const double rr = p.rrBefore > 0 ? static_cast<double>(p.rrBefore) / normalRr_ : 1.0;
    const bool otherSize = m.amplitudeRatio > kAmplitudeDifferent || m.amplitudeRatio < 1.0 / kAmplitudeDifferent;
    const bool likeNormal = form == dominant || (m.correlation >= kNormalLikeCorrelation && !otherSize);
    const bool wide = p.beat.widthSeconds > d.widthSeconds + kWiderSeconds;
    // A beat of a ventricular form stays ventricular unless it would join a
    // normal form and is as narrow.
    if (own.ventricular() && (m.correlation < kSameFormCorrelation || wide)) return BeatKind::Ventricular;
    if (!likeNormal) {
        const bool premature = rr < kVentricularPrematurity;
        const bool late = rr > kLateRr;
        const bool earlyForm = own.timingCount >= kFormVotesKnown && own.early();
        // A beat on time is ventricular only when both wide and very different.
        const bool onTimeV = wide && !late && m.correlation < kVeryDifferentCorrelation;
        if (earlyForm || premature || onTimeV) return BeatKind::Ventricular;
    }
    if (p.rrBefore > 0 && rr < kSupraventricularPrematurity &&
        (rrAfter == 0 || static_cast<double>(p.rrBefore) < kSupraventricularBeforeAfter * static_cast<double>(rrAfter)))
        return BeatKind::Supraventricular;
    return BeatKind::Normal;
}

bool BeatClassifier::classify(int64_t rrAfter) {
    // A deflection unlike every known beat that splits one normal RR
    // interval in two is no beat: a beat has a rhythm, noise has none.
    const bool splits =
        pending_.rrBefore > 0 && rrAfter > 0 && static_cast<double>(pending_.rrBefore + rrAfter) < kSplitRr * normalRr_;
    // In noise, any deflection that would be an artefact beat.
    const double likeness = pending_.noisy ? kNoiseBeatCorrelation : kSplitDeflectionCorrelation;
    // A firm detection (a QRS slope near the usual one) is kept: the beats of
    // a fast ventricular run split the normal interval too.
    const bool firm = pending_.beat.detectionStrength >= (pending_.noisy ? kFirmDetectionInNoise : kFirmDetection);
    if (splits && !firm && !matchesTrustedForm(pending_.beat, likeness)) return false;
    // In noise, a beat that looks only a little like the known beats is an artefact beat.
    const bool unlikeAny = pending_.noisy && !matchesTrustedForm(pending_.beat, kNoiseBeatCorrelation);
    const int form = joinForm(pending_.beat);
    const BeatKind kind = unlikeAny ? BeatKind::Artefact : decide(pending_, form, rrAfter);
    Form& f = forms_[static_cast<size_t>(form)];
    ++f.votes[static_cast<size_t>(kind)];
    ++exportedVotes_[static_cast<size_t>(f.exported)][static_cast<size_t>(kind)];
    if (pending_.rrBefore > 0 && rrAfter > 0) {
        f.timingSum += static_cast<double>(pending_.rrBefore) / static_cast<double>(pending_.rrBefore + rrAfter);
        ++f.timingCount;
    }
    if (kind == BeatKind::Normal && pending_.rrBefore > 0) {
        const auto rr = static_cast<double>(pending_.rrBefore);
        if (rr > kRrUsableLow * normalRr_ && rr < kRrUsableHigh * normalRr_)
            normalRr_ += kRrLearnWeight * (rr - normalRr_);
    }
    AnalysedBeat b;
    b.sample = pending_.beat.sample;
    b.kind = kind;
    b.form = f.exported;
    b.stMv[0] = pending_.beat.stMv[0];
    b.stMv[1] = pending_.beat.stMv[1];
    b.stValid = pending_.beat.stValid && !pending_.noisy;
    beats_.push_back(b);
    measured_.push_back(pending_.beat);
    noisy_.push_back(pending_.noisy);
    return true;
}

void BeatClassifier::add(const MeasuredBeat& beat, bool noisy) {
    if (normalRr_ <= 0) normalRr_ = kInitialRrSeconds * rateHz_;
    int64_t rr = 0;
    if (havePending_) {
        rr = beat.sample - pending_.beat.sample;
        // After a deflection that is no beat the interval runs from the beat before.
        if (!classify(rr) && pending_.rrBefore > 0) rr += pending_.rrBefore;
    }
    // A QRS whose slope never settles before it lies in noise.
    pending_ = {beat, noisy || !beat.onsetFound, rr};
    havePending_ = true;
}

AnalysisResult BeatClassifier::finish(const BeatModel& model) {
    if (havePending_) classify(0);
    havePending_ = false;
    AnalysisResult out;
    std::vector<int64_t> samples;
    std::vector<const MeasuredBeat*> measured;
    for (size_t i = 0; i < beats_.size(); ++i) {
        samples.push_back(beats_[i].sample);
        measured.push_back(&measured_[i]);
    }
    const FormClusterer::Result forms = FormClusterer::cluster(measured);
    std::vector<bool> unlikeKnown;
    for (const AnalysedBeat& b : beats_) unlikeKnown.push_back(b.kind == BeatKind::Artefact);
    out.features = BeatFeatureExtractor::extract({&samples, &measured, &noisy_, &unlikeKnown, &forms, rateHz_});
    const std::vector<BeatKind> kinds = classifyAll(model, out.features, forms.formOf, samples);
    std::vector<std::array<int64_t, 4>> votes(forms.forms.size());
    for (size_t i = 0; i < beats_.size(); ++i) {
        AnalysedBeat& b = beats_[i];
        b.kind = kinds[i];
        b.form = forms.formOf[i];
        b.pWaveSeen = sinusPWaveBefore(out.features[i]);
        ++votes[static_cast<size_t>(b.form)][static_cast<size_t>(b.kind)];
    }
    for (const auto& v : votes) {
        const auto most = std::max_element(v.begin(), v.end()) - v.begin();
        int64_t count = 0;
        for (int64_t c : v) count += c;
        out.forms.push_back({static_cast<BeatKind>(most), count});
    }
    out.beats = std::move(beats_);
    // A day of measured beats is tens of megabytes: given back at once.
    std::deque<MeasuredBeat>().swap(measured_);
    std::vector<bool>().swap(noisy_);
    return out;
}

std::vector<BeatKind> BeatClassifier::classifyAll(const BeatModel& model, const std::vector<BeatFeatures>& features,
                                                  const std::vector<int32_t>& formOf,
                                                  const std::vector<int64_t>& samples) {
    std::vector<BeatKind> kinds(features.size());
    const int32_t formCount = formOf.empty() ? 0 : *std::max_element(formOf.begin(), formOf.end()) + 1;
    std::vector<std::array<int64_t, 4>> votes(static_cast<size_t>(formCount));
    for (size_t i = 0; i < features.size(); ++i) {
        kinds[i] = model.classify(features[i]);
        ++votes[static_cast<size_t>(formOf[i])][static_cast<size_t>(kinds[i])];
    }
    // A form mostly ventricular takes its beats that are unlike every normal
    // form along: one focus, one shape, however they are timed.
    for (size_t i = 0; i < features.size(); ++i) {
        const auto& v = votes[static_cast<size_t>(formOf[i])];
        const int64_t classified = v[0] + v[1] + v[2];
        const bool ventricularForm = classified >= kFormVoteMinimumBeats &&
                                     static_cast<double>(v[2]) >= kFormVoteShare * static_cast<double>(classified);
        if (ventricularForm && kinds[i] == BeatKind::Normal &&
            features[i][static_cast<size_t>(BeatFeature::NormalCorrelation)] < kFormVoteNormalCorrelation)
            kinds[i] = BeatKind::Ventricular;
    }
    // A beat unlike every normal form, its main deflection turned in a lead,
    // with no P wave before it nor before its form's beats, comes from the
    // ventricles however it is timed: an idioventricular rhythm, a late
    // ventricular beat. Aberrant conduction keeps the atrial P wave.
    for (size_t i = 0; i < features.size(); ++i) {
        const auto& x = features[i];
        const auto at = [&x](BeatFeature f) { return x[static_cast<size_t>(f)]; };
        const bool conducted = kinds[i] == BeatKind::Normal || kinds[i] == BeatKind::Supraventricular;
        if (conducted && at(BeatFeature::NormalCorrelation) < kUnconductedNormalCorrelation &&
            at(BeatFeature::Polarity) >= 1.0f && at(BeatFeature::PWaveCorrelation) < kUnconductedPWaveCorrelation &&
            at(BeatFeature::FormPWaveCorrelation) < kUnconductedPWaveCorrelation)
            kinds[i] = BeatKind::Ventricular;
    }
    // A stretch of conducted beats much faster than the rhythm well before
    // and well after it is a paroxysm of supraventricular tachycardia: a
    // sinus rate climbs and falls over minutes.
    for (size_t i = 0; i < features.size(); ++i) {
        const auto& x = features[i];
        if (kinds[i] == BeatKind::Normal && x[static_cast<size_t>(BeatFeature::RrAgainstEarlier)] < kParoxysmRr &&
            x[static_cast<size_t>(BeatFeature::RrAgainstLater)] < kParoxysmRr)
            kinds[i] = BeatKind::Supraventricular;
    }
    markParoxysmsByOnset(kinds, features, samples);
    return kinds;
}

// A paroxysm longer than the windows above is known by how it starts and
// stops: from one beat to the next, where a sinus rate climbs over many. A
// stretch of conducted beats whose RR fell at once below kParoxysmRr of the
// rhythm just before it, stays below kParoxysmHoldRr of it, and gives way
// to a slower beat again is supraventricular however long it lasts, when
// most of its beats lack the sinus P wave: an ectopic atrial or junctional
// rhythm. With the sinus P wave before each beat it is the sinus node
// itself, or conduction that went from 2:1 to 1:1.
void BeatClassifier::markParoxysmsByOnset(std::vector<BeatKind>& kinds, const std::vector<BeatFeatures>& features,
                                          const std::vector<int64_t>& samples) {
    const size_t n = std::min(kinds.size(), samples.size());
    const auto rr = [&](size_t i) { return static_cast<double>(samples[i] - samples[i - 1]); };
    const auto conducted = [&](size_t i) {
        return kinds[i] == BeatKind::Normal || kinds[i] == BeatKind::Supraventricular;
    };
    // The rhythm before: intervals between conducted beats only, so that
    // the long pauses of ventricular bigeminy do not pass for it.
    std::vector<double> before;
    size_t i = kParoxysmBaselineBeats + 1;
    while (i < n) {
        before.clear();
        for (size_t k = i - kParoxysmBaselineBeats; k < i; ++k)
            if (conducted(k) && conducted(k - 1)) before.push_back(rr(k));
        const bool rhythmKnown = 2 * before.size() >= kParoxysmBaselineBeats;
        if (!rhythmKnown || !conducted(i) || !conducted(i - 1)) {
            ++i;
            continue;
        }
        const auto middle = before.begin() + static_cast<long>(before.size() / 2);
        std::nth_element(before.begin(), middle, before.end());
        const double baseline = *middle;
        if (rr(i) >= static_cast<double>(kParoxysmRr) * baseline) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end + 1 < n && conducted(end + 1) && rr(end + 1) < kParoxysmHoldRr * baseline) ++end;
        size_t sinusPWaves = 0;
        for (size_t k = i; k <= end; ++k) sinusPWaves += sinusPWaveBefore(features[k]) ? 1 : 0;
        const size_t length = end + 1 - i;
        if (end + 1 < n && length >= kParoxysmMinimumBeats && 2 * sinusPWaves < length)
            for (size_t k = i; k <= end; ++k)
                if (kinds[k] == BeatKind::Normal) kinds[k] = BeatKind::Supraventricular;
        i = end + 1;
    }
}

}  // namespace lumen
