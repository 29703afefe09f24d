// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "platform/draw/color.h"

namespace lumen {

enum class BrushStyle : uint8_t { Solid, Null };

// A brush is a plain value, like a pen.
struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Color color = whiteColor;

    static constexpr Brush solid(Color color) { return Brush{BrushStyle::Solid, color}; }
    static constexpr Brush null() { return Brush{BrushStyle::Null, whiteColor}; }
    static constexpr Brush white() { return solid(whiteColor); }
    static constexpr Brush black() { return solid(blackColor); }
    static constexpr Brush grey() { return solid(rgb(128, 128, 128)); }
    static constexpr Brush lightGrey() { return solid(rgb(192, 192, 192)); }

    constexpr bool isNull() const { return style == BrushStyle::Null; }
    friend constexpr bool operator==(const Brush&, const Brush&) = default;
};

}  // namespace lumen
