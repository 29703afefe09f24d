// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "lang/language_texts.h"
#include "platform/draw/canvas.h"
#include "store/beat_window.h"
#include "view/beat_marks.h"
#include "view/caliper.h"
#include "view/label_changes.h"
#include "view/pixel_streams.h"
#include "view/strip_host.h"
#include "view/strip_scene.h"
#include "view/strip_view.h"
#include "view/strip_window.h"

namespace lumen {

class Recording;

// How a mouse move over the strip was taken.
enum class CaliperMove { Ignored, OutsideStrip, Moved };

// The ECG strip: loads the window around a time, paints grid, traces, beat
// marks, the selection and the measuring lines into the strip image and
// copies it to the ECG pane, and carries out the pane's commands.
class StripPainter {
public:
    // A load around a position selects the beat nearest to this many
    // samples right of the strip's middle: a beat loaded at its own sample
    // less these is the one selected.
    static constexpr int32_t kSelectionRightOfMiddle = 8;

    StripPainter(Recording& recording, StripWindow& window, const LanguageTexts& texts, StripHost& host);

    StripView& view() { return view_; }
    const StripView& view() const { return view_; }
    Caliper& caliper() { return caliper_; }
    const Caliper& caliper() const { return caliper_; }
    const PixelStreams& streams() const { return streams_; }
    StripWindow& window() { return window_; }

    // Units per millivolt of the recording's amplitude code and the display
    // multiplier; read from the recording when the painter is built.
    void setSignalScale(int32_t unitsPerMillivolt, int32_t displayMultiplier);
    int32_t unitsPerMillivolt() const { return unitsPerMillivolt_; }

    // --- painting ---------------------------------------------------------
    // Paints into the strip image and copies it, or the columns left ..
    // right, to `target`; 1 when the selected beat was relabelled.
    int32_t paintStrip(Canvas& target, RelabelMode mode, int32_t left, int32_t right, PaintOp op, int32_t x);
    // The same on the ECG pane's own surface, whole strip.
    int32_t repaintStrip(RelabelMode mode, PaintOp op, int32_t x);
    // Loads the window so that sample `t` is in the middle of the strip and
    // repaints, selecting the beat nearest to it.
    void loadStripAround(int32_t t);

    // --- the ECG pane -------------------------------------------------------
    // Its paint message: measuring lines are gone after it.
    void paintPane(Canvas& pane);
    // Buttons N, V, A (also clear the measuring lines) and the keys N, V, A:
    // relabel the selected beat and write the window's labels back into the
    // beat list. The answer is the change kind, None when nothing changed.
    ChangeKind relabelFromPane(RelabelMode mode, LabelChanges& changes);
    ChangeKind relabelFromKeyboard(RelabelMode mode, LabelChanges& changes);
    ChangeKind writeBackLabels(LabelChanges& changes);
    void nextAmplitude();
    // Reloads around the time cursor at the new speed.
    void nextSpeed(int32_t cursorPosition);
    void selectPreviousBeat();
    void selectNextBeat();
    // The right button: the beat nearest to the column.
    void selectBeatNear(int32_t column);
    // Left button down, mouse move and left button up over the strip. A
    // press that begins a measurement answers Moved; any other press is
    // taken as a mouse move. OutsideStrip asks the caller to refresh the
    // button faces.
    CaliperMove pressCaliper(int32_t column, MouseKeys keys);
    CaliperMove moveCaliper(int32_t column, MouseKeys keys);
    void releaseCaliper(int32_t column);

    // Position (1/200 s) of the selected beat, -1 when there is none.
    int64_t selectedBeatPosition() const;
    int32_t selectedColumn() const { return selectedColumn_; }

private:
    struct Band {
        int32_t left;
        int32_t right;
    };

    int32_t paint(Canvas* target, RelabelMode mode, Band band, PaintOp op, int32_t x);
    bool gatherStretch(int32_t width);
    void expandStretch(int32_t width);
    void clearOldSelection(StripScene& scene, PaintOp op);
    int32_t selectAndRelabel(StripScene& scene, RelabelMode mode, int32_t x);
    uint8_t formLabel(int32_t column, uint8_t label);
    int32_t finishSelection(StripScene& scene, int32_t column, int32_t result);
    void drawTraces(StripScene& scene, const StripFontMetrics& metrics);
    void drawTrace(StripScene& scene, const std::vector<uint8_t>& samples, int32_t offset, BeatMarkWriter* marks);
    int32_t channelMean(const std::vector<uint8_t>& samples, int32_t width) const;
    void copyToTarget(StripScene& scene, Canvas* target, Band band);
    void gridOnlyEnd(StripScene& scene, Canvas* target, Band band);
    void highlightBand(StripScene& scene, const Brush& brush, int32_t column);

    Recording& recording_;
    StripWindow& window_;
    const LanguageTexts& texts_;
    StripHost& host_;
    StripView view_;
    Caliper caliper_;
    PixelStreams streams_;
    // The visible stretch, one entry per sample: the painter's work arrays.
    PixelStreams stretch_;
    int32_t unitsPerMillivolt_ = -51;
    int32_t displayMultiplier_ = 1;
    int32_t selectedColumn_ = -1;  // -1 before the first paint
};

}  // namespace lumen
