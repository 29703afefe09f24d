// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/draw/canvas.h"

#include <cassert>
#include <utility>

namespace lumen {

Canvas::Canvas(MapMode initialMapMode) { state_.mapMode = initialMapMode; }

Canvas::~Canvas() = default;

Pen Canvas::selectPen(const Pen& pen) { return std::exchange(state_.pen, pen); }

Brush Canvas::selectBrush(const Brush& brush) { return std::exchange(state_.brush, brush); }

Font Canvas::selectFont(const Font& font) { return std::exchange(state_.font, font); }

Color Canvas::setTextColor(Color color) { return std::exchange(state_.textColor, color & 0xFFFFFFu); }

Color Canvas::setBkColor(Color color) { return std::exchange(state_.bkColor, color & 0xFFFFFFu); }

BackgroundMode Canvas::setBkMode(BackgroundMode mode) { return std::exchange(state_.bkMode, mode); }

TextAlign Canvas::setTextAlign(TextAlign align) { return std::exchange(state_.textAlign, align); }

RasterOp Canvas::setRasterOp(RasterOp op) { return std::exchange(state_.rasterOp, op); }

MapMode Canvas::setMapMode(MapMode mode) {
    stateWillChange();
    return std::exchange(state_.mapMode, mode);
}

void Canvas::setClipRect(const Rect& clip) {
    stateWillChange();
    state_.clip = CanvasClip{clip, state_.mapMode};
    clipChanged();
}

void Canvas::resetClipRect() {
    stateWillChange();
    state_.clip.reset();
    clipChanged();
}

void Canvas::saveState() {
    assert(savedStates_.size() < kMaxSavedStates && "canvas states saved without being restored");
    if (savedStates_.size() < kMaxSavedStates) savedStates_.push_back(state_);
}

void Canvas::restoreState() {
    assert(!savedStates_.empty() && "canvas state restored without a save");
    if (savedStates_.empty()) return;
    stateWillChange();
    state_ = std::move(savedStates_.back());
    savedStates_.pop_back();
    clipChanged();
}

Point Canvas::moveTo(Point to) { return std::exchange(state_.position, to); }

void Canvas::lineTo(Point to) {
    const Point from = std::exchange(state_.position, to);
    drawLine(from, to);
}

}  // namespace lumen
