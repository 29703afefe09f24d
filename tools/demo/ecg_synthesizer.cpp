// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/ecg_synthesizer.h"

#include <algorithm>
#include <cmath>

#include "demo/beat_morphology.h"
#include "demo/deterministic_math.h"
#include "store/time_units.h"

namespace lumen {
namespace {

constexpr double kModelRateHz = 250.0;
constexpr double kModelStepSeconds = 1.0 / kModelRateHz;
constexpr int kDecimation = 5;
constexpr int kHalfTaps = 30;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kBaseNoiseMv = 0.012;

// A sine kept by rotation, so that a long run needs no library calls.
struct Oscillator {
    double c = 1.0;
    double s = 0.0;
    double stepCos = 1.0;
    double stepSin = 0.0;
    Oscillator(double frequencyHz, double rateHz, double phase)
        : c(deterministicCos(phase)), s(deterministicSin(phase)),
          stepCos(deterministicCos(kTwoPi * frequencyHz / rateHz)),
          stepSin(deterministicSin(kTwoPi * frequencyHz / rateHz)) {}
    double next() {
        const double nc = c * stepCos - s * stepSin;
        s = s * stepCos + c * stepSin;
        c = nc;
        return s;
    }
};

// Windowed-sinc low-pass at 18 Hz for the 250-per-second model output, so
// nothing above the 25 Hz limit of the stored signal folds back.
std::array<double, 2 * kHalfTaps + 1> lowPassTaps() {
    std::array<double, 2 * kHalfTaps + 1> taps{};
    const double cutoff = 18.0 / kModelRateHz;
    double sum = 0.0;
    for (int k = -kHalfTaps; k <= kHalfTaps; ++k) {
        const double x = kTwoPi * cutoff * k;
        const double sinc = k == 0 ? 1.0 : deterministicSin(x) / x;
        const double window = 0.54 + 0.46 * deterministicCos(kPi * k / kHalfTaps);
        taps[k + kHalfTaps] = sinc * window;
        sum += taps[k + kHalfTaps];
    }
    for (double& t : taps) t /= sum;
    return taps;
}

// exp(-u) for 0 <= u <= 16 by linear interpolation in a table: the Gaussian
// terms are needed millions of times and to far less than 8-bit precision.
class NegativeExpTable {
public:
    NegativeExpTable() {
        for (size_t i = 0; i < values_.size(); ++i) values_[i] = deterministicExp(-static_cast<double>(i) / kPerUnit);
    }
    double operator()(double u) const {
        const double x = u * kPerUnit;
        if (x >= kLast) return 0.0;
        const auto i = static_cast<size_t>(x);
        const double f = x - static_cast<double>(i);
        return values_[i] + f * (values_[i + 1] - values_[i]);
    }

private:
    static constexpr double kPerUnit = 256.0;
    static constexpr double kLast = 16.0 * kPerUnit;
    std::array<double, 16 * 256 + 2> values_{};
};

const NegativeExpTable& negativeExp() {
    static const NegativeExpTable table;
    return table;
}

double angleScale(AngleScale scale, double rateFactor) {
    switch (scale) {
    case AngleScale::RateFactor: return rateFactor;
    case AngleScale::SqrtRateFactor: return std::sqrt(rateFactor);
    case AngleScale::None: break;
    }
    return 1.0;
}

uint8_t quantize(double mv) {
    const double units = std::floor(kBaselineSample + kFinestUnitsPerMillivolt * mv + 0.5);
    return static_cast<uint8_t>(std::clamp(units, 0.0, 255.0));
}

}  // namespace

EcgSynthesizer::EcgSynthesizer(const RhythmPlan& plan, uint32_t seed)
    : plan_(plan), random_(0x5349474EULL * 7919ULL + seed),
      respirationStepCos_(deterministicCos(kTwoPi * 0.25 * kModelStepSeconds)),
      respirationStepSin_(deterministicSin(kTwoPi * 0.25 * kModelStepSeconds)) {}

void EcgSynthesizer::prepareBeats() {
    const double respirationPhase = random_.uniform(0, kTwoPi);
    auto modelBeat = [&](double r, BeatShape shape) {
        ModelBeat b;
        b.rSeconds = r;
        b.shape = shape;
        // Breathing turns the heart's electrical axis a little.
        b.amplitude = 1.0 + 0.04 * deterministicSin(kTwoPi * 0.25 * r + respirationPhase);
        const bool conducted = shape == BeatShape::Normal || shape == BeatShape::Supraventricular ||
                               shape == BeatShape::Aberrant;
        if (conducted) {
            b.st1Mv = stLevel(r, 1);
            b.st2Mv = stLevel(r, 2);
        }
        return b;
    };
    const auto& planned = plan_.beats;
    const double first = planned.empty() ? 1.0 : planned.front().positionQuarterTicks / kQuarterTicksPerSecond;
    const double last = planned.empty() ? 1.0 : planned.back().positionQuarterTicks / kQuarterTicksPerSecond;
    beats_.push_back(modelBeat(std::min(first, 0.0) - 1.0, BeatShape::Normal));
    for (const PlannedBeat& p : planned) beats_.push_back(modelBeat(p.positionQuarterTicks / kQuarterTicksPerSecond, p.shape));
    const double end = std::max(last, plan_.sampleCount / 50.0);
    beats_.push_back(modelBeat(end + 0.8, BeatShape::Normal));
    beats_.push_back(modelBeat(end + 1.6, BeatShape::Normal));
}

double EcgSynthesizer::stLevel(double seconds, int lead) const {
    double level = 0.0;
    for (const Stretch& s : plan_.stretches) {
        if (s.kind != StretchKind::StShift) continue;
        const double a = s.startTicks / 50.0;
        const double b = s.endTicks / 50.0;
        if (seconds <= a || seconds >= b) continue;
        const double ramp = std::min({1.0, (seconds - a) / 60.0, (b - seconds) / 60.0});
        level += ramp * (lead == 1 ? s.level1Mv : s.level2Mv);
    }
    return level;
}

void EcgSynthesizer::prepareMotion() {
    for (const Stretch& s : plan_.stretches) {
        if (s.kind != StretchKind::Motion) continue;
        for (double t = s.startTicks / 50.0; t < s.endTicks / 50.0; t += random_.uniform(0.1, 0.7)) {
            MotionBump b;
            b.centerSeconds = t;
            b.widthSeconds = random_.uniform(0.04, 0.5);
            // The artefact stays inside its stretch.
            const double margin = 4.0 * b.widthSeconds;
            if (t - margin < s.startTicks / 50.0 || t + margin > s.endTicks / 50.0) continue;
            b.amplitude1Mv = s.level1Mv * random_.gaussian();
            b.amplitude2Mv = s.level2Mv * random_.gaussian();
            bumps_.push_back(b);
        }
    }
    std::stable_sort(bumps_.begin(), bumps_.end(),
                     [](const MotionBump& a, const MotionBump& b) { return a.centerSeconds < b.centerSeconds; });
}

void EcgSynthesizer::addBeatWaves(size_t beat, double offsetRad, double rateFactor) {
    const ModelBeat& b = beats_[beat];
    auto add = [&](const GaussianWave& w, double scale) {
        if (w.peak1Mv == 0.0 && w.peak2Mv == 0.0) return;
        ActiveWave& a = waves_[waveCount_++];
        const double width = w.widthRad * rateFactor;
        a.centerRad = w.angleRad * angleScale(w.scale, rateFactor) + offsetRad;
        a.reachRad = 5.0 * width;
        a.inverseTwoWidthSq = 1.0 / (2.0 * width * width);
        // Peak height a*b^2/omega is independent of the rate when the width
        // grows with the rate factor, so a is set from the unscaled width.
        const double gain = kTwoPi * scale / (w.widthRad * w.widthRad);
        a.a1 = gain * w.peak1Mv;
        a.a2 = gain * w.peak2Mv;
    };
    for (const GaussianWave& w : morphologyOf(b.shape)) add(w, b.amplitude);
    add(stShiftWave(b.st1Mv, b.st2Mv), 1.0);
}

// In segment s (from R peak s to R peak s+1) the phase runs from 0 to 2 pi;
// the waves of the beats around it are placed a whole turn apart.
void EcgSynthesizer::enterSegment(size_t segment) {
    segment_ = segment;
    const double rr = beats_[segment + 1].rSeconds - beats_[segment].rSeconds;
    omega_ = kTwoPi / rr;
    const double rateFactor = std::sqrt(1.0 / rr);
    waveCount_ = 0;
    if (segment > 0) addBeatWaves(segment - 1, -kTwoPi, rateFactor);
    addBeatWaves(segment, 0.0, rateFactor);
    addBeatWaves(segment + 1, kTwoPi, rateFactor);
}

void EcgSynthesizer::stepModel(int64_t n, double& value1, double& value2) {
    const double t = static_cast<double>(n) * kModelStepSeconds;
    while (segment_ + 2 < beats_.size() && t >= beats_[segment_ + 1].rSeconds) enterSegment(segment_ + 1);
    const double theta = (t - beats_[segment_].rSeconds) * omega_;
    double force1 = 0.0;
    double force2 = 0.0;
    const NegativeExpTable& gauss = negativeExp();
    for (int i = 0; i < waveCount_; ++i) {
        const ActiveWave& w = waves_[i];
        const double d = theta - w.centerRad;
        if (d > w.reachRad || d < -w.reachRad) continue;
        const double g = -d * gauss(d * d * w.inverseTwoWidthSq);
        force1 += w.a1 * g;
        force2 += w.a2 * g;
    }
    // Respiration moves the baseline the model relaxes to (its z0).
    const double nc = respirationCos_ * respirationStepCos_ - respirationSin_ * respirationStepSin_;
    respirationSin_ = respirationSin_ * respirationStepCos_ + respirationCos_ * respirationStepSin_;
    respirationCos_ = nc;
    z1_ += kModelStepSeconds * (force1 - (z1_ - 0.06 * respirationSin_));
    z2_ += kModelStepSeconds * (force2 - (z2_ - 0.035 * respirationSin_));
    value1 = z1_;
    value2 = z2_;
    addMotion(t, value1, value2);
}

void EcgSynthesizer::addMotion(double seconds, double& value1, double& value2) {
    while (firstBump_ < bumps_.size() &&
           bumps_[firstBump_].centerSeconds + 4.0 * 0.5 < seconds)
        ++firstBump_;
    for (size_t i = firstBump_; i < bumps_.size(); ++i) {
        const MotionBump& b = bumps_[i];
        const double d = seconds - b.centerSeconds;
        if (d < -2.0) break;
        if (d > 4.0 * b.widthSeconds || d < -4.0 * b.widthSeconds) continue;
        const double g = negativeExp()(d * d / (2.0 * b.widthSeconds * b.widthSeconds));
        value1 += b.amplitude1Mv * g;
        value2 += b.amplitude2Mv * g;
    }
}

double EcgSynthesizer::noiseLevel(int32_t tick) const {
    double level = kBaseNoiseMv;
    for (const Stretch& s : plan_.stretches) {
        if (!s.contains(tick)) continue;
        if (s.kind == StretchKind::MuscleNoise) level = std::max(level, s.level1Mv);
        if (s.kind == StretchKind::Motion) level = std::max(level, 0.05);
    }
    return level;
}

// How far the lead-off rail has taken over: it pulls in within 10 samples
// and lets go with a 0.3 s recovery of the amplifier.
double EcgSynthesizer::leadOffWeight(int32_t tick) const {
    double weight = 0.0;
    for (const Stretch& s : plan_.stretches) {
        if (s.kind != StretchKind::LeadOff || tick < s.startTicks) continue;
        if (tick < s.endTicks) weight = std::max(weight, std::min(1.0, (tick - s.startTicks + 1) / 10.0));
        else if (tick < s.endTicks + 75) weight = std::max(weight, deterministicExp(-(tick - s.endTicks) / 15.0));
    }
    return weight;
}

StoredSignal EcgSynthesizer::run() {
    prepareBeats();
    prepareMotion();
    enterSegment(0);
    const auto taps = lowPassTaps();
    const int32_t samples = plan_.sampleCount;
    StoredSignal out;
    out.channel1.resize(static_cast<size_t>(samples));
    out.channel2.resize(static_cast<size_t>(samples));
    Oscillator drift1a(0.021, 50.0, random_.uniform(0, kTwoPi));
    Oscillator drift1b(0.057, 50.0, random_.uniform(0, kTwoPi));
    Oscillator drift2a(0.017, 50.0, random_.uniform(0, kTwoPi));
    Oscillator drift2b(0.063, 50.0, random_.uniform(0, kTwoPi));
    // Blocks that some disturbance reaches (lead-off with its recovery).
    std::vector<uint8_t> touched(static_cast<size_t>(plan_.blockCount()) + 1, 0);
    for (const Stretch& s : plan_.stretches) {
        if (s.kind == StretchKind::StShift) continue;
        const int32_t last = std::min(s.endTicks + 75, samples - 1) / kSamplesPerBlock;
        for (int32_t b = s.startTicks / kSamplesPerBlock; b <= last; ++b) touched[static_cast<size_t>(b)] = 1;
    }
    constexpr int kRing = 128;
    std::array<double, kRing> ring1{};
    std::array<double, kRing> ring2{};
    const int64_t lastStep = int64_t{kDecimation} * (samples - 1) + kHalfTaps;
    for (int64_t n = -kHalfTaps; n <= lastStep; ++n) {
        double v1 = 0.0;
        double v2 = 0.0;
        stepModel(n, v1, v2);
        ring1[static_cast<size_t>(n + kRing) % kRing] = v1;
        ring2[static_cast<size_t>(n + kRing) % kRing] = v2;
        const int64_t centre = n - kHalfTaps;
        if (centre < 0 || centre % kDecimation != 0) continue;
        double f1 = 0.0;
        double f2 = 0.0;
        for (int k = 0; k <= 2 * kHalfTaps; ++k) {
            const size_t slot = static_cast<size_t>(centre - kHalfTaps + k + kRing) % kRing;
            f1 += taps[k] * ring1[slot];
            f2 += taps[k] * ring2[slot];
        }
        const auto tick = static_cast<int32_t>(centre / kDecimation);
        const bool disturbed = touched[static_cast<size_t>(tick / kSamplesPerBlock)] != 0;
        const double noise = disturbed ? noiseLevel(tick) : kBaseNoiseMv;
        f1 += 0.10 * drift1a.next() + 0.05 * drift1b.next() + noise * random_.gaussian();
        f2 += 0.08 * drift2a.next() + 0.05 * drift2b.next() + 0.8 * noise * random_.gaussian();
        const double w = disturbed ? leadOffWeight(tick) : 0.0;
        uint8_t s1 = quantize(f1);
        uint8_t s2 = quantize(f2);
        if (w > 0.0) {
            s1 = static_cast<uint8_t>(std::floor(s1 * (1.0 - w) + 255.0 * w + 0.5));
            s2 = static_cast<uint8_t>(std::floor(s2 * (1.0 - w) + 1.0 * w + 0.5));
        }
        out.channel1[static_cast<size_t>(tick)] = s1;
        out.channel2[static_cast<size_t>(tick)] = s2;
    }
    return out;
}

}  // namespace lumen
