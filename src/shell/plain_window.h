// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "platform/window/window_system.h"

namespace lumen {

// A maximised top-level window of its own class that runs a message loop
// until it is destroyed: the frame of the screens Lumen shows before a
// recording is open (the start screen, the progress of an import). A
// subclass paints and answers input; the window's end ends the loop.
class PlainWindow {
public:
    // `busy`: the wait cursor over it, for a window shown while work goes on.
    PlainWindow(WindowSystem& system, std::string className, bool busy);
    virtual ~PlainWindow() = default;
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;

protected:
    // Creates and shows the window, calls opened(), then runs the loop
    // until the window is destroyed.
    void runWindow();
    void close();
    bool isOpen() const { return system_.isWindow(window_); }

    virtual void opened() {}
    virtual void paint(Canvas& canvas) = 0;
    virtual void command(uint32_t /*controlId*/) {}
    virtual void key(uint32_t /*virtualKey*/) {}
    virtual void timer() {}
    virtual void drawItem(const DrawItemStruct& /*item*/) {}
    // Whether the user's close (the frame's button, Alt+F4) may end it.
    virtual bool mayClose() { return true; }

    WindowSystem& system_;
    WindowHandle window_;

private:
    static LResult procedure(WindowSystem& system, WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
    LResult handle(uint32_t message, WParam wParam, LParam lParam);

    std::string className_;
    bool busy_;
};

}  // namespace lumen
