#pragma once
#include <cstdint>
#include <string_view>

#include "platform/window/message.h"
#include "platform/window/window_system.h"

namespace lumen {

// A pane's window procedure as an object. The shell registers the pane
// classes with PaneWindow::procedure and attaches each pane object to its
// window right after creating it; messages that arrive before that (or for
// a window without a pane) get the default handling.
class PaneWindow {
public:
    static constexpr std::string_view kProperty = "lumen.pane";

    virtual ~PaneWindow() = default;
    virtual LResult handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) = 0;

    void attach(WindowSystem& system, WindowHandle window) { system.setProp(window, kProperty, this); }

    static LResult procedure(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
        WindowSystem& system = WindowSystem::active();
        auto* pane = static_cast<PaneWindow*>(system.getProp(window, kProperty));
        return pane != nullptr ? pane->handle(window, message, wParam, lParam)
                               : system.defWindowProc(window, message, wParam, lParam);
    }
};

}  // namespace lumen
