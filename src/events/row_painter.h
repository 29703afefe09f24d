// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "events/event_node.h"
#include "events/timeline_layout.h"
#include "platform/draw/canvas.h"

namespace lumen {

struct CategoryRowView {
    int32_t row = 0;
    std::string_view shortName;
    std::span<const EventNode> events;
    bool selected = false;
    bool ordered = false;  // every event at or after its predecessor
};

struct TimeScaleRowView {
    int32_t row = 0;
    std::string_view label;  // "  Time (h)" in English
    bool selected = false;
};

// Draws one row of the event browser with the layout's current tools: the
// name, a tick per visible event (or the ten-minute scale) and the count.
class RowPainter {
public:
    static void paintCategory(Canvas& canvas, const TimelineLayout& layout, PaintTarget target,
                              const CategoryRowView& row);
    static void paintTimeScale(Canvas& canvas, const TimelineLayout& layout, PaintTarget target,
                               const TimeScaleRowView& row);

    // Length of a ten-minute tick: k = 0 marks a full hour.
    static int32_t scaleTickLength(const TimelineLayout& layout, int32_t k);
    // The first multiple of ten minutes at or after `eventTime`.
    static int32_t firstScaleTickTime(int32_t eventTime);

private:
    static void paintEventTicks(Canvas& canvas, const TimelineLayout& layout, const CategoryRowView& row);
    static void paintScaleTicks(Canvas& canvas, const TimelineLayout& layout, PaintTarget target,
                                const TimeScaleRowView& row);
    static void paintScaleTick(Canvas& canvas, const TimelineLayout& layout, PaintTarget target, bool selected,
                               Point at, int32_t hour, int32_t k);
    static void writeRecordingLength(Canvas& canvas, const TimelineLayout& layout, const Rect& countCell,
                                     std::string_view trailer);
};

}  // namespace lumen
