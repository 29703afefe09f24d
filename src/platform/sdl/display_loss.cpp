// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sdl/display_loss.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <csignal>
#include <cstdio>

#if defined(LUMEN_WATCH_X11_LOSS)
#include <X11/Xlib.h>
#endif

namespace lumen {

namespace {

volatile std::sig_atomic_t lost = 0;

#if defined(LUMEN_WATCH_X11_LOSS)
// Both handlers return: Xlib marks the display broken, the call that found
// out returns, and later calls on that display return at once.
int noteBrokenConnection(Display* display) {
    if (lost == 0) {
        std::fprintf(stderr,
                     "lumen: the connection to the display %s was lost; the corrections are saved without it "
                     "and the viewer ends. Start it again on a working display.\n",
                     DisplayString(display));
        std::fflush(stderr);
    }
    lost = 1;
    return 0;
}

void keepRunning(Display* /*display*/, void* /*userData*/) { lost = 1; }
#endif

}  // namespace

void DisplayLoss::watch(SDL_Window* window) {
#if defined(LUMEN_WATCH_X11_LOSS)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    XSetIOErrorHandler(noteBrokenConnection);
    XSetIOErrorExitHandler(info.info.x11.display, keepRunning, nullptr);
#else
    (void)window;
#endif
}

bool DisplayLoss::happened() { return lost != 0; }

}  // namespace lumen
