// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "assembly/calendar_date.h"

namespace lumen {

// A patient marker's text from the source: a diary entry, an event button.
struct MarkerText {
    int32_t tenths = 0;  // the marker's time, as holter.mem stores it
    std::string text;    // UTF-8, one line
    bool operator==(const MarkerText&) const = default;
};

// What the source said that holter.mem has no place for.
struct SourceNotes {
    std::optional<CalendarDate> startDate;
    std::optional<int32_t> sourceTicks;  // the signal's true length, before the padding to whole blocks
    std::vector<MarkerText> markers;     // in time order

    bool empty() const { return !startDate && !sourceTicks && markers.empty(); }
    // The texts of the markers at `tenths`, joined by "; "; empty when none.
    std::string textAt(int32_t tenths) const;
};

// recording/source.txt beside holter.mem: UTF-8 text, one item a line:
//   date<TAB>YYYY-MM-DD
//   signalTicks<TAB>TICKS
//   TENTHS<TAB>TEXT        (one line per marker text)
// Lines starting with '#' are comments. A recording without it (a demo
// recording, one imported earlier) simply knows none of these.
class RecordingSidecar {
public:
    static constexpr const char* kFileName = "source.txt";
    static constexpr size_t kMaxFileBytes = size_t{4} << 20;
    static constexpr size_t kMaxTextBytes = 1000;

    static std::string format(const SourceNotes& notes);
    // The notes of the text; a damaged text gives none, and `warning` says
    // why in a sentence naming `path`.
    static SourceNotes parse(std::string_view text, const std::string& path, std::string& warning);
    // The notes of the recording folder; none when it has no sidecar, and
    // none with a warning when the sidecar is damaged or too large.
    static SourceNotes read(const std::string& recordingFolder, std::string& warning);
};

}  // namespace lumen
