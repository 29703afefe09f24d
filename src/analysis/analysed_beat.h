// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "analysis/beat_features.h"

namespace lumen {

enum class BeatKind : uint8_t { Normal, Supraventricular, Ventricular, Artefact };

// A stretch of the source signal in its own samples, end excluded.
struct SampleStretch {
    int64_t start = 0;
    int64_t end = 0;
};

// One beat the analysis found: its R peak in source samples, its class, the
// form (template) its shape belongs to and its ST level in each lead.
struct AnalysedBeat {
    int64_t sample = 0;
    BeatKind kind = BeatKind::Normal;
    int32_t form = 0;
    float stMv[2] = {0.0f, 0.0f};
    bool stValid = false;
    bool pWaveSeen = false;  // the dominant form's P wave stands before it: the atria conducted it
};

// A beat form: the shape shared by a group of beats.
struct AnalysedForm {
    BeatKind kind = BeatKind::Normal;
    int64_t beatCount = 0;
};

struct AnalysisResult {
    std::vector<AnalysedBeat> beats;                // in time order
    std::vector<AnalysedForm> forms;                // indexed by AnalysedBeat::form
    std::vector<SampleStretch> noise;               // too noisy to analyse: artefact
    std::vector<SampleStretch> leadOff;             // flat or saturated
    bool pacemaker = false;                         // the source's notes say the rhythm is paced
    std::vector<SampleStretch> ventricularFlutter;  // flutter or fibrillation: no beats inside
    std::vector<BeatFeatures> features;             // per beat: what the classes were told from
};

}  // namespace lumen
