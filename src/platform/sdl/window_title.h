#pragma once
#include <string>

struct SDL_Window;

namespace lumen {

// Sets the window's title, UTF-8, so that every window manager shows it.
// SDL converts the title through the C library's locale, which is "C" for
// us: a title outside ASCII then leaves _NET_WM_NAME as it was and puts
// mojibake into WM_NAME. On X11 both properties are written here directly.
void setWindowTitle(SDL_Window* window, const std::string& utf8Title);

}  // namespace lumen
