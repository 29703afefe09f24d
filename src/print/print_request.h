// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

struct Caliper;
struct CaliperFigures;
struct StripView;

// What the print button hands over: the ECG view's visible stretch and
// settings, the measuring lines with the voltages they show, and the
// printer index of the command line.
struct PrintRequest {
    int32_t channelMode = 3;      // 1: channel 1, 2: channel 2, 3: both
    int32_t excerptStart = 0;     // slotA * 1500 + offsetA
    int32_t excerptEnd = 0;       // slotB * 1500 + offsetB
    int32_t pixelsPerSample = 2;  // 1, 2, 4
    int32_t amplitudeStep = 2;    // 1, 2, 3
    int32_t firstColumn = -1;     // -1: no measuring lines
    int32_t secondColumn = 0;
    float channel1Millivolts = 0.0f;  // right line minus left line
    float channel2Millivolts = 0.0f;
    int32_t unitsPerMillivolt = -26;  // the recording's amplitude code value
    int32_t printerIndex = 0;
};

// The request as the event browser's print button makes it: the channels
// given, everything else from the ECG view as it stands.
PrintRequest printRequestFrom(int32_t channelMode, const StripView& view, const Caliper& caliper,
                              const CaliperFigures& figures, int32_t unitsPerMillivolt, int32_t printerIndex);

}  // namespace lumen
