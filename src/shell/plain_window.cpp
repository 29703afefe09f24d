// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/plain_window.h"

namespace lumen {
namespace {

constexpr const char* kSelfProperty = "lumen.plainWindow";

}  // namespace

PlainWindow::PlainWindow(WindowSystem& system, std::string className, bool busy)
    : system_(system), className_(std::move(className)), busy_(busy) {}

void PlainWindow::runWindow() {
    system_.registerClass(WindowClass{className_, &procedure, CS_HREDRAW | CS_VREDRAW, Brush::white(),
                                      system_.loadCursor(busy_ ? IDC_WAIT : IDC_ARROW)});
    window_ = system_.createWindow(WindowCreation{className_,
                                                  "Lumen",
                                                  WS_OVERLAPPEDWINDOW,
                                                  Rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT},
                                                  {},
                                                  0});
    system_.setProp(window_, kSelfProperty, this);
    system_.showWindow(window_, ShowCommand::Maximized);
    opened();
    system_.updateWindow(window_);
    system_.setFocus(window_);
    system_.runMessageLoop();
}

void PlainWindow::close() {
    if (isOpen()) system_.destroyWindow(window_);
}

LResult PlainWindow::handle(uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case WM_PAINT: {
        PaintStruct paintStruct;
        if (Canvas* canvas = system_.beginPaint(window_, paintStruct)) {
            paint(*canvas);
            canvas->selectFont(Font::system());
        }
        system_.endPaint(window_, paintStruct);
        return 0;
    }
    case WM_COMMAND:
        if ((wParam >> 16) == BN_CLICKED) command(static_cast<uint32_t>(wParam & 0xFFFF));
        if (isOpen()) system_.setFocus(window_);
        return 0;
    case WM_KEYDOWN: key(static_cast<uint32_t>(wParam)); return 0;
    case WM_TIMER: timer(); return 0;
    case WM_DRAWITEM: drawItem(*reinterpret_cast<const DrawItemStruct*>(lParam)); return 1;
    case WM_CLOSE:
        if (mayClose()) close();
        return 0;
    default: return system_.defWindowProc(window_, message, wParam, lParam);
    }
}

LResult PlainWindow::procedure(WindowSystem& system, WindowHandle window, uint32_t message, WParam wParam,
                               LParam lParam) {
    auto* self = static_cast<PlainWindow*>(system.getProp(window, kSelfProperty));
    if (message == WM_DESTROY) {
        system.removeProp(window, kSelfProperty);
        system.postQuitMessage(0);
        return 0;
    }
    if (self == nullptr) return system.defWindowProc(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

}  // namespace lumen
