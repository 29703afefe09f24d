// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "store/event_sink.h"

namespace lumen::testing {

// An event sink that keeps what it was handed, in order.
class RecordingSink final : public EventSink {
public:
    struct Event {
        uint8_t code;
        int32_t positionTicks;
        int32_t timeOfDayTicks;
        int32_t episodeIndex;
        bool sorted;
        friend bool operator==(const Event&, const Event&) = default;
    };

    void dispatchCode(uint8_t code, int32_t position, int32_t timeOfDay, int32_t episode) override {
        events.push_back({code, position, timeOfDay, episode, false});
    }
    void dispatchCodeSorted(uint8_t code, int32_t position, int32_t timeOfDay, int32_t episode) override {
        events.push_back({code, position, timeOfDay, episode, true});
    }
    void setRecordingSpan(int32_t start, int32_t end) override {
        spanStart = start;
        spanEnd = end;
    }

    std::vector<Event> events;
    int32_t spanStart = -1;
    int32_t spanEnd = -1;
};

}  // namespace lumen::testing
