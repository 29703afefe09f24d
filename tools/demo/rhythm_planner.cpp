// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/rhythm_planner.h"

#include <algorithm>
#include <cmath>

#include "demo/deterministic_math.h"
#include "assembly/episode_rules.h"
#include "store/time_units.h"

namespace lumen {
namespace {

struct EventRate {
    uint8_t code;
    int perDay;
};

using E = EpisodeRules;

// How often each arrhythmia occurs in a day of this patient.
constexpr EventRate kEventRates[] = {
    {E::kVentricularIsolated, 160},     {E::kVentricularCouplet, 14},     {E::kVentricularRun, 6},
    {E::kVentricularBigeminy, 6},       {E::kVentricularTachycardia, 2},  {E::kSupraventricularIsolated, 220},
    {E::kSupraventricularCouplet, 16},  {E::kSupraventricularRun, 8},     {E::kSupraventricularTachycardia, 3},
    {E::kPause, 5},
};

int scaledCount(int perDay, int32_t hours) {
    return std::max(1, static_cast<int>(std::lround(perDay * hours / 24.0)));
}

}  // namespace

RhythmPlanner::RhythmPlanner(int32_t hours, uint32_t seed) : random_(0x484F4C54ULL * 1000003ULL + seed) {
    plan_.hours = hours;
    plan_.sampleCount = hours * 3600 * kTicksPerSecond;
    durationSeconds_ = hours * 3600.0;
}

RhythmPlan RhythmPlanner::plan() {
    placeStretches();
    scheduleEvents();
    generateBeats();
    markDisturbedBeats();
    placeMarkers();
    flagEpisodes();
    return std::move(plan_);
}

void RhythmPlanner::addStretch(StretchKind kind, double startSeconds, double lengthSeconds, double level1,
                               double level2) {
    const double end = std::min(startSeconds + lengthSeconds, durationSeconds_ - 5.0);
    Stretch s{kind, static_cast<int32_t>(startSeconds * kTicksPerSecond), static_cast<int32_t>(end * kTicksPerSecond),
              level1, level2};
    plan_.stretches.push_back(s);
}

void RhythmPlanner::placeStretches() {
    const double d = durationSeconds_;
    const int32_t hours = plan_.hours;
    // Activity: the first burst early (a walk to the car), more by day.
    const int burstCount = std::max(1, hours / 2);
    for (int i = 0; i < burstCount; ++i) {
        const double start = i == 0 ? 1200.0 + random_.uniform(0, 300) : (i + random_.uniform(0.1, 0.6)) * d / burstCount;
        const double clockHour = std::fmod((plan_.startTick() / 50.0 + start) / 3600.0, 24.0);
        if (i > 0 && (clockHour >= 22.5 || clockHour < 6.5)) continue;  // asleep
        const double length = random_.uniform(240, 600);
        bursts_.push_back({start, std::min(start + length, d - 120), random_.uniform(30, 50)});
    }
    // Exertional ST depression during the first burst, a vasospastic ST
    // elevation later on.
    const Burst& first = bursts_.front();
    addStretch(StretchKind::StShift, first.startSeconds + 60, first.endSeconds - first.startSeconds + 60, -0.22, -0.08);
    const double elevation = std::max(d * 0.42, first.endSeconds + 360.0);
    addStretch(StretchKind::StShift, elevation, std::min(360.0, d * 0.08), 0.05, 0.20);

    addStretch(StretchKind::LeadOff, d * 0.62 + random_.uniform(0, 60), 40, 0, 0);
    if (hours >= 12) addStretch(StretchKind::LeadOff, d * 0.87 + random_.uniform(0, 60), 75, 0, 0);

    const int motionCount = scaledCount(8, hours);
    for (int i = 0; i < motionCount; ++i) {
        double start = (i + random_.uniform(0.3, 0.7)) * d / motionCount;
        const double length = random_.uniform(15, 40);
        while (disturbedNear(start - 30, start + length + 30)) start += 120;
        addStretch(StretchKind::Motion, start, length, random_.uniform(0.5, 1.2), random_.uniform(0.4, 1.0));
    }
    const int muscleCount = scaledCount(10, hours);
    for (int i = 0; i < muscleCount; ++i) {
        const double start = (i + random_.uniform(0.1, 0.8)) * d / muscleCount;
        const double level = random_.uniform(0.04, 0.08);
        addStretch(StretchKind::MuscleNoise, start, random_.uniform(60, 240), level, level * 0.8);
    }
}

bool RhythmPlanner::disturbedNear(double fromSeconds, double toSeconds) const {
    for (const Stretch& s : plan_.stretches) {
        if (s.kind != StretchKind::Motion && s.kind != StretchKind::LeadOff) continue;
        if (toSeconds >= s.startTicks / 50.0 && fromSeconds <= s.endTicks / 50.0) return true;
    }
    return false;
}

void RhythmPlanner::scheduleEvents() {
    const double first = 45.0;
    const double last = durationSeconds_ - 240.0;
    for (const EventRate& rate : kEventRates) {
        const int count = scaledCount(rate.perDay, plan_.hours);
        for (int i = 0; i < count; ++i) {
            double t = random_.uniform(first, last);
            for (int attempt = 0; attempt < 30 && disturbedNear(t - 20, t + 70); ++attempt)
                t = random_.uniform(first, last);
            pending_.push_back({t, rate.code});
        }
    }
    std::stable_sort(pending_.begin(), pending_.end(),
                     [](const PendingEvent& a, const PendingEvent& b) { return a.seconds < b.seconds; });
}

double RhythmPlanner::heartRateAt(double seconds) const {
    const double clockHour = std::fmod((plan_.startTick() / 50.0 + seconds) / 3600.0, 24.0);
    double rate = 68.0 + 12.0 * deterministicCos(2.0 * kPi * (clockHour - 15.0) / 24.0);
    for (const Burst& b : bursts_) {
        if (seconds < b.startSeconds || seconds > b.endSeconds + 600) continue;
        const double rise = std::min(1.0, (seconds - b.startSeconds) / 60.0);
        const double fall = seconds > b.endSeconds ? deterministicExp(-(seconds - b.endSeconds) / 90.0) : 1.0;
        rate += b.extraBpm * rise * fall;
    }
    return rate;
}

double RhythmPlanner::sinusInterval(double seconds) {
    const double rate = heartRateAt(seconds);
    // Respiratory sinus arrhythmia is stronger at rest; Mayer waves and a
    // random component make up the rest of the variability.
    const double respiration = 0.015 + 0.03 * std::clamp((80.0 - rate) / 30.0, 0.0, 1.0);
    variability_ = 0.85 * variability_ + 0.5 * random_.gaussian();
    const double factor = 1.0 + respiration * deterministicSin(2.0 * kPi * 0.25 * seconds + respirationPhase_) +
                          0.015 * deterministicSin(2.0 * kPi * 0.09 * seconds) + 0.012 * variability_;
    return std::clamp(60.0 / rate * factor, 0.38, 1.5);
}

void RhythmPlanner::emit(double seconds, BeatShape shape) {
    int32_t position = static_cast<int32_t>(std::floor(seconds * kQuarterTicksPerSecond + 0.5));
    if (!plan_.beats.empty()) position = std::max(position, plan_.beats.back().positionQuarterTicks + 40);
    PlannedBeat beat;
    beat.positionQuarterTicks = position;
    beat.shape = shape;
    switch (shape) {
    case BeatShape::Normal: break;
    case BeatShape::Supraventricular: beat.beatClass = kClassSupraventricular; break;
    case BeatShape::Aberrant: beat.beatClass = kClassSupraventricular; beat.formCode = kFormAberrant; break;
    case BeatShape::VentricularA: beat.beatClass = kClassVentricular; beat.formCode = kFormVentricularA; break;
    case BeatShape::VentricularB: beat.beatClass = kClassVentricular; beat.formCode = kFormVentricularB; break;
    case BeatShape::VentricularTachy:
        beat.beatClass = kClassVentricular;
        beat.formCode = kFormVentricularTachy;
        break;
    }
    plan_.beats.push_back(beat);
}

void RhythmPlanner::openEpisode(uint8_t code) {
    PlannedEpisode e;
    e.code = code;
    e.firstBeat = static_cast<int32_t>(plan_.beats.size());
    plan_.episodes.push_back(e);
}

void RhythmPlanner::closeEpisode() {
    PlannedEpisode& e = plan_.episodes.back();
    e.lastBeat = static_cast<int32_t>(plan_.beats.size()) - 1;
    e.startTenths = static_cast<int32_t>(tenthsOfQuarterTicks(plan_.beats[e.firstBeat].positionQuarterTicks));
    e.endTenths = static_cast<int32_t>(tenthsCoveringQuarterTicks(plan_.beats[e.lastBeat].positionQuarterTicks));
}

double RhythmPlanner::emitEctopicTrain(uint8_t code, double first, int count, double intervalSeconds,
                                       BeatShape shape) {
    openEpisode(code);
    double t = first;
    for (int i = 0; i < count; ++i) {
        BeatShape s = shape;
        // Aberrant conduction: at the onset of a tachycardia (long-short
        // sequence) and now and then elsewhere.
        const bool onset = code == 53 && i < 2;
        if (shape == BeatShape::Supraventricular && (onset || random_.uniform() < 0.12)) s = BeatShape::Aberrant;
        emit(t, s);
        if (i + 1 < count) t += intervalSeconds * random_.uniform(0.97, 1.03);
    }
    closeEpisode();
    return t;
}

// Emits the beats of one arrhythmia after the beat at `previous`; returns
// when the sinus node fires next.
double RhythmPlanner::fireEvent(uint8_t code, double previous, double sinusRr) {
    const double resumeAfterVentricular = std::min(1.4 * sinusRr, 1.8);
    const BeatShape focus = random_.uniform() < 0.8 ? BeatShape::VentricularA : BeatShape::VentricularB;
    switch (code) {
    case 32: {  // full compensatory pause: the sinus rhythm goes on underneath
        const double v = previous + std::max(0.34, random_.uniform(0.55, 0.68) * sinusRr);
        emitEctopicTrain(code, v, 1, 0, focus);
        return previous + 2.0 * sinusRr;
    }
    case 33: {
        openEpisode(code);
        const double v1 = previous + std::max(0.34, 0.6 * sinusRr);
        emit(v1, focus);
        const double v2 = v1 + random_.uniform(0.42, 0.52);
        // Multiform couplets: the second focus always shows up in the day.
        emit(v2, BeatShape::VentricularB);
        closeEpisode();
        return v2 + resumeAfterVentricular;
    }
    case 34: {
        const double first = previous + std::max(0.34, 0.6 * sinusRr);
        const double last = emitEctopicTrain(code, first, 3 + random_.below(3), random_.uniform(0.46, 0.55), focus);
        return last + resumeAfterVentricular;
    }
    case 37: {
        const double first = previous + std::max(0.34, 0.55 * sinusRr);
        const double last =
            emitEctopicTrain(code, first, 8 + random_.below(9), random_.uniform(0.34, 0.40), BeatShape::VentricularTachy);
        return last + std::min(1.5 * sinusRr, 1.9);
    }
    case 35: {  // bigeminy: every sinus beat followed by a coupled VES
        openEpisode(code);
        const int cycles = 6 + random_.below(15);
        double n = previous;
        for (int i = 0; i < cycles; ++i) {
            if (i > 0) emit(n, BeatShape::Normal);
            emit(n + std::max(0.34, 0.6 * sinusRr), focus);
            n += 2.0 * sinusRr;
        }
        closeEpisode();
        return n;
    }
    case 48: {  // resets the sinus node: no compensatory pause
        const double s = previous + std::max(0.34, random_.uniform(0.62, 0.78) * sinusRr);
        emitEctopicTrain(code, s, 1, 0, BeatShape::Supraventricular);
        return s + 1.02 * sinusRr;
    }
    case 49:
    case 50:
    case 53: {
        const int count = code == 49 ? 2 : code == 50 ? 3 + random_.below(4) : 12 + random_.below(29);
        const double interval = code == 53 ? random_.uniform(0.37, 0.42) : random_.uniform(0.40, 0.50);
        const double first = previous + std::max(0.34, 0.65 * sinusRr);
        const double last = emitEctopicTrain(code, first, count, interval, BeatShape::Supraventricular);
        return last + (code == 53 ? std::min(1.5 * sinusRr, 1.9) : 1.08 * sinusRr);
    }
    case 52: {  // sinus arrest
        const double resume = previous + random_.uniform(2.2, 3.2);
        PlannedEpisode e;
        e.code = code;
        e.firstBeat = static_cast<int32_t>(plan_.beats.size()) - 1;
        plan_.episodes.push_back(e);
        emit(resume, BeatShape::Normal);
        closeEpisode();
        return resume + sinusInterval(resume);
    }
    default: break;
    }
    return previous + sinusRr;
}

void RhythmPlanner::generateBeats() {
    respirationPhase_ = random_.uniform(0, 2.0 * kPi);
    double t = random_.uniform(0.3, 0.8);
    double previous = t - 60.0 / heartRateAt(0);
    double quietUntil = 0.0;
    size_t next = 0;
    const double end = durationSeconds_ - 0.04;
    while (t < end) {
        const double rr = t - previous;
        const bool due = next < pending_.size() && pending_[next].seconds <= t && t >= quietUntil &&
                         !disturbedNear(t - 5, t + 60) && !plan_.beats.empty();
        if (due) {
            t = fireEvent(pending_[next].code, previous, rr);
            previous = plan_.beats.back().positionQuarterTicks / kQuarterTicksPerSecond;
            quietUntil = t + 6.0;
            ++next;
            continue;
        }
        emit(t, BeatShape::Normal);
        previous = t;
        t += sinusInterval(t);
    }
    // The ectopic train may run past the end of a short recording.
    const int32_t limit = (plan_.sampleCount - 1) * kQuarterTicksPerTick;
    while (!plan_.beats.empty() && plan_.beats.back().positionQuarterTicks > limit) plan_.beats.pop_back();
    while (!plan_.episodes.empty() && plan_.episodes.back().lastBeat >= static_cast<int32_t>(plan_.beats.size()))
        plan_.episodes.pop_back();
}

void RhythmPlanner::markDisturbedBeats() {
    for (PlannedBeat& beat : plan_.beats) {
        const Stretch* s = plan_.disturbanceAt(static_cast<int32_t>(ticksOfQuarterTicks(beat.positionQuarterTicks)));
        if (s == nullptr) continue;
        if (s->kind == StretchKind::LeadOff) {
            beat.formCode = kFormNone;
            beat.beatClass = kClassSupraventricular;  // label 125, printed "L"
        } else {
            beat.beatClass = kClassArtefact;
        }
    }
}

void RhythmPlanner::placeMarkers() {
    for (const PlannedEpisode& e : plan_.episodes)
        if (e.code == 53) plan_.markerTenths.push_back(e.startTenths + 40);  // palpitations
    const int extra = scaledCount(4, plan_.hours);
    for (int i = 0; i < extra; ++i)
        plan_.markerTenths.push_back(static_cast<int32_t>(random_.uniform(60, durationSeconds_ - 60) * 10));
    std::sort(plan_.markerTenths.begin(), plan_.markerTenths.end());
}

void RhythmPlanner::flagEpisodes() { EpisodeRules::flagForReport(plan_.episodes); }

}  // namespace lumen
