// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>
// Dropped files (HDROP, DragAcceptFiles); after windows.h.
#include <shellapi.h>

#include <string>

#include "platform/win32/win32_driver.h"
#include "platform/window/button_hold.h"
#include "platform/window/window_system.h"

namespace lumen {

// The desktop window behind Win32Driver and what it has shown.
struct Win32Driver::Impl {
    bool ready = false;
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    bool ownCursor = false;  // made from an image, ours to destroy
    Size screen{640, 480};
    Size reported;        // the client size the window system knows
    bool sizing = false;  // sizes go to the window system only after the first
    WindowHandle main;
    WindowSystem* system = nullptr;  // known from the first wait for input on
    PixelSurface lastFrame;
    ButtonHold buttons;
    std::wstring title = L"Lumen";
    DropHandler drop;

    void createWindow();
    Size clientSize() const;
    void paint(HDC dc, const RECT& area) const;
    // The desktop's messages to our window (win32_window_input.cpp).
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void handleSize(WPARAM kind);
    void handleButton(UINT message, WPARAM wParam, LPARAM lParam);
    // Files dropped from Explorer, each to the drop handler.
    void handleDrop(HDROP drop);
    // The mouse taken away mid-drag: every held button is let go.
    void letGoOfButtons();
    void replaceCursor(HCURSOR next, bool own);
};

}  // namespace lumen
