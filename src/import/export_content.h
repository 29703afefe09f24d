// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assembly/calendar_date.h"
#include "store/amplitude_code.h"

namespace lumen {

struct ExportBeat {
    int32_t quarterTicks = 0;  // 1/200 s from the first sample
    uint8_t beatClass = 0;     // 0 N, 1 S, 2 V, 3 artefact
    bool leadOff = false;      // a lead-off mark, not a beat
};

struct ExportEvent {
    int32_t startTenths = 0;
    int32_t endTenths = 0;
    std::string name;  // the event row's name: VRUN, PAUSE, Manual, ...
};

// A recording as it goes out to other tools: both channels at 50 Hz as
// stored (as long as the source was, where that is known), the beats with
// the physician's corrections, the episodes and the patient markers.
struct ExportContent {
    std::vector<uint8_t> channel1;
    std::vector<uint8_t> channel2;
    double unitsPerMv = kFinestUnitsPerMillivolt;
    int32_t startSecondOfDay = 0;
    std::optional<CalendarDate> startDate;
    std::string patient;
    std::vector<ExportBeat> beats;
    std::vector<ExportEvent> events;
};

// The name of a patient marker without a text of its own.
inline constexpr const char* kManualEventName = "Manual";

// The row name of an episode code, for the annotations of an export; empty
// for codes that carry no event.
std::string episodeName(uint8_t code);
// Whether an annotation text is one of those names (the importers derive
// those episodes again instead of reading them).
bool isEpisodeName(const std::string& text);

}  // namespace lumen
