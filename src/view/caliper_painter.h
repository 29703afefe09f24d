// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "view/caliper.h"
#include "view/strip_scene.h"

namespace lumen {

enum class CaliperStep { Erase, Draw };

// The measuring lines' share of a strip paint: erasing the old lines and
// texts before anything is drawn, drawing the new ones after the traces,
// and the voltage texts of a drag.
class CaliperPainter {
public:
    CaliperPainter(StripScene& scene, Caliper& caliper) : scene_(scene), caliper_(caliper) {}

    // The erase step (before drawing) and the draw step (after the traces).
    void run(CaliperStep step);
    // Removes lines and texts from the image when a selection move repaints
    // the strip without clearing it (only while lines may be there).
    void removeForSelectionMove();
    // During a drag: writes both voltages and the channel names into the
    // image and copies the texts' band at the second line to the target
    // (when there is one).
    void copyVoltages(Canvas* target);
    // "CH1" and "CH2" at the left edge, whatever channels are shown.
    void writeChannelNames();

private:
    void measureM();
    void verticalLine(int32_t column);
    void blankTexts(int32_t upperSpaces, int32_t lowerSpaces);
    void drawLines();
    void writeInterval();

    StripScene& scene_;
    Caliper& caliper_;
};

}  // namespace lumen
