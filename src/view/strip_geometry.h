// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// The ECG pane's share of the main window's layout, as the painter reads it.
struct StripGeometry {
    int32_t stripWidth = 0;       // W: 920, 720 or 560 less any shortfall
    int32_t paneWidth = 0;
    int32_t paneHeight = 0;       // H, also the strip image's height
    int32_t ecgButtonHalf = 0;    // the pane's button column is twice this wide
    int32_t ecgButtonHeight = 0;
    int32_t screenClass = 1;
};

}  // namespace lumen
