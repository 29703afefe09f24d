// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's messages to the viewer's window, as input of the window
// system. Virtual-key codes and size kinds are the desktop's own numbers.
#include <windowsx.h>

#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_driver_impl.h"

namespace lumen {

namespace {

constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED, Windows 8.1 on

Point pointOf(LPARAM lParam) { return Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

void Win32Driver::Impl::handleSize(WPARAM kind) {
    if (!sizing || system == nullptr || !main) return;
    switch (kind) {
    case SIZE_MINIMIZED: system->inputSize(main, SIZE_MINIMIZED, Size{}); break;
    case SIZE_RESTORED: {
        reported = clientSize();
        system->inputSize(main, SIZE_RESTORED, reported);
        break;
    }
    case SIZE_MAXIMIZED: {
        const Size size = clientSize();
        if (size != reported) {
            reported = size;
            system->inputSize(main, SIZE_MAXIMIZED, size);
        }
        break;
    }
    default: break;
    }
}

void Win32Driver::Impl::handleButton(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN;
    const MouseButton button =
        message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ? MouseButton::Left : MouseButton::Right;
    const Point at = pointOf(lParam);
    // Held buttons keep the mouse, so a drag that leaves the window ends in it.
    if (down) {
        buttons.press(button, at);
        SetCapture(window);
    } else {
        buttons.release(button, at);
        if ((wParam & (MK_LBUTTON | MK_RBUTTON)) == 0) ReleaseCapture();
    }
    if (system != nullptr && main) system->inputMouseButton(button, down ? ButtonAction::Down : ButtonAction::Up, at);
}

void Win32Driver::Impl::handleDrop(HDROP dropped) {
    constexpr UINT countQuery = 0xFFFFFFFF;
    const UINT count = DragQueryFileW(dropped, countQuery, nullptr, 0);
    std::vector<std::string> paths;
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(dropped, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        if (DragQueryFileW(dropped, i, path.data(), length + 1) == length) {
            path.resize(length);
            paths.push_back(utf8FromWide(path));
        }
    }
    DragFinish(dropped);
    for (const std::string& path : paths) {
        if (drop) drop(path);
    }
}

void Win32Driver::Impl::letGoOfButtons() {
    for (const ButtonHold::Release& release : buttons.letGoAll()) {
        if (system != nullptr && main) system->inputMouseButton(release.button, ButtonAction::Up, release.at);
    }
}

LRESULT Win32Driver::Impl::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool ours = system != nullptr && main;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paintStruct{};
        HDC dc = BeginPaint(window, &paintStruct);
        paint(dc, paintStruct.rcPaint);
        EndPaint(window, &paintStruct);
        return 0;
    }
    case WM_ERASEBKGND: return 1;  // the frame covers the whole client area
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && cursor != nullptr) {
            SetCursor(cursor);
            return TRUE;
        }
        break;
    case WM_SIZE: handleSize(wParam); return 0;
    case WM_CLOSE:
        if (ours) system->inputClose(main);
        return 0;
    case WM_MOUSEMOVE:
        buttons.moved(pointOf(lParam));
        // A button let go when the mouse was taken away stays up until pressed again.
        if (ours)
            system->inputMouseMove(pointOf(lParam), (wParam & MK_LBUTTON) != 0 && buttons.isHeld(MouseButton::Left));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: handleButton(message, wParam, lParam); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window) letGoOfButtons();
        return 0;
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
        if (GetCapture() == window) ReleaseCapture();
        letGoOfButtons();
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        // Alt+F4 stays the desktop's close; every other key is the viewer's,
        // and F10 or Alt alone must not open the window menu.
        if (wParam == VK_F4 && message == WM_SYSKEYDOWN) break;
        if (ours) system->inputKey(static_cast<uint32_t>(wParam), down ? KeyAction::Down : KeyAction::Up);
        return 0;
    }
    case WM_SYSCHAR: return 0;  // no beep for Alt+letter
    case WM_DROPFILES: handleDrop(reinterpret_cast<HDROP>(wParam)); return 0;
    case kDpiChangedMessage: {
        // Moved to a screen of another resolution (the manifest says we draw
        // per monitor): the desktop's suggested frame, drawn in its pixels.
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        if (message == kCloseRequestMessage) {
            // Sent (it cannot be posted: its number is WM_MDICREATE's) by the
            // acquisition program: the main window's own close request.
            if (ours) system->postMessage(main, kCloseRequestMessage, 0, 0);
            return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace lumen
