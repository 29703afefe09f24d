// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/event_catalog.h"

namespace lumen {

// The first full paint makes the first selection: the first row with an
// event, or the time scale, which always answers.
void EventCatalog::resolveSelection() {
    if (selectedRow_ >= kPendingSelection) {
        selectedRow_ -= kPendingSelection;
        if (EventSource* row = selected(); row != nullptr) {
            cursor_.set(row->currentTime());
        }
        return;
    }
    if (selectedRow_ != kNoSelection) {
        return;
    }
    for (int32_t r = 0; r < kRowCount; ++r) {
        EventSource& row = *rows_[static_cast<size_t>(r)];
        const int32_t time = row.first();
        if (time > 0) {
            cursor_.set(time);
            selectedRow_ = r;
            row.setSelected(true);
            row.first();
            selectedTimeOfDay_ = row.currentTimeOfDay();
            return;
        }
    }
}

void EventCatalog::paintAll(Canvas& canvas, PaintTarget target) {
    resolveSelection();
    TimelineLayout& layout = target == PaintTarget::Paper ? printLayout_ : screenLayout_;
    if (target == PaintTarget::Screen) {
        canvas.selectFont(rowFont_);
    }
    layout.createTools(canvas, target);
    for (EventSource* row : rows_) {
        row->paint(canvas, target);
    }
    cursor_.draw(canvas, target);
    layout.releaseTools(canvas);
}

// After a navigation step only the rows whose selection changed are drawn
// again, and the cursor moves by two XOR strokes.
void EventCatalog::repaintChanged(Canvas& canvas) {
    if (screenLayout_.needsNewWindow()) {
        toggleZoom();  // back to the one-day view
        paintAll(canvas, PaintTarget::Screen);
        return;
    }
    canvas.selectFont(rowFont_);
    screenLayout_.createTools(canvas, PaintTarget::Screen);
    cursor_.erase(canvas);
    for (EventSource* row : rows_) {
        if (row->needsRepaint()) {
            row->paint(canvas, PaintTarget::Screen);
        }
    }
    cursor_.draw(canvas, PaintTarget::Screen);
    screenLayout_.releaseTools(canvas);
}

}  // namespace lumen
