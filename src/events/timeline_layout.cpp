// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/timeline_layout.h"

#include <algorithm>

namespace lumen {
namespace {

constexpr int32_t kHalfZoomTicks = kZoomedWindowTicks / 2;

int32_t sideCellWidth(int32_t areaWidth) {
    if (areaWidth > 1600) {
        return areaWidth * 10 / 100;
    }
    return areaWidth > 800 ? 90 : 66;
}

// Both mappings truncate toward zero, as double arithmetic cast to int does;
// a layout without a strip or a window maps everything to 0.
int32_t scaled(int32_t value, int32_t numerator, int32_t denominator) {
    if (denominator == 0) {
        return 0;
    }
    return static_cast<int32_t>(static_cast<double>(value) * numerator / denominator);
}

}  // namespace

void TimelineLayout::setRecordingSpan(int32_t startTimeOfDay, int32_t endTimeOfDay) {
    recordingStart_ = startTimeOfDay;
    // a recording across midnight goes on counting into the next day
    recordingEnd_ = endTimeOfDay < startTimeOfDay ? endTimeOfDay + kTicksPerDay : endTimeOfDay;
    windowStart_ = recordingStart_;
    windowEnd_ = recordingEnd_;
    windowLength_ = kTicksPerDay;
}

void TimelineLayout::setArea(const Rect& area) {
    area_ = area;
    const int32_t width = area.right - area.left;
    rowHeight_ = (area.bottom - area.top) / kRowCount;
    const int32_t side = sideCellWidth(width);
    const int32_t strip = width - 2 * side;
    for (int32_t r = 0; r < kRowCount; ++r) {
        const auto i = static_cast<size_t>(r);
        const int32_t top = area.top + r * rowHeight_;
        const int32_t bottom = r == kRowCount - 1 ? area.bottom : top + rowHeight_ - 1;
        rowRects_[i] = Rect{area.left, top, area.right, bottom};
        labelRects_[i] = Rect{area.left, top, area.left + side, bottom};
        stripRects_[i] = Rect{area.left + side + 1, top, area.left + side + strip, bottom};
        countRects_[i] = Rect{area.left + side + strip + 1, top, area.left + side + strip + side, bottom};
    }
    stripWidth_ = strip - 2;
}

void TimelineLayout::toggleZoom(int32_t eventTime) {
    if (zoomed_) {
        windowStart_ = recordingStart_;
        windowEnd_ = recordingEnd_;
        windowLength_ = kTicksPerDay;
        zoomed_ = false;
    } else {
        // three hours around the cursor, shifted right at the recording start
        windowStart_ = eventTime > recordingStart_ + kHalfZoomTicks ? eventTime - kHalfZoomTicks : recordingStart_;
        windowEnd_ = windowStart_ + kZoomedWindowTicks;
        windowLength_ = kZoomedWindowTicks;
        zoomed_ = true;
    }
    needsNewWindow_ = false;
}

void TimelineLayout::requestNewWindow() {
    if (zoomed_) {
        needsNewWindow_ = true;
    }
}

int32_t TimelineLayout::timeToX(int32_t eventTime) const {
    return scaled(eventTime - windowStart_, stripWidth_, windowLength_);
}

int32_t TimelineLayout::xToTime(int32_t x) const {
    return scaled(x - stripRects_[0].left, windowLength_, stripWidth_);
}

int32_t TimelineLayout::rowAt(int32_t y) const {
    if (rowHeight_ == 0) {
        return 0;
    }
    return std::clamp((y - area_.top) / rowHeight_, 0, kRowCount - 1);
}

size_t TimelineLayout::clampRow(int32_t row) {
    return static_cast<size_t>(std::clamp(row, 0, kRowCount - 1));
}

void TimelineLayout::createTools(Canvas& canvas, PaintTarget target) {
    const bool paper = target == PaintTarget::Paper;
    const auto pen = [paper](Color screenColor) { return Pen::solid(1, paper ? blackColor : screenColor); };
    tools_.row = Brush::solid(paper ? rgb(220, 220, 220) : rgb(192, 192, 192));
    tools_.selectedRow = Brush::solid(rgb(128, 128, 128));
    tools_.black = Pen::solid(1, blackColor);
    tools_.red = pen(rgb(255, 0, 0));
    tools_.white = pen(rgb(255, 255, 255));
    tools_.grey = pen(rgb(128, 128, 128));
    tools_.light = pen(rgb(192, 192, 192));
    replacedBrush_ = canvas.selectBrush(tools_.row);
    replacedPen_ = canvas.selectPen(tools_.black);
}

void TimelineLayout::releaseTools(Canvas& canvas) const {
    canvas.selectPen(replacedPen_);
    canvas.selectBrush(replacedBrush_);
}

void TimelineLayout::selectRowBrush(Canvas& canvas) const { canvas.selectBrush(tools_.row); }

void TimelineLayout::selectSelectedRowBrush(Canvas& canvas) const { canvas.selectBrush(tools_.selectedRow); }

void TimelineLayout::selectRed(Canvas& canvas) const {
    canvas.selectPen(tools_.red);
    canvas.setTextColor(rgb(255, 0, 0));
}

void TimelineLayout::selectBlack(Canvas& canvas) const {
    canvas.selectPen(tools_.black);
    canvas.setTextColor(blackColor);
}

void TimelineLayout::selectWhitePen(Canvas& canvas) const { canvas.selectPen(tools_.white); }

void TimelineLayout::selectGreyPen(Canvas& canvas) const { canvas.selectPen(tools_.grey); }

void TimelineLayout::selectLightPen(Canvas& canvas) const { canvas.selectPen(tools_.light); }

void TimelineLayout::selectXorDrawing(Canvas& canvas) { canvas.setRasterOp(RasterOp::Xor); }

void TimelineLayout::selectCopyDrawing(Canvas& canvas) { canvas.setRasterOp(RasterOp::Copy); }

void TimelineLayout::frame(Canvas& canvas, const Rect& rect) const {
    selectWhitePen(canvas);
    canvas.moveTo({rect.left, rect.bottom});
    canvas.lineTo({rect.left, rect.top});
    canvas.lineTo({rect.right, rect.top});
    selectGreyPen(canvas);
    canvas.lineTo({rect.right, rect.bottom});
    canvas.lineTo({rect.left, rect.bottom});
}

}  // namespace lumen
