// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// What the store hands every event of a recording to: the event catalog
// implements it. Times are ticks of 1/50 s; a time of day of 0 means
// "position plus the recording start"; an episode index of -1 means none.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void dispatchCode(uint8_t code, int32_t positionTicks, int32_t timeOfDayTicks,
                              int32_t episodeIndex) = 0;
    virtual void dispatchCodeSorted(uint8_t code, int32_t positionTicks, int32_t timeOfDayTicks,
                                    int32_t episodeIndex) = 0;
    virtual void setRecordingSpan(int32_t startTimeOfDayTicks, int32_t endTimeOfDayTicks) = 0;
};

}  // namespace lumen
