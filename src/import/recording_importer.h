// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "assembly/recording_image.h"
#include "import/signal_conditioner.h"
#include "import/source_recording.h"
#include "lang/language_texts.h"

namespace lumen {

// The longest record whose beat positions fit the 25 bits of a beat word:
// 2^25 quarter ticks, 46.6 hours.
inline constexpr int64_t kMaxQuarterTicks = (int64_t{1} << 25) - 1;

// The sampling rates a source may have: the stored 50 Hz up to what
// Holter and resting ECG recorders use.
inline constexpr double kLowestSourceRateHz = kStoredRateHz;
inline constexpr double kHighestSourceRateHz = 10000.0;

struct ImportedRecording {
    RecordingImage recording;  // everything the recording folder holds
    ConditionedSignal signal;
    size_t leadOffBeats = 0;
    size_t secondVentricularForm = 0;  // ventricular beats of another shape
    bool analysed = false;             // the beats come from the analysis
};

// Makes a recording of a source: stored signal, beat words, derived
// episodes, trend tables, beat templates and the holter.mem image.
class RecordingImporter {
public:
    // Throws ImportError naming `sourceName` when the source cannot fit.
    // With `detect`, or when the source has no beat annotations, the
    // analysis finds and classifies the beats. The patient line (`patient`,
    // else the source's) is written in the code page of the home's
    // `language`.
    static ImportedRecording build(SourceRecording& source, const std::string& sourceName, const std::string& patient,
                                   bool detect = false, int32_t language = LanguageTexts::kDefaultLanguage);
};

}  // namespace lumen
