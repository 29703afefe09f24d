// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "platform/draw/canvas.h"

namespace lumen {

enum class GridLines { DotsOnly, Major };

// A band of the grid to draw: columns left .. right (left -1: every column
// up to the limit), rows top .. bottom.
struct GridBand {
    int32_t left = -1;
    int32_t top = 0;
    int32_t right = -1;
    int32_t bottom = 0;
};

// Millimetre paper at 4 pixels per millimetre: a dot every 4 pixels, with
// major lines a line every 40 pixels (10 mm). `limit` is the widest column
// (the strip width). Ends with the null pen selected.
void drawGrid(Canvas& canvas, const Pen& gridPen, int32_t limit, const GridBand& band, GridLines lines);

}  // namespace lumen
