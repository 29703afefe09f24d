// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "platform/draw/canvas.h"
#include "platform/draw/geometry.h"
#include "platform/window/message.h"
#include "platform/window/win32_names.h"

namespace lumen {

// What beginPaint hands out: a canvas over the window's client area, clipped
// to the part that needs painting, valid until endPaint.
struct PaintStruct {
    Canvas* canvas = nullptr;
    Rect paintRect;       // client coordinates
    bool erased = false;  // the background was already painted
};

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
