// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/window/button_hold.h"

namespace lumen {

void ButtonHold::press(MouseButton button, Point at) {
    held_[indexOf(button)] = true;
    last_ = at;
}

void ButtonHold::release(MouseButton button, Point at) {
    held_[indexOf(button)] = false;
    last_ = at;
}

std::vector<ButtonHold::Release> ButtonHold::letGoAll() {
    std::vector<Release> released;
    for (const MouseButton button : {MouseButton::Left, MouseButton::Right}) {
        if (isHeld(button)) released.push_back(Release{button, last_});
    }
    held_ = {};
    return released;
}

}  // namespace lumen
