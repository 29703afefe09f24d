// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/draw/brush.h"
#include "platform/window/cursor.h"
#include "platform/window/message.h"

namespace lumen {

class WindowSystem;

// A window procedure gets the system that delivers the message, so that no
// procedure needs a global to answer it.
using WindowProc = LResult (*)(WindowSystem& system, WindowHandle window, uint32_t message, WParam wParam,
                               LParam lParam);

struct WindowClass {
    std::string name;
    WindowProc procedure = nullptr;
    uint32_t style = 0;               // CS_* bits
    std::optional<Brush> background;  // erases the window when painting; none: no erase
    CursorHandle cursor;              // shown while the pointer is over the window
};

}  // namespace lumen
