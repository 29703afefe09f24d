// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "events/event_node.h"

namespace lumen {

// The events of one row in list order. The feed appends without sorting, so
// the order is by position only as long as the sources deliver in time
// order; the searches answer what a walk from the head would find in any
// case, but by binary search over the running maximum of the positions.
class EventList {
public:
    size_t size() const { return nodes_.size(); }
    bool empty() const { return nodes_.empty(); }
    const EventNode& operator[](size_t index) const { return nodes_[index]; }
    std::span<const EventNode> nodes() const { return nodes_; }
    // True while every event stands at or after its predecessor.
    bool isOrdered() const { return descentCount_ == 0; }

    void append(const EventNode& node);
    // Links the node before the first one whose position is not below its
    // own (at the end when there is none); returns the node's index.
    size_t insertBeforeFirstNotBelow(const EventNode& node);
    void erase(size_t index);
    void clear();

    // Index of the first event, in list order, whose position is at least
    // `positionTicks`; size() when there is none.
    size_t firstAtOrAfter(int32_t positionTicks) const;
    // Index of the first event whose position equals `positionTicks`;
    // size() when there is none.
    size_t firstEqual(int32_t positionTicks) const;

private:
    bool descendsAt(size_t index) const;  // index > 0 and below its predecessor
    void refreshRunningMaximumFrom(size_t index);

    std::vector<EventNode> nodes_;
    std::vector<int32_t> runningMaximum_;  // max position over nodes_[0..i]
    size_t descentCount_ = 0;
};

}  // namespace lumen
