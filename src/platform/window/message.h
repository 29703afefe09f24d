// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "platform/draw/geometry.h"
#include "platform/window/win32_names.h"

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
constexpr WindowHandle windowFromLParam(LParam value) { return WindowHandle{static_cast<uint32_t>(value)}; }

struct Message {
    WindowHandle window;
    uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    uint64_t timeMs = 0;
    Point cursor;  // screen position of the pointer when the message was taken
};

constexpr uint16_t loWord(uint64_t value) { return static_cast<uint16_t>(value & 0xFFFFu); }
constexpr uint16_t hiWord(uint64_t value) { return static_cast<uint16_t>((value >> 16) & 0xFFFFu); }
constexpr LParam makeLParam(int32_t low, int32_t high) {
    return static_cast<LParam>((static_cast<uint32_t>(low) & 0xFFFFu) |
                               ((static_cast<uint32_t>(high) & 0xFFFFu) << 16));
}
constexpr WParam makeWParam(uint32_t low, uint32_t high) {
    return static_cast<WParam>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
// Signed client coordinates of a mouse message.
constexpr int32_t xFromLParam(LParam value) { return static_cast<int16_t>(loWord(static_cast<uint64_t>(value))); }
constexpr int32_t yFromLParam(LParam value) { return static_cast<int16_t>(hiWord(static_cast<uint64_t>(value))); }
constexpr Point pointFromLParam(LParam value) { return Point{xFromLParam(value), yFromLParam(value)}; }

}  // namespace lumen
