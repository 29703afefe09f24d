// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string_view>

#include "platform/draw/color.h"
#include "platform/draw/geometry.h"
#include "platform/draw/raster_canvas.h"

namespace lumen {

// The symbols of the button pictures, drawn centred in `area` with `ink`.
// Unknown names draw nothing.
void paintGlyph(RasterCanvas& canvas, std::string_view name, const Rect& area, Color ink);

// A heart filling `area`: the corner picture and the program icon.
void paintHeart(RasterCanvas& canvas, const Rect& area, Color ink);

}  // namespace lumen
