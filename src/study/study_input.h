// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "assembly/calendar_date.h"
#include "store/beat_word.h"

namespace lumen {

class Recording;
class TrendTable;

// What the study report is computed from, read out of a recording: its beat
// words, its atrial fibrillation and artefact stretches, the trend tables'
// flags and ST levels, its length and start.
struct StudyInput {
    std::vector<BeatWord> words;
    std::vector<std::pair<int32_t, int32_t>> fibrillationTicks;  // [start, end] from the recording start
    std::vector<std::pair<int32_t, int32_t>> artefactTicks;
    std::vector<uint8_t> trendFlags;  // one per 10-second block
    std::vector<int8_t> stChannel1;
    std::vector<int8_t> stChannel2;
    int32_t lengthTicks = 0;
    int32_t startTickOfDay = 0;
    std::optional<CalendarDate> startDate;
    int64_t flaggedEvents = 0;  // the "To printer" row

    int32_t blockCount() const { return static_cast<int32_t>(trendFlags.size()); }

    // The input of an open recording with its trend tables loaded; the
    // recording's length and date come from its source notes where kept.
    static StudyInput read(Recording& recording, const TrendTable& trends, int64_t flaggedEvents);
};

}  // namespace lumen
