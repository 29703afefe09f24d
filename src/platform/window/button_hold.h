// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <vector>

#include "platform/draw/geometry.h"
#include "platform/window/driver.h"

namespace lumen {

// The mouse buttons a display window holds down and where the pointer was
// last. When the desktop takes the mouse away in the middle of a drag
// (another window captures it, Alt+Tab, the focus goes), the window lets go
// of every held button there, so the drag (a caliper, a scroll) ends as if
// the user had released it instead of staying stuck to the pointer.
class ButtonHold {
public:
    struct Release {
        MouseButton button;
        Point at;
        friend bool operator==(const Release&, const Release&) = default;
    };

    void press(MouseButton button, Point at);
    void release(MouseButton button, Point at);
    void moved(Point at) { last_ = at; }
    bool isHeld(MouseButton button) const { return held_[indexOf(button)]; }
    // The buttons still held, each to be let go at the last point; nothing
    // is held afterwards.
    std::vector<Release> letGoAll();

private:
    static size_t indexOf(MouseButton button) { return button == MouseButton::Left ? 0 : 1; }

    std::array<bool, 2> held_{};
    Point last_;
};

}  // namespace lumen
