// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

struct SDL_Window;

namespace lumen {

// Sets the window's title, UTF-8, so that every window manager shows it.
// SDL converts the title through the C library's locale, which is "C" for
// us: a title outside ASCII then leaves _NET_WM_NAME as it was and puts
// mojibake into WM_NAME. On X11 both properties are written here directly.
// Answers the native window written to (0 when none).
uint64_t setWindowTitle(SDL_Window* window, const std::string& utf8Title);

// The native window behind an SDL window now (0 when not known). SDL makes
// a new one when it first sets up the window's framebuffer, with the title
// written its own way; a change means the title must be set again.
uint64_t nativeWindowOf(SDL_Window* window);

}  // namespace lumen
