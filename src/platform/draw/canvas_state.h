// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "platform/draw/brush.h"
#include "platform/draw/color.h"
#include "platform/draw/font.h"
#include "platform/draw/geometry.h"
#include "platform/draw/pen.h"
#include "platform/draw/text_align.h"

namespace lumen {

enum class BackgroundMode : uint8_t { Transparent = 1, Opaque = 2 };

// How pens and brush interiors combine with the pixels already there.
// Xor inverts exactly the bits of the pen colour, so drawing twice restores.
enum class RasterOp : uint8_t { Copy, Xor, NotXor };

// Pixels: one unit is one device pixel, y grows downward, origin top-left.
// HundredthMillimetre: one unit is 0.01 mm, y grows upward, the origin is the
// top-left corner of the page (points on the page have negative y).
enum class MapMode : uint8_t { Pixels, HundredthMillimetre };

// A clip rectangle stays where it was put on the device: it keeps the
// mapping it was given in, whatever mapping is selected later.
struct CanvasClip {
    Rect rect;
    MapMode mapMode = MapMode::Pixels;
};

// Everything a canvas draws with; saveState pushes all of it at once.
struct CanvasState {
    Pen pen = Pen::black();
    Brush brush = Brush::white();
    Font font = Font::system();
    Color textColor = blackColor;
    Color bkColor = whiteColor;
    BackgroundMode bkMode = BackgroundMode::Opaque;
    TextAlign textAlign = TextAlign::Left | TextAlign::Top;
    RasterOp rasterOp = RasterOp::Copy;
    MapMode mapMode = MapMode::Pixels;
    Point position{};
    std::optional<CanvasClip> clip;  // none: the whole canvas
};

}  // namespace lumen
