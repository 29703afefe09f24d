// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "platform/draw/geometry.h"
#include "platform/window/win32_names.h"

namespace lumen {

// A cursor: one of the system's shapes or an image the program supplied.
struct CursorHandle {
    uint32_t id = 0;
    constexpr explicit operator bool() const { return id != 0; }
    friend constexpr bool operator==(CursorHandle, CursorHandle) = default;
};

// Pixels are 0xAARRGGBB, row by row; alpha 0 is transparent.
struct CursorImage {
    Size size;
    Point hotSpot;
    std::vector<uint32_t> pixels;
};

}  // namespace lumen
