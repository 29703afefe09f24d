// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "study/study_figures.h"
#include "study/study_input.h"

namespace lumen {

// Every number of the study report, from what the recording stores, by the
// definitions of docs/report.md.
class StudyCalculator {
public:
    static StudyFigures compute(const StudyInput& input);

    // ST levels are stored in steps of 0.4/64 mV.
    static constexpr double kMicrovoltsPerStStep = 400.0 / 64.0;
};

}  // namespace lumen
