// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "view/pixel_streams.h"

namespace lumen {

enum class CaliperPhase : int32_t { None = 0, PlacingFirst = 1, MovingSecond = 3 };

// The mouse buttons and modifier keys held with a mouse event.
enum class MouseKeys { LeftAlone, Other };

// The two measuring lines on the strip. Lines exist only in the image and
// on the screen; this keeps their columns and the mouse state.
struct Caliper {
    static constexpr int32_t kNoColumn = 2000;

    int32_t firstColumn = 0;
    int32_t secondColumn = 0;
    CaliperPhase phase = CaliperPhase::None;  // set only for the length of one paint
    int32_t mouseColumn = kNoColumn;
    int32_t dragging = 0;
    int32_t lastReleaseColumn = 0;
    int32_t textWidth = 0;   // of "M" in the measuring font
    int32_t textHeight = 0;

    // Every pane command and key makes the next press begin a new measurement.
    void forgetRelease() { lastReleaseColumn = kNoColumn; }
    // A press this close to the last release moves the second line instead.
    bool pressBeginsMeasurement(int32_t column, MouseKeys keys, int32_t stripWidth) const;
};

// What the strip shows between the two lines.
struct CaliperFigures {
    float intervalMs = 0;
    bool showsRate = false;  // intervals from 240 ms (250 bpm) on
    float beatsPerMinute = 0;
    float channel1Millivolts = 0;  // right column minus left column
    float channel2Millivolts = 0;
};

CaliperFigures caliperFigures(const Caliper& caliper, const PixelStreams& streams, int32_t pixelsPerSample,
                              int32_t displayMultiplier);

}  // namespace lumen
