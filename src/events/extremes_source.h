// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "store/event_sink.h"

namespace lumen {

// What the catalog needs from the trend table to find the heart-rate and ST
// extremes afresh after beats changed their labels.
class ExtremesSource {
public:
    virtual ~ExtremesSource() = default;
    virtual void resetFlags() = 0;
    virtual void rebuildHeartRate() = 0;
    // Marks the minute around `positionTicks` (nothing for -1), searches the
    // extreme of `code` (36, 51, 60 or 61) again and posts it to `sink`.
    virtual void excludeExtreme(uint8_t code, EventSink& sink, int32_t positionTicks) = 0;
};

}  // namespace lumen
