// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "events/timeline_layout.h"

namespace lumen {

// The vertical line across rows 0 to 17 that marks the current moment. On
// the screen it is drawn with XOR so that drawing it again removes it.
class TimeCursor {
public:
    TimeCursor(const TimelineLayout& screenLayout, const TimelineLayout& printLayout)
        : screenLayout_(screenLayout), printLayout_(printLayout) {}

    void set(int32_t eventTime);
    int32_t time() const { return time_; }
    int32_t column() const { return column_; }
    int32_t previousTime() const { return previousTime_; }
    int32_t previousColumn() const { return previousColumn_; }

    void erase(Canvas& canvas) const;  // screen only
    void draw(Canvas& canvas, PaintTarget target);

private:
    void drawLine(Canvas& canvas, int32_t column) const;

    int32_t time_ = 0;
    int32_t column_ = 0;
    int32_t previousTime_ = -1;
    int32_t previousColumn_ = -1;
    const TimelineLayout& screenLayout_;
    const TimelineLayout& printLayout_;
};

}  // namespace lumen
