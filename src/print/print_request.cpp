// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/print_request.h"

#include "view/caliper.h"
#include "view/strip_view.h"
#include "view/strip_window.h"

namespace lumen {

PrintRequest printRequestFrom(int32_t channelMode, const StripView& view, const Caliper& caliper,
                              const CaliperFigures& figures, int32_t unitsPerMillivolt, int32_t printerIndex) {
    PrintRequest request;
    request.channelMode = channelMode;
    request.excerptStart = view.slotA * StripWindow::kSlotSamples + view.offsetA;
    request.excerptEnd = view.slotB * StripWindow::kSlotSamples + view.offsetB;
    request.pixelsPerSample = view.speed();
    request.amplitudeStep = view.amplitudeStep;
    request.firstColumn = caliper.firstColumn;
    request.secondColumn = caliper.secondColumn;
    request.channel1Millivolts = figures.channel1Millivolts;
    request.channel2Millivolts = figures.channel2Millivolts;
    request.unitsPerMillivolt = unitsPerMillivolt;
    request.printerIndex = printerIndex;
    return request;
}

}  // namespace lumen
