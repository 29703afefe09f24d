// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "platform/window/window_system.h"
#include "shell/viewer_model.h"

namespace lumen {

// A pane line as last drawn: its left and right parts.
struct PaneTexts {
    std::string left;
    std::string right;
};

// What the state dump takes from the panes and the buttons.
struct DumpExtras {
    PaneTexts status;
    PaneTexts titlePane;
    std::string heartRate = "---";  // the readout in the ECG pane's corner
    bool autoStep = false;
    std::map<uint32_t, int32_t> buttons;  // button id → bitmap slot last drawn
};

// The state dump the headless test tools read, as one JSON object.
std::string stateDumpText(const WindowSystem& system, ViewerModel& model, const DumpExtras& extras);

}  // namespace lumen
