// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sdl/window_title.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace lumen {

namespace {

#if defined(SDL_VIDEO_DRIVER_X11)
bool isAscii(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

void setX11Title(Display* display, Window window, const std::string& title) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const auto* bytes = reinterpret_cast<const unsigned char*>(title.data());
    const int length = static_cast<int>(title.size());
    XChangeProperty(display, window, netName, utf8, 8, PropModeReplace, bytes, length);
    // The legacy name: plain STRING while the title is ASCII, else UTF-8,
    // which current window managers read there too.
    XChangeProperty(display, window, XA_WM_NAME, isAscii(title) ? XA_STRING : utf8, 8, PropModeReplace, bytes, length);
    XFlush(display);
}
#endif

}  // namespace

uint64_t setWindowTitle(SDL_Window* window, const std::string& utf8Title) {
    if (window == nullptr) {
        return 0;
    }
    SDL_SetWindowTitle(window, utf8Title.c_str());
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
        setX11Title(info.info.x11.display, info.info.x11.window, utf8Title);
    }
#endif
    return nativeWindowOf(window);
}

uint64_t nativeWindowOf(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window != nullptr && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
        return static_cast<uint64_t>(info.info.x11.window);
    }
#endif
    return 0;
}

}  // namespace lumen
