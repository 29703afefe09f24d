// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/trend_extremes.h"

#include "store/beat_list.h"
#include "store/trend_table.h"

namespace lumen {

void TrendExtremes::resetFlags() { trends_.resetFlags(); }

void TrendExtremes::rebuildHeartRate() { trends_.rebuildHeartRate(beats_); }

void TrendExtremes::excludeExtreme(uint8_t code, EventSink& sink, int32_t positionTicks) {
    trends_.excludeExtreme(code, sink, positionTicks);
}

}  // namespace lumen
