// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "assembly/form_templates.h"
#include "assembly/recording_sidecar.h"
#include "assembly/rhythm_plan.h"
#include "assembly/stored_signal.h"
#include "assembly/trend_builder.h"
#include "store/amplitude_code.h"
#include "store/code_table.h"

namespace lumen {

// A recording with everything its analysis knows about it, and the two
// files of the recording folder as bytes: what the demo generator and the
// importers make, whatever the recording came from.
struct RecordingImage {
    RhythmPlan plan;
    StoredSignal signal;
    TrendTables trends;
    std::vector<MeanForm> forms;
    CodeTable codeTable{};
    uint8_t amplitudeCode = kFinestAmplitudeCode;
    std::string patientLine;         // without its line break, in the home's code page
    std::vector<uint8_t> holterMem;  // empty when the file would not fit 24-bit offsets
    std::vector<uint8_t> formsMem;
    SourceNotes notes;  // recording/source.txt: what holter.mem has no place for
};

// Lays out holter.mem from a recording image, section by section.
class RecordingAssembler {
public:
    // Section contents, exposed for the tests.
    static std::vector<uint8_t> beatWords(const RhythmPlan& plan);
    static std::vector<uint8_t> episodeRecords(const RhythmPlan& plan);
    static std::vector<uint8_t> markerTimes(const RhythmPlan& plan);
    static std::vector<uint8_t> extremeRecord(const RhythmPlan& plan, const TrendTables& trends, int32_t block);
    static std::vector<uint8_t> clockSection(const RhythmPlan& plan);
    static std::vector<uint8_t> patientSection(const std::string& line, uint8_t amplitudeCode = kFinestAmplitudeCode);

    // A code table built from the signal's own sample differences, and the
    // holter.mem image of everything else in the recording.
    static CodeTable buildCodeTable(const StoredSignal& signal);
    static std::vector<uint8_t> assemble(const RecordingImage& r);
};

}  // namespace lumen
