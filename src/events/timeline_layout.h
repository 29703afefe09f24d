// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>

#include "platform/draw/brush.h"
#include "platform/draw/canvas.h"
#include "platform/draw/geometry.h"
#include "platform/draw/pen.h"
#include "store/clock.h"

namespace lumen {

inline constexpr int32_t kRowCount = 19;
inline constexpr int32_t kZoomedWindowTicks = 540000;  // three hours

enum class PaintTarget { Screen, Paper };

// Where the nineteen rows go (on the screen or on paper), which stretch of
// time their strips show, and the pens and brushes of one paint.
class TimelineLayout {
public:
    void setRecordingSpan(int32_t startTimeOfDay, int32_t endTimeOfDay);
    void setArea(const Rect& area);
    void toggleZoom(int32_t eventTime);
    // Only a zoomed view needs a new window when navigation leaves it.
    void requestNewWindow();

    int32_t timeToX(int32_t eventTime) const;  // pixels into the strip
    int32_t xToTime(int32_t x) const;          // ticks from windowStart
    int32_t rowAt(int32_t y) const;

    bool zoomed() const { return zoomed_; }
    int32_t windowStart() const { return windowStart_; }
    int32_t windowEnd() const { return windowEnd_; }
    int32_t windowLength() const { return windowLength_; }
    int32_t recordingStart() const { return recordingStart_; }
    int32_t recordingEnd() const { return recordingEnd_; }
    int32_t recordingLength() const { return recordingEnd_ - recordingStart_; }
    int32_t stripWidth() const { return stripWidth_; }
    int32_t rowHeight() const { return rowHeight_; }
    const Rect& area() const { return area_; }
    const Rect& rowRect(int32_t row) const { return rowRects_[clampRow(row)]; }
    const Rect& labelRect(int32_t row) const { return labelRects_[clampRow(row)]; }
    const Rect& stripRect(int32_t row) const { return stripRects_[clampRow(row)]; }
    const Rect& countRect(int32_t row) const { return countRects_[clampRow(row)]; }
    bool needsNewWindow() const { return needsNewWindow_; }
    bool extremesValid() const { return extremesValid_; }
    void setExtremesValid(bool valid) { extremesValid_ = valid; }

    // Makes this paint's tools (screen or print colours), selects the row
    // brush and the black pen and remembers what they replaced.
    void createTools(Canvas& canvas, PaintTarget target);
    void releaseTools(Canvas& canvas) const;
    void selectRowBrush(Canvas& canvas) const;
    void selectSelectedRowBrush(Canvas& canvas) const;
    void selectRed(Canvas& canvas) const;    // pen and text colour
    void selectBlack(Canvas& canvas) const;  // pen and text colour
    void selectWhitePen(Canvas& canvas) const;
    void selectGreyPen(Canvas& canvas) const;
    void selectLightPen(Canvas& canvas) const;
    static void selectXorDrawing(Canvas& canvas);
    static void selectCopyDrawing(Canvas& canvas);
    // A raised border; leaves the grey pen selected.
    void frame(Canvas& canvas, const Rect& rect) const;

private:
    static size_t clampRow(int32_t row);

    bool zoomed_ = false;
    int32_t windowStart_ = 0;
    int32_t windowEnd_ = 0;
    int32_t recordingStart_ = 0;
    int32_t recordingEnd_ = 0;
    int32_t stripWidth_ = 0;
    int32_t windowLength_ = 0;
    int32_t rowHeight_ = 0;

    struct Tools {
        Pen red, black, grey, white, light;
        Brush row, selectedRow;
    };
    Tools tools_{};
    Pen replacedPen_{};
    Brush replacedBrush_{};

    Rect area_{};
    std::array<Rect, kRowCount> rowRects_{};
    std::array<Rect, kRowCount> labelRects_{};
    std::array<Rect, kRowCount> stripRects_{};
    std::array<Rect, kRowCount> countRects_{};
    bool needsNewWindow_ = false;
    bool extremesValid_ = true;
};

}  // namespace lumen
