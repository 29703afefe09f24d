// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "platform/draw/color.h"

namespace lumen {

// A block of 32-bit pixels owned by someone else. Each pixel is 0x00RRGGBB
// in native byte order: the layout of cairo's RGB24 and SDL's ARGB8888.
struct PixelSurface {
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stridePixels = 0;  // pixels from one row to the next
};

constexpr uint32_t pixelFromColor(Color color) {
    return (static_cast<uint32_t>(redOf(color)) << 16) | (static_cast<uint32_t>(greenOf(color)) << 8) | blueOf(color);
}

constexpr Color colorFromPixel(uint32_t pixel) {
    return rgb(static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel));
}

}  // namespace lumen
