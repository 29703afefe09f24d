// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assembly/rhythm_plan.h"
#include "assembly/stored_signal.h"
#include "store/amplitude_code.h"
#include "demo/demo_random.h"

namespace lumen {

// Turns a rhythm plan into signal: the three-equation dynamical ECG model
// (McSharry et al. 2003) run at 250 per second, motion artefact added, a
// low-pass filter applied before keeping every fifth value, then baseline
// drift, muscle noise, quantisation and the lead-off railing.
class EcgSynthesizer {
public:
    EcgSynthesizer(const RhythmPlan& plan, uint32_t seed);
    StoredSignal run();

private:
    struct ModelBeat {
        double rSeconds = 0.0;
        BeatShape shape = BeatShape::Normal;
        double amplitude = 1.0;
        double st1Mv = 0.0;
        double st2Mv = 0.0;
    };
    struct ActiveWave {
        double centerRad = 0.0;
        double reachRad = 0.0;
        double inverseTwoWidthSq = 0.0;
        double a1 = 0.0;
        double a2 = 0.0;
    };
    struct MotionBump {
        double centerSeconds = 0.0;
        double widthSeconds = 0.0;
        double amplitude1Mv = 0.0;
        double amplitude2Mv = 0.0;
    };

    void prepareBeats();
    void prepareMotion();
    void enterSegment(size_t segment);
    void addBeatWaves(size_t beat, double offsetRad, double rateFactor);
    void stepModel(int64_t n, double& value1, double& value2);
    void addMotion(double seconds, double& value1, double& value2);
    double stLevel(double seconds, int lead) const;
    double noiseLevel(int32_t tick) const;
    double leadOffWeight(int32_t tick) const;

    const RhythmPlan& plan_;
    DemoRandom random_;
    std::vector<ModelBeat> beats_;  // with one beat before and two after the recording
    std::vector<MotionBump> bumps_;
    size_t firstBump_ = 0;
    size_t segment_ = 0;
    double omega_ = 0.0;
    std::array<ActiveWave, 3 * 7> waves_{};
    int waveCount_ = 0;
    double z1_ = 0.0;
    double z2_ = 0.0;
    double respirationCos_ = 1.0;
    double respirationSin_ = 0.0;
    double respirationStepCos_ = 1.0;
    double respirationStepSin_ = 0.0;
};

}  // namespace lumen
