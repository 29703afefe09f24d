// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "platform/draw/color.h"

namespace lumen {

enum class PenStyle : uint8_t { Solid, Null };

// A pen is a plain value: creating one costs nothing and whoever holds it owns
// it. Width is in the canvas's logical units; 0 and 1 draw one device pixel.
struct Pen {
    PenStyle style = PenStyle::Solid;
    int32_t width = 0;
    Color color = blackColor;

    static constexpr Pen solid(int32_t width, Color color) { return Pen{PenStyle::Solid, width, color}; }
    static constexpr Pen null() { return Pen{PenStyle::Null, 0, blackColor}; }
    static constexpr Pen black() { return solid(0, blackColor); }
    static constexpr Pen white() { return solid(0, whiteColor); }

    constexpr bool isNull() const { return style == PenStyle::Null; }
    friend constexpr bool operator==(const Pen&, const Pen&) = default;
};

}  // namespace lumen
