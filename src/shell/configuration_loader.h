// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "shell/viewer_model.h"

namespace lumen {

// Start-up loader: beats and trends, doef.mem, color.ini and the language,
// the event catalog with every event, the start event, the first view
// window, the drawing objects, TBcolor.ini, the patient line and the title.
// A missing file ends the program through the fatal handler.
// `programFile` is the viewer's own program file (for the build stamp).
void loadConfiguration(ViewerModel& model, const std::string& programFile);

// Maps the start event code to its row and selects the event at `timeOfDay`.
void selectStartEvent(EventCatalog& catalog, int32_t timeOfDayTicks, int32_t startEventCode);

// The strip window's first block b .. b + 11 with the slot clocks; the
// change kind it reports counts only while the annotation is unchanged.
void loadViewWindow(ViewerModel& model, int32_t firstBlock);

// The fixed drawing objects and those made from the colour files.
DrawingSet makeDrawingSet(const struct ColorSettings& colors);

}  // namespace lumen
