// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "platform/draw/geometry.h"

namespace lumen {

// The main window's geometry, rewritten by every size change of the main
// window. All values are 0 until the first (maximising) size report.
// Pane places are in the main window's client coordinates.
struct ShellLayout {
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    int32_t screenClass = 0;  // 1, 2 or 3 by the width of the whole screen
    int32_t buttonUnit = 0;   // event browser buttons
    int32_t buttonHeight = 0;
    int32_t ecgButtonHalf = 0;  // ECG pane buttons
    int32_t ecgButtonHeight = 0;
    int32_t stripWidth = 0;
    Rect titlePlace;
    Rect browserPlace;
    Rect ecgPlace;
    Rect statusRect;  // the event browser's status line, in its client coordinates
};

}  // namespace lumen
