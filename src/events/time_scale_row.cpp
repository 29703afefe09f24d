// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/time_scale_row.h"

#include "events/row_painter.h"

namespace lumen {
namespace {

constexpr int32_t kSecondTicks = 50;

}  // namespace

void TimeScaleRow::setSelected(bool on) {
    if (on != selected_) {
        painted_ = false;
    }
    selected_ = on;
}

void TimeScaleRow::paint(Canvas& canvas, PaintTarget target) {
    const bool paper = target == PaintTarget::Paper;
    RowPainter::paintTimeScale(canvas, paper ? printLayout_ : screenLayout_, target,
                               TimeScaleRowView{row_, texts_.text(TextId::TimeScaleLabel), selected_});
    if (!paper) {
        painted_ = true;
    }
}

// Stepping never reaches the very start or end of the recording.
int32_t TimeScaleRow::seekNearest(int32_t eventTime) {
    int32_t t = eventTime;
    if (t > end()) {
        t = end() - kSecondTicks;
    }
    if (t < start()) {
        t = start() + kSecondTicks;
    }
    current_ = t;
    return currentWithWindowCheck();
}

int32_t TimeScaleRow::next() {
    if (current_ + kSecondTicks < end()) {
        current_ += kSecondTicks;
    }
    return currentWithWindowCheck();
}

int32_t TimeScaleRow::previous() {
    if (current_ - kSecondTicks > start()) {
        current_ -= kSecondTicks;
    }
    return currentWithWindowCheck();
}

int32_t TimeScaleRow::first() {
    current_ = start() + kSecondTicks;
    return current_;
}

std::string_view TimeScaleRow::longName() const {
    return texts_.text(TextId::TimeScaleName);
}

int32_t TimeScaleRow::seekAtOrAfter(int32_t eventTime) {
    current_ = eventTime;
    return current_;
}

int32_t TimeScaleRow::currentWithWindowCheck() {
    if (current_ < screenLayout_.windowStart() || current_ > screenLayout_.windowEnd()) {
        screenLayout_.requestNewWindow();
    }
    return current_;
}

}  // namespace lumen
