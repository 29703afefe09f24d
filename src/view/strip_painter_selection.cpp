// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/beat_forms.h"
#include "store/beat_word.h"
#include "store/clock.h"
#include "store/recording.h"
#include "view/beat_selection.h"
#include "view/caliper_painter.h"
#include "view/strip_grid.h"
#include "view/strip_painter.h"

namespace lumen {

void StripPainter::highlightBand(StripScene& scene, const Brush& brush, int32_t column) {
    const int32_t reach = 8 * view_.speed();
    scene.image.fillRect(Rect{column - reach, 0, column + reach, scene.height}, brush);
    drawGrid(scene.image, scene.objects.gridPen, scene.width, {column - reach, 0, column + reach, scene.height},
             GridLines::Major);
}

// A selection move repaints without clearing the strip: the old highlight
// and any measuring lines are taken off first.
void StripPainter::clearOldSelection(StripScene& scene, PaintOp op) {
    int32_t target = view_.selectedBeat;
    if (op == PaintOp::SelectionMovedLeft) target = view_.selectedBeat + 1;
    if (op == PaintOp::SelectionMovedRight) target = view_.selectedBeat - 1 == 0 ? 1 : view_.selectedBeat - 1;
    const BeatSelection beats(streams_, scene.width - (view_.speed() - 1));
    highlightBand(scene, scene.objects.backgroundBrush, beats.walkTo(target).column);
    if (view_.caliperCleared == 0) CaliperPainter(scene, caliper_).removeForSelectionMove();
}

int32_t StripPainter::selectAndRelabel(StripScene& scene, RelabelMode mode, int32_t x) {
    const int32_t p = view_.speed();
    const BeatSelection beats(streams_, scene.width - (p - 1));
    if (x != -1) {
        if (const auto ordinal = beats.ordinalNear(x)) view_.selectedBeat = *ordinal;
    }
    const BeatWalk walk = beats.walkTo(view_.selectedBeat);
    if (walk.ranToEnd) view_.selectedBeat = walk.count;
    const int32_t c = walk.column;
    selectedColumn_ = c;
    int32_t result = 0;
    const auto wanted = static_cast<int32_t>(mode);
    if (mode != RelabelMode::None && streams_.holdsBeat(c) && streams_.labelAt(c) % 4 + 1 != wanted) {
        uint8_t label = streams_.labelAt(c);
        if (label / 4 == kNoFormCode) label = formLabel(c, label);
        const auto relabelled = static_cast<uint8_t>((label & ~3) + (wanted - 1));
        if (isReservedLabel(relabelled)) return finishSelection(scene, c, 0);
        streams_.beatLabel[static_cast<size_t>(c)] = relabelled;
        const int32_t sample = view_.slotA * StripWindow::kSlotSamples + view_.offsetA + c / p;
        if (sample >= 0 && sample < StripWindow::kSamples) window_.beatLabel[static_cast<size_t>(sample)] = relabelled;
        result = 1;
    }
    return finishSelection(scene, c, result);
}

int32_t StripPainter::finishSelection(StripScene& scene, int32_t column, int32_t result) {
    if (column != 0) highlightBand(scene, scene.objects.highlightBrush, column);
    return result;
}

// A beat without a form takes the best-matching form of the recording
// before it gets its new class; with no form at all it keeps code 31.
uint8_t StripPainter::formLabel(int32_t column, uint8_t label) {
    const uint32_t ordinal = streams_.ordinalAt(column);
    if (ordinal >= window_.beatPositions.size()) return label;
    const int32_t start = static_cast<int32_t>(window_.beatPositions[ordinal] / 4) -
                          window_.firstBlock * kSamplesPerBlock - kFormSamplesBeforeBeat;
    BeatExcerpt excerpt;
    for (int32_t i = 0; i < kFormSamples + 1; ++i) {
        const int32_t sample = start + i;
        const bool inside = sample >= 0 && sample < StripWindow::kSamples;
        excerpt.channel1[static_cast<size_t>(i)] =
            inside ? window_.channel1[static_cast<size_t>(sample)] : kBaselineSample;
        excerpt.channel2[static_cast<size_t>(i)] =
            inside ? window_.channel2[static_cast<size_t>(sample)] : kBaselineSample;
    }
    const int32_t form = matchForm(recording_.recordingDirectory(), excerpt);
    return static_cast<uint8_t>(form * 4);
}

}  // namespace lumen
