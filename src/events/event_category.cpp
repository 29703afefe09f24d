// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/event_category.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "events/row_painter.h"

namespace lumen {

EventCategory::EventCategory(int32_t row, TimelineLayout& screenLayout, const TimelineLayout& printLayout,
                             std::string shortName, std::string longName)
    : row_(row),
      shortName_(std::move(shortName)),
      longName_(std::move(longName)),
      screenLayout_(screenLayout),
      printLayout_(printLayout) {}

void EventCategory::setSelected(bool on) {
    if (on != selected_) {
        current_ = kNoCurrent;
        painted_ = false;
    }
    selected_ = on;
}

void EventCategory::paint(Canvas& canvas, PaintTarget target) {
    const bool paper = target == PaintTarget::Paper;
    if (!paper) {
        painted_ = true;
    }
    RowPainter::paintCategory(canvas, paper ? printLayout_ : screenLayout_, target,
                              CategoryRowView{row_, shortName_, events_.nodes(), selected_, events_.isOrdered()});
}

void EventCategory::clear() {
    events_.clear();
    current_ = kNoCurrent;
}

void EventCategory::append(int32_t positionTicks, int32_t timeOfDayTicks, int32_t episodeIndex) {
    events_.append(EventNode{positionTicks, timeOfDayTicks, episodeIndex});
}

void EventCategory::insertSorted(int32_t positionTicks, int32_t timeOfDayTicks, int32_t episodeIndex) {
    const size_t index = events_.insertBeforeFirstNotBelow(EventNode{positionTicks, timeOfDayTicks, episodeIndex});
    if (hasCurrent() && index <= current_) {
        ++current_;  // the current event stays the same event
    }
}

int32_t EventCategory::seekNearest(int32_t eventTime) {
    if (events_.empty()) {
        return 0;
    }
    // Times far outside the recording land on its first or last event.
    const int64_t position = std::clamp<int64_t>(int64_t{eventTime} - start(), INT32_MIN, INT32_MAX);
    const size_t after = events_.firstAtOrAfter(static_cast<int32_t>(position));
    if (after == events_.size()) {
        current_ = events_.size() - 1;
    } else {
        current_ = after;
        if (after > 0) {
            const int64_t toLater = std::llabs(int64_t{eventTimeAt(after)} - eventTime);
            const int64_t toEarlier = std::llabs(int64_t{eventTimeAt(after - 1)} - eventTime);
            if (toEarlier < toLater) {
                current_ = after - 1;  // on a tie the later event stays
            }
        }
    }
    return currentTimeWithWindowCheck();
}

int32_t EventCategory::next() {
    if (!hasCurrent()) {
        return 0;
    }
    if (current_ + 1 < events_.size()) {
        ++current_;
    }
    return currentTimeWithWindowCheck();
}

int32_t EventCategory::previous() {
    if (!hasCurrent()) {
        return 0;
    }
    if (current_ > 0) {
        --current_;
    }
    return currentTimeWithWindowCheck();
}

int32_t EventCategory::first() {
    if (events_.empty()) {
        return 0;
    }
    current_ = 0;
    return eventTimeAt(0);
}

int32_t EventCategory::currentTime() const {
    return hasCurrent() ? eventTimeAt(current_) : 0;
}

int32_t EventCategory::currentTimeOfDay() const {
    return hasCurrent() ? events_[current_].timeOfDayTicks : 0;
}

int32_t EventCategory::currentOrdinal() const {
    return hasCurrent() ? static_cast<int32_t>(current_ + 1) : 0;
}

int32_t EventCategory::removeAt(int32_t eventTime) {
    const size_t found = events_.firstEqual(eventTime - start());
    current_ = found < events_.size() ? found : kNoCurrent;
    return removeCurrent();
}

int32_t EventCategory::removeCurrent() {
    if (!hasCurrent()) {
        return -1;
    }
    const int32_t episode = events_[current_].episodeIndex;
    events_.erase(current_);
    current_ = kNoCurrent;
    return episode;
}

int32_t EventCategory::removeFirst() {
    first();
    return removeCurrent();
}

int32_t EventCategory::seekAtOrAfter(int32_t eventTime) {
    if (events_.empty()) {
        return 0;
    }
    const size_t found = events_.firstAtOrAfter(eventTime - start());
    if (found == events_.size()) {
        return 0;  // the current event is left as it was
    }
    current_ = found;
    return eventTimeAt(found);
}

int32_t EventCategory::currentTimeWithWindowCheck() {
    const int32_t time = eventTimeAt(current_);
    if (time < screenLayout_.windowStart() || time > screenLayout_.windowEnd()) {
        screenLayout_.requestNewWindow();
    }
    return time;
}

}  // namespace lumen
