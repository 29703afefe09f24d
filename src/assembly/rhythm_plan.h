// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "assembly/calendar_date.h"
#include "store/beat_word.h"
#include "store/clock.h"

namespace lumen {

// The beat shapes of the synthetic heart. A beat's form code is the form the
// analysis groups its shape into: narrow supraventricular beats share the
// dominant normal form.
enum class BeatShape : uint8_t {
    Normal,
    Supraventricular,  // premature ectopic P wave, normal QRS
    Aberrant,          // supraventricular with right-bundle-branch-block QRS
    VentricularA,
    VentricularB,
    VentricularTachy,
};
inline constexpr int kBeatShapeCount = 6;

inline constexpr uint8_t kFormNormal = 0;
inline constexpr uint8_t kFormAberrant = 1;
inline constexpr uint8_t kFormVentricularA = 2;
inline constexpr uint8_t kFormVentricularB = 3;
inline constexpr uint8_t kFormVentricularTachy = 4;
inline constexpr int kFormCount = 5;
inline constexpr uint8_t kFormNone = kNoFormCode;

// The beat classes of the store, as the plan's bytes hold them.
inline constexpr uint8_t kClassNormal = static_cast<uint8_t>(BeatClass::Normal);
inline constexpr uint8_t kClassSupraventricular = static_cast<uint8_t>(BeatClass::Supraventricular);
inline constexpr uint8_t kClassVentricular = static_cast<uint8_t>(BeatClass::Ventricular);
inline constexpr uint8_t kClassArtefact = static_cast<uint8_t>(BeatClass::Artefact);

struct PlannedBeat {
    int32_t positionQuarterTicks = 0;  // R peak, 1/200 s from the recording start
    BeatShape shape = BeatShape::Normal;
    uint8_t beatClass = kClassNormal;
    uint8_t formCode = kFormNormal;
    bool pWaveSeen = false;  // the analysis saw a P wave before it: evidence against fibrillation
};

struct PlannedEpisode {
    uint8_t code = 0;  // annotation code 32..53
    bool flagged = false;
    int32_t firstBeat = 0;  // indices into the beat list, both included
    int32_t lastBeat = 0;
    int32_t startTenths = 0;  // 0.1 s from the recording start
    int32_t endTenths = 0;
};

enum class StretchKind : uint8_t { Motion, LeadOff, MuscleNoise, StShift };

// A stretch of the recording with a disturbance or an ST shift.
struct Stretch {
    StretchKind kind = StretchKind::Motion;
    int32_t startTicks = 0;
    int32_t endTicks = 0;
    double level1Mv = 0.0;  // ST shift or noise level, per lead
    double level2Mv = 0.0;

    bool contains(int32_t tick) const { return tick >= startTicks && tick < endTicks; }
};

// Everything the synthetic patient did, before it becomes signal and tables.
struct RhythmPlan {
    int32_t hours = 24;
    Clock start{8, 3, 27};
    std::optional<CalendarDate> startDate;
    int32_t sampleCount = 0;  // per channel
    std::vector<PlannedBeat> beats;
    std::vector<PlannedEpisode> episodes;  // in time order
    std::vector<Stretch> stretches;
    std::vector<int32_t> markerTenths;  // patient markers, in time order

    int32_t blockCount() const { return sampleCount / kSamplesPerBlock; }
    int32_t startTick() const {
        return start.hour * kTicksPerHour + start.minute * kTicksPerMinute + start.second * kTicksPerSecond;
    }
    // The disturbance stretch that holds the tick, or nullptr.
    const Stretch* disturbanceAt(int32_t tick) const {
        for (const Stretch& s : stretches)
            if ((s.kind == StretchKind::Motion || s.kind == StretchKind::LeadOff) && s.contains(tick)) return &s;
        return nullptr;
    }
};

}  // namespace lumen
