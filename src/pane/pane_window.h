// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/window/message.h"
#include "platform/window/window_system.h"

namespace lumen {

// A window procedure as an object (a pane, or the main window). The shell
// registers the classes with PaneWindow::procedure and attaches each object
// to its window right after creating it; messages that arrive before that
// (or for a window without an object) get the default handling.
class PaneWindow {
public:
    static constexpr std::string_view kProperty = "lumen.pane";

    PaneWindow() = default;
    PaneWindow(const PaneWindow&) = delete;
    PaneWindow& operator=(const PaneWindow&) = delete;
    // The window, if it outlives its object, falls back to the default handling.
    virtual ~PaneWindow() {
        if (system_ != nullptr) system_->removeProp(window_, kProperty);
    }
    virtual LResult handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) = 0;

    // The system must outlive the object.
    void attach(WindowSystem& system, WindowHandle window) {
        system_ = &system;
        window_ = window;
        system.setProp(window, kProperty, this);
    }
    // The window attached last; none before attach.
    WindowHandle window() const { return window_; }

    static LResult procedure(WindowSystem& system, WindowHandle window, uint32_t message, WParam wParam,
                             LParam lParam) {
        auto* pane = static_cast<PaneWindow*>(system.getProp(window, kProperty));
        return pane != nullptr ? pane->handle(window, message, wParam, lParam)
                               : system.defWindowProc(window, message, wParam, lParam);
    }

private:
    WindowSystem* system_ = nullptr;
    WindowHandle window_;
};

}  // namespace lumen
