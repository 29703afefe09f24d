#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "demo/ecg_synthesizer.h"
#include "demo/form_templates.h"
#include "recording/rhythm_plan.h"
#include "demo/trend_builder.h"
#include "store/code_table.h"

namespace lumen {

inline constexpr uint8_t kDemoAmplitudeCode = 3;  // 51 sample units per millivolt

// A synthetic recording with everything the analysis knows about it, and
// the two files of the recording folder as bytes.
struct DemoRecording {
    RhythmPlan plan;
    SynthesizedSignal signal;
    TrendTables trends;
    std::vector<DemoForm> forms;
    CodeTable codeTable{};
    uint8_t amplitudeCode = kDemoAmplitudeCode;
    std::string patientLine;  // without its line break
    std::vector<uint8_t> holterMem;  // empty when the file would not fit 24-bit offsets
    std::vector<uint8_t> formsMem;
};

class DemoRecordingBuilder {
public:
    static DemoRecording build(int32_t hours, uint32_t seed);

    // Section contents, exposed for the tests.
    static std::vector<uint8_t> beatWords(const RhythmPlan& plan);
    static std::vector<uint8_t> episodeRecords(const RhythmPlan& plan);
    static std::vector<uint8_t> markerTimes(const RhythmPlan& plan);
    static std::vector<uint8_t> extremeRecord(const RhythmPlan& plan, const TrendTables& trends, int32_t block);
    static std::vector<uint8_t> clockSection(const RhythmPlan& plan);
    static std::vector<uint8_t> patientSection(const std::string& line, uint8_t amplitudeCode = kDemoAmplitudeCode);

    // Shared with the importers: a code table built from the signal, and
    // the holter.mem image of everything else in the recording.
    static CodeTable buildCodeTable(const SynthesizedSignal& signal);
    static std::vector<uint8_t> assemble(const DemoRecording& r);
};

}  // namespace lumen
