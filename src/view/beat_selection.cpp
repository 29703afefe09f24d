// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/beat_selection.h"

namespace lumen {

BeatWalk BeatSelection::walkTo(int32_t ordinal) const {
    BeatWalk walk;
    for (int32_t x = 0; x < limit_; ++x) {
        if (walk.count == ordinal) return walk;
        if (!streams_.holdsBeat(x)) continue;
        ++walk.count;
        walk.column = x;
    }
    walk.ranToEnd = walk.count != ordinal;
    return walk;
}

std::optional<int32_t> BeatSelection::ordinalNear(int32_t column) const {
    int32_t previous = 0;
    int32_t k = 0;
    for (int32_t b = 0; b < limit_; ++b) {
        if (!streams_.holdsBeat(b)) continue;
        if (column <= (previous + b) / 2) break;
        previous = b;
        ++k;
    }
    if (!streams_.holdsBeat(previous)) return std::nullopt;
    return k;
}

int32_t BeatSelection::beatCount() const {
    int32_t count = 0;
    for (int32_t x = 0; x < limit_; ++x) count += streams_.holdsBeat(x) ? 1 : 0;
    return count;
}

}  // namespace lumen
