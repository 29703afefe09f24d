#pragma once

#include <cstdint>

#include "platform/draw/canvas.h"
#include "platform/draw/geometry.h"
#include "platform/window/message.h"

namespace lumen {

// What beginPaint hands out: a canvas over the window's client area, clipped
// to the part that needs painting, valid until endPaint.
struct PaintStruct {
    Canvas* canvas = nullptr;
    Rect paintRect;         // client coordinates
    bool erased = false;    // the background was already painted
};

// Owner-drawn controls (WM_DRAWITEM's lParam points to this).
inline constexpr uint32_t ODT_BUTTON = 4;
inline constexpr uint32_t ODA_DRAWENTIRE = 1;
inline constexpr uint32_t ODA_SELECT = 2;
inline constexpr uint32_t ODS_SELECTED = 0x0001;
inline constexpr uint32_t ODS_FOCUS = 0x0010;

struct DrawItemStruct {
    uint32_t controlType = ODT_BUTTON;
    uint32_t controlId = 0;
    uint32_t itemAction = ODA_DRAWENTIRE;
    uint32_t itemState = 0;
    WindowHandle item;
    Canvas* canvas = nullptr;
    Rect itemRect;
};

}  // namespace lumen
