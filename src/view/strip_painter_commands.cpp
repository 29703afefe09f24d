// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/recording.h"
#include "view/strip_painter.h"

namespace lumen {

void StripPainter::paintPane(Canvas& pane) {
    const StripDrawingObjects& objects = host_.drawingObjects();
    pane.setBkColor(objects.background);
    pane.setTextColor(objects.text);
    pane.selectFont(objects.paneFont);
    view_.caliperCleared = 1;
    paint(&pane, RelabelMode::None, {-1, -1}, PaintOp::Full, -1);
    pane.selectFont(objects.systemFont);
}

ChangeKind StripPainter::relabelFromPane(RelabelMode mode, LabelChanges& changes) {
    view_.caliperCleared = 1;
    return relabelFromKeyboard(mode, changes);
}

ChangeKind StripPainter::relabelFromKeyboard(RelabelMode mode, LabelChanges& changes) {
    if (repaintStrip(mode, PaintOp::Full, -1) == 0) return ChangeKind::None;
    return writeBackLabels(changes);
}

ChangeKind StripPainter::writeBackLabels(LabelChanges& changes) {
    const ChangeKind kind = writeBackWindow(recording_, window_.beatLabel, WindowLength::Full);
    changes.record(kind);
    return kind;
}

void StripPainter::nextAmplitude() {
    view_.nextAmplitude();
    view_.caliperCleared = 1;
    repaintStrip(RelabelMode::None, PaintOp::Full, -1);
}

void StripPainter::nextSpeed(int32_t cursorPosition) {
    view_.nextSpeed();
    view_.caliperCleared = 1;
    loadStripAround(cursorPosition);
}

void StripPainter::selectPreviousBeat() {
    view_.selectedBeat = view_.selectedBeat - 1 == 0 ? 1 : view_.selectedBeat - 1;
    repaintStrip(RelabelMode::None, PaintOp::SelectionMovedLeft, -1);
}

void StripPainter::selectNextBeat() {
    ++view_.selectedBeat;
    repaintStrip(RelabelMode::None, PaintOp::SelectionMovedRight, -1);
}

void StripPainter::selectBeatNear(int32_t column) { repaintStrip(RelabelMode::None, PaintOp::SelectNearest, column); }

CaliperMove StripPainter::pressCaliper(int32_t column, MouseKeys keys) {
    if (!caliper_.pressBeginsMeasurement(column, keys, host_.stripGeometry().stripWidth)) {
        return moveCaliper(column, keys);
    }
    view_.caliperCleared = 0;
    caliper_.dragging = 1;
    const StripDrawingObjects& objects = host_.drawingObjects();
    Canvas* pane = host_.beginPanePaint();
    if (pane != nullptr) {
        pane->selectFont(objects.measuringFont);
        pane->setBkMode(BackgroundMode::Opaque);
    }
    caliper_.phase = CaliperPhase::PlacingFirst;
    caliper_.mouseColumn = column;
    paint(pane, RelabelMode::None, {-1, -1}, PaintOp::Caliper, -1);
    caliper_.phase = CaliperPhase::None;
    if (pane != nullptr) {
        pane->selectPen(Pen::null());
        pane->selectFont(objects.systemFont);
        host_.endPanePaint(*pane);
    }
    return CaliperMove::Moved;
}

// Only the band of the old second line and its texts is copied to the pane.
CaliperMove StripPainter::moveCaliper(int32_t column, MouseKeys keys) {
    if (keys != MouseKeys::LeftAlone) return CaliperMove::Ignored;
    if (column > host_.stripGeometry().stripWidth) return CaliperMove::OutsideStrip;
    view_.caliperCleared = 0;
    const int32_t oldSecond = caliper_.secondColumn;
    const StripDrawingObjects& objects = host_.drawingObjects();
    Canvas* pane = host_.beginPanePaint();
    Canvas* measuring = pane != nullptr ? pane : host_.stripImage();
    int32_t heightM = 0;
    if (measuring != nullptr) {
        const Font previous = measuring->selectFont(objects.measuringFont);
        heightM = measuring->textExtent("M").height;
        if (pane == nullptr) measuring->selectFont(previous);
    }
    if (pane != nullptr) pane->setBkMode(BackgroundMode::Opaque);
    caliper_.phase = CaliperPhase::MovingSecond;
    caliper_.mouseColumn = column;
    paint(pane, RelabelMode::None, {oldSecond, oldSecond + 11 * heightM + 5}, PaintOp::Caliper, -1);
    caliper_.phase = CaliperPhase::None;
    if (pane != nullptr) {
        pane->selectFont(objects.systemFont);
        host_.endPanePaint(*pane);
    }
    return CaliperMove::Moved;
}

void StripPainter::releaseCaliper(int32_t column) {
    caliper_.dragging = 0;
    caliper_.lastReleaseColumn = column;
}

}  // namespace lumen
