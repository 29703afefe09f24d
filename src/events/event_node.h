// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// One event of a row. Its ordinal is its 1-based place in the row's list.
struct EventNode {
    int32_t positionTicks = 0;   // from the recording start; the list is ordered by it
    int32_t timeOfDayTicks = 0;  // as the source recorded it
    int32_t episodeIndex = -1;   // episode record it came from, -1 when none
};

}  // namespace lumen
