// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/lumen_run.h"
#include "store/beat_word.h"

namespace lumen::testing {

// One line of `holter events`: the row's short name ("_" for spaces).
struct HolterEvent {
    std::string row;
    int32_t position = 0;
    int32_t timeOfDay = 0;
    int32_t episode = -1;
};

// The events of one row as the recording tool lists them.
std::vector<HolterEvent> holterEvents(const DemoHome& home, const std::string& row);

// The right half of the status line in English for the nth of `count`
// events at that time of day.
std::string statusRight(int32_t ordinal, int32_t count, int32_t timeOfDayTicks);

// The beat word that holter.mem holds now at a beat position (1/200 s).
std::optional<BeatWord> beatInFile(const DemoHome& home, int64_t positionQuarterTicks);

}  // namespace lumen::testing
