// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string_view>

#include "events/timeline_layout.h"
#include "platform/draw/canvas.h"

namespace lumen {

// One row of the event browser. Times are event times in ticks (recording
// start of day + position); 0 answers "no such event".
class EventSource {
public:
    virtual ~EventSource() = default;

    virtual void setSelected(bool on) = 0;
    virtual void paint(Canvas& canvas, PaintTarget target) = 0;
    virtual void clear() = 0;
    virtual void append(int32_t positionTicks, int32_t timeOfDayTicks, int32_t episodeIndex) = 0;
    virtual void insertSorted(int32_t positionTicks, int32_t timeOfDayTicks, int32_t episodeIndex) = 0;
    virtual int32_t seekNearest(int32_t eventTime) = 0;
    virtual int32_t next() = 0;
    virtual int32_t previous() = 0;
    virtual int32_t first() = 0;
    virtual int32_t count() const = 0;
    virtual int32_t currentTime() const = 0;
    virtual std::string_view longName() const = 0;
    virtual std::string_view shortName() const = 0;
    virtual bool needsRepaint() const = 0;
    virtual int32_t currentTimeOfDay() const = 0;
    virtual int32_t currentOrdinal() const = 0;
    virtual int32_t removeAt(int32_t eventTime) = 0;  // → episode index
    virtual int32_t removeCurrent() = 0;              // → episode index
    virtual int32_t removeFirst() = 0;                // → episode index
    virtual bool isEmpty() const = 0;
    virtual void renumber() = 0;
    virtual int32_t seekAtOrAfter(int32_t eventTime) = 0;
};

}  // namespace lumen
