// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/strip_painter.h"

#include <algorithm>

#include "store/beat_word.h"
#include "store/clock.h"
#include "store/recording.h"
#include "view/caliper_painter.h"
#include "view/strip_grid.h"

namespace lumen {

namespace {

constexpr uint8_t kNoDataPen = StripWindow::kNoDataPen;

}  // namespace

StripPainter::StripPainter(Recording& recording, StripWindow& window, const LanguageTexts& texts, StripHost& host)
    : recording_(recording), window_(window), texts_(texts), host_(host) {}

void StripPainter::setSignalScale(int32_t unitsPerMillivolt, int32_t displayMultiplier) {
    // An unknown amplitude code of 0 cannot scale; the finest known scale stands in.
    unitsPerMillivolt_ = unitsPerMillivolt == 0 ? -51 : unitsPerMillivolt;
    displayMultiplier_ = displayMultiplier;
}

int32_t StripPainter::paintStrip(Canvas& target, RelabelMode mode, int32_t left, int32_t right, PaintOp op, int32_t x) {
    return paint(&target, mode, {left, right}, op, x);
}

int32_t StripPainter::repaintStrip(RelabelMode mode, PaintOp op, int32_t x) {
    Canvas* pane = host_.beginPanePaint();
    if (pane == nullptr) return paint(nullptr, mode, {-1, -1}, op, x);
    const StripDrawingObjects& objects = host_.drawingObjects();
    pane->setBkMode(BackgroundMode::Opaque);
    pane->setBkColor(objects.background);
    pane->setTextColor(objects.text);
    pane->selectFont(objects.paneFont);
    const int32_t result = paint(pane, mode, {-1, -1}, op, x);
    pane->selectFont(objects.systemFont);
    host_.endPanePaint(*pane);
    return result;
}

void StripPainter::loadStripAround(int32_t t) {
    // On the way out after a block that could not be decoded, loading the
    // same block again would only fail again.
    if (host_.stripFrozen()) return;
    const int32_t width = host_.stripGeometry().stripWidth;
    const int32_t p = view_.speed();
    const int32_t half = width / p / 2;
    int32_t shortfall = 0;
    if (t >= half) {
        view_.windowStart = t - half;
    } else {
        view_.windowStart = 0;
        shortfall = half - t;
    }
    const int32_t firstBlock = view_.windowStart / kSamplesPerBlock;
    // The slot clocks follow the window, so that blocks past the end show as empty grid.
    window_.loadWithClocks(recording_, firstBlock);
    view_.slotA = 0;
    view_.slotB = 0;
    view_.offsetA = view_.windowStart % kSamplesPerBlock;
    view_.offsetB = view_.offsetA + width / p;
    repaintStrip(RelabelMode::None, PaintOp::Full, width / 2 + kSelectionRightOfMiddle * p - shortfall * p);
}

int32_t StripPainter::paint(Canvas* target, RelabelMode mode, Band band, PaintOp op, int32_t x) {
    Image* image = host_.stripImage();
    const StripGeometry geometry = host_.stripGeometry();
    if (image == nullptr || geometry.stripWidth <= 0 || geometry.paneHeight <= 0) return 0;
    const StripDrawingObjects& objects = host_.drawingObjects();
    CanvasStateGuard guard(*image);
    image->setBkMode(BackgroundMode::Opaque);
    image->setBkColor(objects.background);
    image->setTextColor(objects.text);
    image->setTextAlign(TextAlign::Left | TextAlign::Top);
    image->setRasterOp(RasterOp::Copy);
    StripScene scene{
        *image, objects, texts_, view_, streams_, geometry.stripWidth, geometry.paneHeight, displayMultiplier_};
    if (op == PaintOp::Full) {
        image->fillRect(Rect{0, 0, geometry.paneWidth - 2 * geometry.ecgButtonHalf, scene.height},
                        objects.backgroundBrush);
    }
    image->selectFont(objects.stripFont);
    const StripFontMetrics metrics{image->textExtent("N"), image->textExtent("I")};
    CaliperPainter(scene, caliper_).run(CaliperStep::Erase);
    if (!gatherStretch(scene.width)) {
        gridOnlyEnd(scene, target, band);
        return 0;
    }
    expandStretch(scene.width);
    if (op == PaintOp::Full || op == PaintOp::Caliper) {
        drawGrid(*image, objects.gridPen, scene.width, {band.left, 0, band.right, scene.height}, GridLines::Major);
    } else {
        clearOldSelection(scene, op);
    }
    const int32_t result = selectAndRelabel(scene, mode, x);
    image->selectFont(objects.stripFont);
    if (host_.selectedHasEvents()) drawTraces(scene, metrics);
    view_.selectedClass = streams_.labelAt(selectedColumn_) % 4 + 1;
    image->selectPen(Pen::null());
    CaliperPainter(scene, caliper_).run(CaliperStep::Draw);
    copyToTarget(scene, target, band);
    if (target != nullptr) target->selectFont(objects.measuringFont);
    return result;
}

// Copies the visible stretch out of the window, one sample past the strip's
// last column group; samples without data carry the no-data pen.
bool StripPainter::gatherStretch(int32_t width) {
    const int32_t needed = width / view_.speed() + 1;
    stretch_.reserveColumns(needed);
    const auto hasData = [this](int32_t slot) {
        return slot >= 0 && slot < StripWindow::kSlots &&
               window_.slotClocks[static_cast<size_t>(slot)].hour != kNoDataClock.hour;
    };
    int32_t count = 0;
    const auto take = [&](int32_t from, int32_t to, bool noData) {
        for (int32_t i = from; i <= to && count < needed; ++i, ++count) {
            const auto at = static_cast<size_t>(count);
            const bool inside = i >= 0 && i < StripWindow::kSamples;
            const auto w = static_cast<size_t>(inside ? i : 0);
            stretch_.channel1[at] = inside ? window_.channel1[w] : kBaselineSample;
            stretch_.channel2[at] = inside ? window_.channel2[w] : kBaselineSample;
            stretch_.penIndex[at] = inside && !noData ? window_.penIndex[w] : kNoDataPen;
            stretch_.episodeCode[at] = inside && !noData ? window_.episodeCode[w] : 0;
            stretch_.beatLabel[at] = inside ? window_.beatLabel[w] : kNoBeatLabel;
            stretch_.beatOrdinal[at] = inside ? window_.ordinalAt(i) : 0;
        }
    };
    const int32_t startA = view_.slotA * StripWindow::kSlotSamples;
    if (view_.slotA == view_.slotB) {
        if (!hasData(view_.slotA)) return false;
        take(startA + view_.offsetA, startA + view_.offsetB, false);
    } else {
        if (!hasData(view_.slotA) && !hasData(view_.slotB)) return false;
        const int32_t startB = view_.slotB * StripWindow::kSlotSamples;
        take(startA + view_.offsetA, startA + StripWindow::kSlotSamples - 1, false);
        take(startB, startB + view_.offsetB, !hasData(view_.slotB));
    }
    take(StripWindow::kSamples, StripWindow::kSamples + needed, true);  // a short stretch ends without data
    stretch_.columns = needed;
    return true;
}

void StripPainter::expandStretch(int32_t width) {
    const int32_t p = view_.speed();
    const int32_t groups = width / p;
    streams_.reserveColumns(std::max(groups * p, width + 1) + 8);
    streams_.columns = groups * p;
    expandLinear<uint8_t>(stretch_.channel1, groups, p, streams_.channel1);
    expandLinear<uint8_t>(stretch_.channel2, groups, p, streams_.channel2);
    expandHold<uint8_t>(stretch_.penIndex, groups, p, streams_.penIndex);
    expandHold<uint8_t>(stretch_.episodeCode, groups, p, streams_.episodeCode);
    expandFirst<uint8_t>(stretch_.beatLabel, groups, p, kNoBeatLabel, streams_.beatLabel);
    expandFirst<uint32_t>(stretch_.beatOrdinal, groups, p, 0u, streams_.beatOrdinal);
}

void StripPainter::gridOnlyEnd(StripScene& scene, Canvas* target, Band band) {
    drawGrid(scene.image, scene.objects.gridPen, scene.width, {band.left, 0, band.right, scene.height},
             GridLines::Major);
    streams_.columns = 0;
    selectedColumn_ = -1;
    if (target == nullptr) return;
    const Rect copied =
        band.left == -1 ? Rect{0, 0, scene.width + 1, scene.height} : Rect{band.left, 0, band.right + 1, scene.height};
    target->bitBlt(copied, scene.image, Point{copied.left, 0});
}

void StripPainter::copyToTarget(StripScene& scene, Canvas* target, Band band) {
    CaliperPainter calipers(scene, caliper_);
    if (band.left == -1) {
        calipers.writeChannelNames();
        if (target != nullptr) target->bitBlt(Rect{0, 0, scene.width + 1, scene.height}, scene.image, Point{0, 0});
        return;
    }
    if (caliper_.phase == CaliperPhase::MovingSecond) calipers.copyVoltages(target);
    if (target != nullptr)
        target->bitBlt(Rect{band.left, 0, band.right + 1, scene.height}, scene.image, Point{band.left, 0});
}

int64_t StripPainter::selectedBeatPosition() const {
    if (selectedColumn_ < 0 || !streams_.holdsBeat(selectedColumn_)) return -1;
    const uint32_t ordinal = streams_.ordinalAt(selectedColumn_);
    if (ordinal == 0 || ordinal >= window_.beatPositions.size()) return -1;
    return window_.beatPositions[ordinal];
}

}  // namespace lumen
