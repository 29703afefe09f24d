// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>

#include "view/pixel_streams.h"

namespace lumen {

// Where a walk over the strip's beat columns, counting beats from 1 from
// the left, stopped.
struct BeatWalk {
    int32_t column = 0;     // the last beat column seen, 0 when none
    int32_t count = 0;      // beats counted up to there
    bool ranToEnd = false;  // the strip has fewer beats than asked for
};

// Beat columns lie left of `limit` (W - (p - 1)).
class BeatSelection {
public:
    BeatSelection(const PixelStreams& streams, int32_t limit) : streams_(streams), limit_(limit) {}

    // Stops at the beat with this ordinal (column 0 for ordinal 0).
    BeatWalk walkTo(int32_t ordinal) const;
    // The ordinal of the beat whose half-way boundaries enclose `column`;
    // nothing when the column lies before the first boundary and column 0
    // holds no beat.
    std::optional<int32_t> ordinalNear(int32_t column) const;
    int32_t beatCount() const;

private:
    const PixelStreams& streams_;
    int32_t limit_;
};

}  // namespace lumen
