// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/event_list.h"

#include <algorithm>
#include <iterator>

namespace lumen {

void EventList::append(const EventNode& node) {
    const int32_t previousMaximum = runningMaximum_.empty() ? node.positionTicks : runningMaximum_.back();
    nodes_.push_back(node);
    runningMaximum_.push_back(std::max(previousMaximum, node.positionTicks));
    if (descendsAt(nodes_.size() - 1)) {
        ++descentCount_;
    }
}

size_t EventList::insertBeforeFirstNotBelow(const EventNode& node) {
    const size_t index = firstAtOrAfter(node.positionTicks);
    if (index == nodes_.size()) {
        append(node);
        return index;
    }
    // Everything before `index` lies below the new position and the node at
    // `index` not below it: no order breaks, and the running maximum from
    // `index` on is unchanged, the new node's own being its position.
    const auto offset = static_cast<std::ptrdiff_t>(index);
    nodes_.insert(nodes_.begin() + offset, node);
    runningMaximum_.insert(runningMaximum_.begin() + offset, node.positionTicks);
    return index;
}

void EventList::erase(size_t index) {
    if (index >= nodes_.size()) {
        return;
    }
    descentCount_ -= static_cast<size_t>(descendsAt(index)) + static_cast<size_t>(descendsAt(index + 1));
    const auto offset = static_cast<std::ptrdiff_t>(index);
    nodes_.erase(nodes_.begin() + offset);
    runningMaximum_.erase(runningMaximum_.begin() + offset);
    descentCount_ += static_cast<size_t>(descendsAt(index));
    refreshRunningMaximumFrom(index);
}

void EventList::clear() {
    nodes_.clear();
    runningMaximum_.clear();
    descentCount_ = 0;
}

size_t EventList::firstAtOrAfter(int32_t positionTicks) const {
    const auto found = std::lower_bound(runningMaximum_.begin(), runningMaximum_.end(), positionTicks);
    return static_cast<size_t>(std::distance(runningMaximum_.begin(), found));
}

size_t EventList::firstEqual(int32_t positionTicks) const {
    const size_t start = firstAtOrAfter(positionTicks);
    if (isOrdered()) {
        const bool hit = start < nodes_.size() && nodes_[start].positionTicks == positionTicks;
        return hit ? start : nodes_.size();
    }
    const auto found = std::find_if(nodes_.begin() + static_cast<std::ptrdiff_t>(start), nodes_.end(),
                                    [positionTicks](const EventNode& n) { return n.positionTicks == positionTicks; });
    return static_cast<size_t>(std::distance(nodes_.begin(), found));
}

bool EventList::descendsAt(size_t index) const {
    return index > 0 && index < nodes_.size() && nodes_[index].positionTicks < nodes_[index - 1].positionTicks;
}

void EventList::refreshRunningMaximumFrom(size_t index) {
    for (size_t i = index; i < nodes_.size(); ++i) {
        const int32_t before = i == 0 ? nodes_[i].positionTicks : runningMaximum_[i - 1];
        const int32_t value = std::max(before, nodes_[i].positionTicks);
        if (value == runningMaximum_[i]) {
            return;  // from here on the maxima were right already
        }
        runningMaximum_[i] = value;
    }
}

}  // namespace lumen
