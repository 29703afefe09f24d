// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/beat_measurer.h"

namespace lumen {

// One form of a recording: the mean shape of its beats.
struct BeatForm {
    QrsShape shape{};
    WaveShape pWave{};
    WaveShape tWave{};
    double widthSeconds = 0.0;
    int64_t beatCount = 0;
};

// Groups all the beats of a recording into forms by the shape of their QRS
// in both leads, as a reviewer sorts them: a first pass lets each beat join
// the form it is most like or start a new one, a second gives every beat
// to the form it is most like once all forms are known, so that the first
// beats of a form are not left behind in a form of their own.
class FormClusterer {
public:
    struct Result {
        std::vector<BeatForm> forms;  // largest first
        std::vector<int32_t> formOf;  // per beat
    };
    static Result cluster(const std::vector<const MeasuredBeat*>& beats);

    static constexpr double kSameFormCorrelation = 0.92;
    static constexpr double kSameFormAmplitudeLow = 0.75, kSameFormAmplitudeHigh = 1.33;
    static constexpr size_t kMaxForms = 64;
};

}  // namespace lumen
