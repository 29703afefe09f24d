// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "events/event_list.h"
#include "events/event_source.h"
#include "events/timeline_layout.h"

namespace lumen {

// A row of events of one category (or the to-printer row) with a current
// event that navigation moves.
class EventCategory final : public EventSource {
public:
    EventCategory(int32_t row, TimelineLayout& screenLayout, const TimelineLayout& printLayout,
                  std::string shortName, std::string longName);

    void setSelected(bool on) override;
    void paint(Canvas& canvas, PaintTarget target) override;
    void clear() override;
    void append(int32_t positionTicks, int32_t timeOfDayTicks, int32_t episodeIndex) override;
    void insertSorted(int32_t positionTicks, int32_t timeOfDayTicks, int32_t episodeIndex) override;
    int32_t seekNearest(int32_t eventTime) override;
    int32_t next() override;
    int32_t previous() override;
    int32_t first() override;
    int32_t count() const override { return static_cast<int32_t>(events_.size()); }
    int32_t currentTime() const override;
    std::string_view longName() const override { return longName_; }
    std::string_view shortName() const override { return shortName_; }
    bool needsRepaint() const override { return !painted_; }
    int32_t currentTimeOfDay() const override;
    int32_t currentOrdinal() const override;
    int32_t removeAt(int32_t eventTime) override;
    int32_t removeCurrent() override;
    int32_t removeFirst() override;
    bool isEmpty() const override { return events_.empty(); }
    // Ordinals are places in the list and so always run 1, 2, 3 ...
    void renumber() override {}
    int32_t seekAtOrAfter(int32_t eventTime) override;

    int32_t row() const { return row_; }
    bool selected() const { return selected_; }
    std::span<const EventNode> events() const { return events_.nodes(); }

private:
    static constexpr size_t kNoCurrent = static_cast<size_t>(-1);

    bool hasCurrent() const { return current_ < events_.size(); }
    int32_t start() const { return screenLayout_.recordingStart(); }
    int32_t eventTimeAt(size_t index) const { return events_[index].positionTicks + start(); }
    int32_t currentTimeWithWindowCheck();

    int32_t row_;
    std::string shortName_;
    std::string longName_;
    TimelineLayout& screenLayout_;
    const TimelineLayout& printLayout_;
    EventList events_;
    size_t current_ = kNoCurrent;
    bool selected_ = false;
    bool painted_ = false;
};

}  // namespace lumen
