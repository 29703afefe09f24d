// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "assembly/calendar_date.h"
#include "import/beat_labels.h"
#include "import/signal_source.h"
#include "store/time_units.h"

namespace lumen {

struct SourceBeat {
    int64_t quarterTicks = 0;  // 1/200 s from the first sample
    BeatLabel label;
    bool pWaveSeen = false;  // the analysis saw a P wave before it (annotated beats: not known)
};

// An annotation that is neither a beat nor noise: a diary entry, an event
// button. It becomes a patient marker.
struct SourceEvent {
    int64_t quarterTicks = 0;
    std::string text;  // as the source wrote it; empty when it has none
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
    std::vector<QuarterTickStretch> noise;  // annotated noise: artefact episodes
    // Rhythm annotations: whether the source has any, and its atrial
    // fibrillation and flutter stretches.
    bool hasRhythmAnnotations = false;
    std::vector<QuarterTickStretch> fibrillation;
    std::vector<QuarterTickStretch> ventricularFlutter;  // no beats inside
    // The record names no signal, or its signal files are absent: the
    // beats alone are imported, over a flat signal.
    bool signalAbsent = false;
    std::vector<SourceEvent> events;  // other annotations: manual events
    size_t unknownLabels = 0;         // annotations skipped: no label, or one no table knows
    std::optional<int32_t> startSecondOfDay;
    std::optional<CalendarDate> startDate;
    std::string patient;     // a proposal for the patient line, in the source's bytes
    bool pacemaker = false;  // the source's notes say the rhythm is paced
    // What was wrong with the source and what was used instead, each a
    // sentence naming the file.
    std::vector<std::string> warnings;
    // Files the signal is read from that the import made (a converted
    // record): kept while a reader of the signal lives, then removed.
    std::shared_ptr<const void> scratch;
};

}  // namespace lumen
