// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// What a paint of the strip does besides refreshing it.
enum class PaintOp : int32_t {
    Full = 0,
    SelectionMovedLeft = 1,   // the caller has already decreased selectedBeat
    SelectionMovedRight = 2,  // the caller has already increased selectedBeat
    SelectNearest = 3,        // select the beat nearest to the given column
    Caliper = 5,              // measuring-line update
};

// The class to give the selected beat: class + 1, or None for no relabelling.
enum class RelabelMode : int32_t { None = 0, Normal = 1, Supraventricular = 2, Ventricular = 3, Artefact = 4 };

// The ECG view's settings; one instance lives for the whole run.
struct StripView {
    int32_t pixelsPerSample = 2;  // 1 = 12.5 mm/s, 2 = 25 mm/s, 4 = 50 mm/s
    int32_t amplitudeStep = 2;    // 1, 2, 3 = 5, 10, 20 mm/mV
    int32_t channelMode = 1;      // 1 channel 1, 2 channel 2, 3 both
    int32_t selectedBeat = 1;     // ordinal among the strip's beats, from 1
    int32_t caliperCleared = 1;   // 0 while measuring lines may be in the image
    int32_t selectedClass = 1;    // class + 1 of the selected beat
    int32_t slotA = 0;
    int32_t offsetA = 0;
    int32_t slotB = 0;
    int32_t offsetB = 0;
    int32_t windowStart = 0;  // first sample of the stretch the last load asked for

    // The settings as the painter uses them: a stored value outside the
    // known steps reads as the starting one, so that it cannot divide by 0.
    int32_t speed() const { return pixelsPerSample == 1 || pixelsPerSample == 4 ? pixelsPerSample : 2; }
    int32_t pixelsPerMillivolt() const {
        return amplitudeStep == 1 ? 20 : amplitudeStep == 3 ? 80 : 40;
    }
    // 10 -> 20 -> 5 -> 10 mm/mV.
    void nextAmplitude() { amplitudeStep = amplitudeStep >= 3 || amplitudeStep < 1 ? 1 : amplitudeStep + 1; }
    // 25 -> 50 -> 12.5 -> 25 mm/s.
    void nextSpeed() { pixelsPerSample = speed() >= 4 ? 1 : speed() * 2; }
};

}  // namespace lumen
