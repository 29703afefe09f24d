// The desktop's messages to the viewer's window, as input of the window
// system. Virtual-key codes and size kinds are the desktop's own numbers.
#include <windowsx.h>

#include "platform/win32/win32_driver_impl.h"

namespace lumen {

namespace {

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
        if (ours) system->inputMouseMove(pointOf(lParam), (wParam & MK_LBUTTON) != 0);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN;
        const bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP;
        // Held buttons keep the mouse, so a drag that leaves the window ends in it.
        if (down) {
            SetCapture(window);
        } else if ((wParam & (MK_LBUTTON | MK_RBUTTON)) == 0) {
            ReleaseCapture();
        }
        if (ours) {
            system->inputMouseButton(left ? MouseButton::Left : MouseButton::Right,
                                     down ? ButtonAction::Down : ButtonAction::Up, pointOf(lParam));
        }
        return 0;
    }
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
