// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "analysis/analysed_beat.h"
#include "assembly/trend_builder.h"
#include "import/source_recording.h"

namespace lumen {

// What the analysis of a source without beat annotations gives the
// recording: beats with classes and forms, noise as artefact episodes, and
// the ST trend from each beat's ST level.
class BeatAnalysis {
public:
    static void addBeats(const AnalysisResult& result, double rateHz, SourceRecording& source);
    // Replaces the ST tables by the mean ST level of the normal beats of each
    // block that follow a normal beat (at least three, as in any block).
    static void applySt(const AnalysisResult& result, double rateHz, TrendTables& trends);
};

}  // namespace lumen
