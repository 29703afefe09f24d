// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sdl/sdl_driver.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/dialog/desktop_file_chooser.h"
#include "platform/sdl/display_loss.h"
#include "platform/sdl/sdl_key_map.h"
#include "platform/sdl/window_icon.h"
#include "platform/sdl/window_title.h"
#include "platform/window/window_system.h"

namespace lumen {

namespace {

// Longest sleep while waiting, so that messages from other programs are seen.
constexpr uint64_t pollIntervalMs = 100;
// The first size is taken when the window is first exposed: a window
// manager maps it maximised (or maximises it) before that. Without any
// exposure report (an odd back-end) it is taken after this long.
constexpr uint64_t longestExposureWaitMs = 300;
constexpr int iconSidePixels = 48;
constexpr const char* programName = "Lumen";

SDL_SystemCursor sdlCursorOf(uint32_t systemId) {
    switch (systemId) {
    case IDC_IBEAM: return SDL_SYSTEM_CURSOR_IBEAM;
    case IDC_WAIT: return SDL_SYSTEM_CURSOR_WAIT;
    case IDC_CROSS: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case IDC_HAND: return SDL_SYSTEM_CURSOR_HAND;
    default: return SDL_SYSTEM_CURSOR_ARROW;
    }
}

}  // namespace

struct SdlDriver::Impl {
    bool ready = false;
    SDL_Window* window = nullptr;
    SDL_Cursor* cursor = nullptr;
    Size screen{640, 480};
    Size reported;
    WindowHandle main;
    PixelSurface lastFrame;
    std::string title;
    uint64_t titledWindow = 0;  // the native window that got the title
    DropHandler drop;

    Size windowSize() const {
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window, &width, &height);
        return Size{width, height};
    }
    void createWindow();
    void setIcon();
    void awaitFirstExposure();
    void handle(WindowSystem& system, const SDL_Event& event);
    void handleWindowEvent(WindowSystem& system, const SDL_WindowEvent& event);
};

void SdlDriver::Impl::createWindow() {
    SDL_Rect usable{0, 0, screen.width, screen.height};
    SDL_GetDisplayUsableBounds(0, &usable);
    // A box shown before the main window (a fatal start) names the program.
    const char* name = title.empty() ? programName : title.c_str();
    window = SDL_CreateWindow(name, usable.x, usable.y, usable.w, usable.h,
                              SDL_WINDOW_RESIZABLE | SDL_WINDOW_MAXIMIZED | SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        return;
    }
    DisplayLoss::watch(window);
    titledWindow = setWindowTitle(window, title);
    setIcon();
    SDL_ShowWindow(window);
    awaitFirstExposure();
    reported = windowSize();
}

void SdlDriver::Impl::setIcon() {
    WindowIcon icon = drawWindowIcon(iconSidePixels);
    if (icon.pixels.empty()) {
        return;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon.pixels.data(), icon.side, icon.side, 32,
                                                              icon.side * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface != nullptr) {
        SDL_SetWindowIcon(window, surface);
        SDL_FreeSurface(surface);
    }
}

// Only window events are taken from the queue here (the size they report is
// read afterwards); input waits in it for the message loop.
void SdlDriver::Impl::awaitFirstExposure() {
    const uint64_t until = SDL_GetTicks64() + longestExposureWaitMs;
    const uint32_t id = SDL_GetWindowID(window);
    for (uint64_t now = SDL_GetTicks64(); now < until; now = SDL_GetTicks64()) {
        SDL_PumpEvents();
        SDL_Event event;
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT) == 1) {
            if (event.window.windowID == id && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
                return;
            }
        }
        SDL_Delay(1);
    }
}

void SdlDriver::Impl::handleWindowEvent(WindowSystem& system, const SDL_WindowEvent& event) {
    const bool maximized = (SDL_GetWindowFlags(window) & SDL_WINDOW_MAXIMIZED) != 0;
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE: system.inputClose(main); break;
    case SDL_WINDOWEVENT_MINIMIZED: system.inputSize(main, SIZE_MINIMIZED, Size{}); break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
        const Size size = windowSize();
        const bool restored = event.event == SDL_WINDOWEVENT_RESTORED && !maximized;
        if (restored || size != reported) {
            reported = size;
            system.inputSize(main, maximized ? SIZE_MAXIMIZED : SIZE_RESTORED, size);
        }
        break;
    }
    case SDL_WINDOWEVENT_EXPOSED: system.invalidateRect(WindowHandle{}, std::nullopt, Erase::No); break;
    default: break;
    }
}

void SdlDriver::Impl::handle(WindowSystem& system, const SDL_Event& event) {
    switch (event.type) {
    case SDL_MOUSEMOTION: system.inputMouseMove(Point{event.motion.x, event.motion.y}); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (event.button.button != SDL_BUTTON_LEFT && event.button.button != SDL_BUTTON_RIGHT) {
            break;
        }
        const MouseButton button = event.button.button == SDL_BUTTON_LEFT ? MouseButton::Left : MouseButton::Right;
        const ButtonAction action = event.type == SDL_MOUSEBUTTONDOWN ? ButtonAction::Down : ButtonAction::Up;
        system.inputMouseButton(button, action, Point{event.button.x, event.button.y});
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const uint32_t key = virtualKeyFromSdl(event.key.keysym.sym);
        if (key != 0) {
            system.inputKey(key, event.type == SDL_KEYDOWN ? KeyAction::Down : KeyAction::Up);
        }
        break;
    }
    case SDL_WINDOWEVENT:
        if (window != nullptr && event.window.windowID == SDL_GetWindowID(window)) {
            handleWindowEvent(system, event.window);
        }
        break;
    case SDL_DROPFILE:
        if (drop && event.drop.file != nullptr) {
            drop(event.drop.file);  // SDL gives the path as UTF-8
        }
        SDL_free(event.drop.file);
        break;
    case SDL_DROPTEXT: SDL_free(event.drop.file); break;
    default: break;
    }
}

SdlDriver::SdlDriver() : impl_(std::make_unique<Impl>()) {
    // The program watches the termination signals itself, so that they end
    // it through its normal exit; SDL would turn them into a quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The frame is drawn in software and only copied; an OpenGL texture
    // for that copy would start a GL driver first, most of the time to the
    // first frame on a machine without a GPU. SDL's environment variable
    // still overrides this.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The viewer takes keys, never composed text; X's input method would
    // otherwise parse the locale's whole compose table (a third of the
    // start-up's processor time) while SDL starts. Programs started later
    // get the environment as it was.
    const bool composeNamed = std::getenv("XCOMPOSEFILE") != nullptr;
    if (!composeNamed) {
        setenv("XCOMPOSEFILE", "/dev/null", 0);
    }
    impl_->ready = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (!composeNamed) {
        unsetenv("XCOMPOSEFILE");
    }
    if (impl_->ready) {
        SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    }
    SDL_Rect bounds{};
    if (impl_->ready && SDL_GetDisplayBounds(0, &bounds) == 0) {
        impl_->screen = Size{bounds.w, bounds.h};
    }
}

SdlDriver::~SdlDriver() {
    if (DisplayLoss::happened()) {
        return;  // nothing of the display is left to release
    }
    if (impl_->cursor != nullptr) {
        SDL_FreeCursor(impl_->cursor);
    }
    if (impl_->window != nullptr) {
        SDL_DestroyWindow(impl_->window);
    }
    if (impl_->ready) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

bool SdlDriver::isReady() const { return impl_->ready; }

void SdlDriver::setDropHandler(DropHandler handler) { impl_->drop = std::move(handler); }

ChooserAnswer SdlDriver::chooseFileToOpen(const OpenFileRequest& request) {
    return chooseFileWithDesktop(request);
}

Size SdlDriver::screenSize() const { return impl_->screen; }

Size SdlDriver::maximizedClientSize() {
    if (DisplayLoss::happened()) {
        return impl_->reported;
    }
    if (impl_->window == nullptr && impl_->ready) {
        impl_->createWindow();
    }
    if (impl_->window == nullptr) {
        return impl_->screen;
    }
    const Size size = impl_->windowSize();
    impl_->reported = size;
    return Size{std::min(size.width, impl_->screen.width), std::min(size.height, impl_->screen.height)};
}

uint64_t SdlDriver::nowMs() const { return SDL_GetTicks64(); }

bool SdlDriver::displayLost() const { return DisplayLoss::happened(); }

void SdlDriver::waitForInput(WindowSystem& system, std::optional<uint64_t> deadlineMs) {
    const uint64_t now = SDL_GetTicks64();
    uint64_t timeout = pollIntervalMs;
    if (deadlineMs) {
        timeout = std::min(timeout, *deadlineMs > now ? *deadlineMs - now : 0);
    }
    if (DisplayLoss::happened()) {
        SDL_Delay(static_cast<uint32_t>(timeout));  // only time passes now
        return;
    }
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(timeout)) == 0) {
        return;
    }
    impl_->handle(system, event);
    while (!DisplayLoss::happened() && SDL_PollEvent(&event) != 0) {
        impl_->handle(system, event);
    }
}

void SdlDriver::present(const PixelSurface& frame) {
    impl_->lastFrame = frame;
    if (impl_->window == nullptr || frame.pixels == nullptr || DisplayLoss::happened()) {
        return;
    }
    SDL_Surface* target = SDL_GetWindowSurface(impl_->window);
    if (nativeWindowOf(impl_->window) != impl_->titledWindow) {
        impl_->titledWindow = setWindowTitle(impl_->window, impl_->title);
    }
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(frame.pixels, frame.width, frame.height, 32,
                                                             frame.stridePixels * 4, SDL_PIXELFORMAT_RGB888);
    if (target != nullptr && source != nullptr) {
        SDL_BlitSurface(source, nullptr, target, nullptr);
        SDL_UpdateWindowSurface(impl_->window);
    }
    if (source != nullptr) {
        SDL_FreeSurface(source);
    }
}

void SdlDriver::topLevelShown(WindowHandle window, ShowCommand /*command*/) {
    if (!impl_->main) {
        impl_->main = window;
        if (impl_->window == nullptr && impl_->ready && !DisplayLoss::happened()) {
            impl_->createWindow();
        }
    }
}

void SdlDriver::titleChanged(WindowHandle window, std::string_view title) {
    if (window != impl_->main && impl_->main) {
        return;
    }
    impl_->title = std::string(title);
    if (!DisplayLoss::happened()) {
        impl_->titledWindow = setWindowTitle(impl_->window, impl_->title);
    }
}

void SdlDriver::cursorChanged(uint32_t systemId, const CursorImage* image) {
    if (!impl_->ready || DisplayLoss::happened()) {
        return;
    }
    SDL_Cursor* next = nullptr;
    if (image != nullptr) {
        SDL_Surface* surface =
            SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(image->pixels.data()), image->size.width,
                                               image->size.height, 32, image->size.width * 4, SDL_PIXELFORMAT_ARGB8888);
        if (surface != nullptr) {
            next = SDL_CreateColorCursor(surface, image->hotSpot.x, image->hotSpot.y);
            SDL_FreeSurface(surface);
        }
    } else {
        next = SDL_CreateSystemCursor(sdlCursorOf(systemId));
    }
    if (next != nullptr) {
        SDL_SetCursor(next);
        if (impl_->cursor != nullptr) {
            SDL_FreeCursor(impl_->cursor);
        }
        impl_->cursor = next;
    }
}

}  // namespace lumen
