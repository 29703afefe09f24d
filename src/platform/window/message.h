#pragma once

#include <cstdint>

#include "platform/draw/geometry.h"

namespace lumen {

// Message parameters keep the widths and meanings of the desktop API the
// viewer's window procedures were written against.
using WParam = uint64_t;
using LParam = int64_t;
using LResult = int64_t;

// A window as its procedures see it. Handles are never reused, so a stale
// handle simply names no window.
struct WindowHandle {
    uint32_t id = 0;
    constexpr explicit operator bool() const { return id != 0; }
    friend constexpr bool operator==(WindowHandle, WindowHandle) = default;
};

constexpr LParam toLParam(WindowHandle window) { return static_cast<LParam>(window.id); }
constexpr WindowHandle windowFromLParam(LParam value)
{
    return WindowHandle{static_cast<uint32_t>(value)};
}

struct Message {
    WindowHandle window;
    uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    uint64_t timeMs = 0;
    Point cursor;  // screen position of the pointer when the message was taken
};

// Message numbers (desktop values).
inline constexpr uint32_t WM_NULL = 0x0000;
inline constexpr uint32_t WM_CREATE = 0x0001;
inline constexpr uint32_t WM_DESTROY = 0x0002;
inline constexpr uint32_t WM_MOVE = 0x0003;
inline constexpr uint32_t WM_SIZE = 0x0005;
inline constexpr uint32_t WM_SETFOCUS = 0x0007;
inline constexpr uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr uint32_t WM_ENABLE = 0x000A;
inline constexpr uint32_t WM_SETTEXT = 0x000C;
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr uint32_t WM_SETCURSOR = 0x0020;
inline constexpr uint32_t WM_DRAWITEM = 0x002B;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr uint32_t WM_COMMAND = 0x0111;
inline constexpr uint32_t WM_TIMER = 0x0113;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr uint32_t WM_USER = 0x0400;

// WM_SIZE kinds (wParam).
inline constexpr WParam SIZE_RESTORED = 0;
inline constexpr WParam SIZE_MINIMIZED = 1;
inline constexpr WParam SIZE_MAXIMIZED = 2;

// Key-state flags of mouse messages (wParam).
inline constexpr WParam MK_LBUTTON = 0x0001;
inline constexpr WParam MK_RBUTTON = 0x0002;
inline constexpr WParam MK_SHIFT = 0x0004;
inline constexpr WParam MK_CONTROL = 0x0008;

// Button notification in the high word of WM_COMMAND's wParam.
inline constexpr uint32_t BN_CLICKED = 0;

constexpr uint16_t loWord(uint64_t value) { return static_cast<uint16_t>(value & 0xFFFFu); }
constexpr uint16_t hiWord(uint64_t value) { return static_cast<uint16_t>((value >> 16) & 0xFFFFu); }
constexpr LParam makeLParam(int32_t low, int32_t high)
{
    return static_cast<LParam>((static_cast<uint32_t>(low) & 0xFFFFu) |
                               ((static_cast<uint32_t>(high) & 0xFFFFu) << 16));
}
constexpr WParam makeWParam(uint32_t low, uint32_t high)
{
    return static_cast<WParam>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
// Signed client coordinates of a mouse message.
constexpr int32_t xFromLParam(LParam value) { return static_cast<int16_t>(loWord(static_cast<uint64_t>(value))); }
constexpr int32_t yFromLParam(LParam value) { return static_cast<int16_t>(hiWord(static_cast<uint64_t>(value))); }
constexpr Point pointFromLParam(LParam value) { return Point{xFromLParam(value), yFromLParam(value)}; }

}  // namespace lumen
