// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/window/window_system.h"

namespace lumen::testing {

// A two-window program with buttons, written the way the viewer's window
// procedures are: a main window, a child pane with an owner-drawn button
// (id 1000) and a plain button (id 1001), all logging what they receive.
struct TestApp {
    static constexpr uint32_t ownerDrawnId = 1000;
    static constexpr uint32_t plainId = 1001;

    WindowHandle main;
    WindowHandle pane;
    WindowHandle ownerDrawn;
    WindowHandle plain;

    // Registers the classes and creates the windows; shows the main window
    // maximised and the pane normally, as the viewer does.
    explicit TestApp(WindowSystem& system);
};

struct LoggedMessage {
    std::string window;  // "main", "pane", "button"
    uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    bool ctrl = false;  // key states as the procedure saw them
    bool shift = false;
    bool alt = false;
};

// Everything the test windows received, in order.
std::vector<LoggedMessage>& messageLog();
std::vector<LoggedMessage> logged(uint32_t message);
// The main window posts the quit message when it is destroyed.
inline constexpr Color paneColor = rgb(0, 128, 0);
inline constexpr Color mainColor = rgb(0, 0, 200);
inline constexpr Color drawnFaceColor = rgb(255, 0, 255);

}  // namespace lumen::testing
