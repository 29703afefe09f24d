// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw/geometry.h"
#include "study/study_figures.h"
#include "study/study_input.h"

namespace lumen {

class Recording;

// An event the reviewer flagged for the report, printed as a strip.
struct FlaggedEvent {
    int32_t positionTicks = 0;
    std::string name;
};

// Everything the study report prints: its numbers, the series its trends
// are drawn from, the recording its strips are cut from and the reviewer's
// texts. Texts are UTF-8.
struct StudyReportSources {
    const StudyFigures& figures;
    const StudyInput& input;
    Recording& recording;
    std::vector<FlaggedEvent> flaggedEvents;
    std::string patientLine;  // as the language's "Patient: %s" prints it
    std::string interpretation;
    std::string reviewer;
    std::string reportDate;  // "YYYY-MM-DD", the day the report is made
    int32_t unitsPerMillivolt = -26;
    Size sheetHundredthMm{21000, 29700};
};

}  // namespace lumen
