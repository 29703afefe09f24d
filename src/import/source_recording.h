#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "import/beat_labels.h"
#include "import/signal_source.h"
#include "store/time_units.h"

namespace lumen {

struct SourceBeat {
    int64_t quarterTicks = 0;  // 1/200 s from the first sample
    BeatLabel label;
};

struct QuarterTickStretch {
    int64_t start = 0;
    int64_t end = 0;
};

// What the importers read from a source, whatever its format.
struct SourceRecording {
    std::string format;    // "WFDB", "EDF+", "ISHNE", ...
    std::string name;      // the record's name, for the summary
    std::string fileName;  // the file that messages about the whole source name
    std::unique_ptr<SignalSource> signal;
    bool hasBeatAnnotations = false;
    std::vector<SourceBeat> beats;
    std::vector<QuarterTickStretch> noise;   // annotated noise: artefact episodes
    std::vector<int64_t> eventQuarterTicks;  // other annotations: manual events
    size_t unknownLabels = 0;                // annotations skipped: no label, or one no table knows
    std::optional<int32_t> startSecondOfDay;
    std::string patient;  // a proposal for the patient line
    // What was wrong with the source and what was used instead, each a
    // sentence naming the file.
    std::vector<std::string> warnings;
};

}  // namespace lumen
