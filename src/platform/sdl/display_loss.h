// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct SDL_Window;

namespace lumen {

// The connection to the X server can break at any moment: a log-out, a
// crashed server, a remote display dropped. Xlib then ends the process from
// inside whichever call noticed it ("X connection ... broken", status 1),
// with nothing saved. Watched, the loss is only noted and that call returns,
// so that the program can end through its normal exit without the display.
class DisplayLoss {
public:
    // Takes over Xlib's handlers for the display behind `window`. A display
    // lost before a window was watched still ends the process Xlib's way.
    static void watch(SDL_Window* window);
    // True from the moment the connection broke; nothing may call SDL's
    // video functions after that.
    static bool happened();
};

}  // namespace lumen
