// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/time_cursor.h"

#include "events/event_code_table.h"

namespace lumen {
namespace {

constexpr int32_t kLowestCursorRow = kToPrinterRow;  // the time-scale row is not crossed

}  // namespace

void TimeCursor::set(int32_t eventTime) {
    previousColumn_ = column_;
    previousTime_ = time_;
    column_ = screenLayout_.timeToX(eventTime) + 1;
    time_ = eventTime;
}

void TimeCursor::drawLine(Canvas& canvas, int32_t column) const {
    const Rect& strip = screenLayout_.stripRect(kLowestCursorRow);
    const int32_t x = column + strip.left;
    canvas.moveTo({x, strip.bottom});
    canvas.lineTo({x, screenLayout_.area().top});
}

// The light pass inverts the light-grey bits of the column and the black
// pass changes nothing, so erase and draw are the same two strokes.
void TimeCursor::erase(Canvas& canvas) const {
    TimelineLayout::selectXorDrawing(canvas);
    screenLayout_.selectBlack(canvas);
    drawLine(canvas, previousColumn_);
    screenLayout_.selectLightPen(canvas);
    drawLine(canvas, previousColumn_);
    TimelineLayout::selectCopyDrawing(canvas);
    screenLayout_.selectBlack(canvas);
}

void TimeCursor::draw(Canvas& canvas, PaintTarget target) {
    if (target == PaintTarget::Paper) {
        printLayout_.selectBlack(canvas);
        const Rect& strip = printLayout_.stripRect(kLowestCursorRow);
        const int32_t x = strip.left + printLayout_.timeToX(time_);
        canvas.moveTo({x, strip.bottom});
        canvas.lineTo({x, printLayout_.area().top});
        return;
    }
    TimelineLayout::selectXorDrawing(canvas);
    screenLayout_.selectLightPen(canvas);
    drawLine(canvas, column_);
    screenLayout_.selectBlack(canvas);
    drawLine(canvas, column_);
    TimelineLayout::selectCopyDrawing(canvas);
    screenLayout_.selectBlack(canvas);
    previousColumn_ = column_;
    previousTime_ = time_;
}

}  // namespace lumen
