// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "study/study_figures.h"

namespace lumen {

// The report's numbers as one JSON object, for other programs and checks.
class StudyJson {
public:
    static std::string text(const StudyFigures& figures);
    // "HH:MM:SS" of a time of day in ticks.
    static std::string clockText(int64_t tickOfDay);
};

}  // namespace lumen
