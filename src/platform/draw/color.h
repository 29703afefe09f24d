// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace lumen {

// A colour in the layout the configuration files and the drawing code use:
// 0x00BBGGRR (red in the low byte), as Win32 COLORREF.
using Color = uint32_t;

constexpr Color rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<Color>(red) | (static_cast<Color>(green) << 8) | (static_cast<Color>(blue) << 16);
}

constexpr uint8_t redOf(Color color) { return static_cast<uint8_t>(color & 0xFFu); }
constexpr uint8_t greenOf(Color color) { return static_cast<uint8_t>((color >> 8) & 0xFFu); }
constexpr uint8_t blueOf(Color color) { return static_cast<uint8_t>((color >> 16) & 0xFFu); }

inline constexpr Color blackColor = rgb(0, 0, 0);
inline constexpr Color whiteColor = rgb(255, 255, 255);

}  // namespace lumen
