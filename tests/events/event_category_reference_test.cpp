// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <list>
#include <random>

#include "events/event_category.h"

namespace lumen {
namespace {

// The row as a doubly linked list walked from its head, the plain way; the
// fast row must give the same answers whatever order the events came in.
class ListRow {
public:
    explicit ListRow(int32_t start) : start_(start) {}

    void append(int32_t p, int32_t e) { nodes_.push_back({p, e}); }
    void insertSorted(int32_t p, int32_t e) {
        auto it = nodes_.begin();
        while (it != nodes_.end() && it->position < p) {
            ++it;
        }
        nodes_.insert(it, {p, e});
    }
    int32_t seekAtOrAfter(int32_t t) {
        auto it = nodes_.begin();
        while (it != nodes_.end() && it->position < t - start_) {
            ++it;
        }
        return it == nodes_.end() ? 0 : (current_ = it, time());
    }
    int32_t seekNearest(int32_t t) {
        if (nodes_.empty()) {
            return 0;
        }
        if (seekAtOrAfter(t) == 0) {
            current_ = std::prev(nodes_.end());
        } else if (current_ != nodes_.begin()) {
            const auto before = std::prev(current_);
            if (std::llabs(int64_t{before->position} + start_ - t) <
                std::llabs(int64_t{current_->position} + start_ - t)) {
                current_ = before;
            }
        }
        return time();
    }
    int32_t next() {
        if (current_ == nodes_.end()) {
            return 0;
        }
        if (std::next(current_) != nodes_.end()) {
            ++current_;
        }
        return time();
    }
    int32_t previous() {
        if (current_ == nodes_.end()) {
            return 0;
        }
        if (current_ != nodes_.begin()) {
            --current_;
        }
        return time();
    }
    int32_t removeAt(int32_t t) {
        current_ = nodes_.begin();
        while (current_ != nodes_.end() && current_->position != t - start_) {
            ++current_;
        }
        return removeCurrent();
    }
    int32_t removeCurrent() {
        if (current_ == nodes_.end()) {
            return -1;
        }
        const int32_t episode = current_->episode;
        nodes_.erase(current_);
        current_ = nodes_.end();
        return episode;
    }
    int32_t ordinal() {
        return current_ == nodes_.end() ? 0 : static_cast<int32_t>(std::distance(nodes_.begin(), current_)) + 1;
    }
    int32_t time() const { return current_ == nodes_.end() ? 0 : current_->position + start_; }

private:
    struct Node {
        int32_t position;
        int32_t episode;
    };
    int32_t start_;
    std::list<Node> nodes_;
    std::list<Node>::iterator current_ = nodes_.end();
};

void checkSameAsList(uint32_t seed, int32_t appendDisorderPercent) {
    constexpr int32_t kStart = 1449000;
    TimelineLayout screen;
    TimelineLayout paper;
    screen.setRecordingSpan(kStart, kStart + 4320000);
    EventCategory row(0, screen, paper, "VISO", "Ventricular Beat");
    ListRow reference(kStart);
    std::mt19937 random(seed);
    const auto uniform = [&random](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random);
    };
    int32_t lastPosition = 0;
    int32_t episode = 0;
    for (int32_t step = 0; step < 3000; ++step) {
        const int32_t op = uniform(0, 9);
        const int32_t t = kStart + uniform(-200, 2200);
        if (op <= 2) {
            const bool disorder = uniform(0, 99) < appendDisorderPercent;
            lastPosition = disorder ? uniform(0, 2000) : lastPosition + uniform(0, 20);
            row.append(lastPosition, 0, episode);
            reference.append(lastPosition, episode++);
        } else if (op == 3) {
            const int32_t p = uniform(0, 2000);
            row.insertSorted(p, 0, episode);
            reference.insertSorted(p, episode++);
        } else if (op == 4) {
            ASSERT_EQ(row.seekNearest(t), reference.seekNearest(t)) << step;
        } else if (op == 5) {
            ASSERT_EQ(row.seekAtOrAfter(t), reference.seekAtOrAfter(t)) << step;
        } else if (op == 6) {
            ASSERT_EQ(row.next(), reference.next()) << step;
        } else if (op == 7) {
            ASSERT_EQ(row.previous(), reference.previous()) << step;
        } else if (op == 8) {
            const int32_t existing = kStart + uniform(0, 2000);
            ASSERT_EQ(row.removeAt(existing), reference.removeAt(existing)) << step;
        } else {
            ASSERT_EQ(row.removeCurrent(), reference.removeCurrent()) << step;
        }
        ASSERT_EQ(row.currentTime(), reference.time()) << step;
        ASSERT_EQ(row.currentOrdinal(), reference.ordinal()) << step;
    }
}

// Seeds 1..5 feed the events in time order, 10..15 append 30 % out of order.
TEST(EventCategoryAgainstLinkedList, EventsFedInTimeOrderOrAppendedOutOfOrder) {
    for (uint32_t seed = 1; seed <= 5; ++seed) checkSameAsList(seed, 0);
    for (uint32_t seed = 10; seed <= 15; ++seed) checkSameAsList(seed, 30);
}

}  // namespace
}  // namespace lumen
