// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/strip_grid.h"

namespace lumen {

namespace {

constexpr int32_t kDotPixels = 4;     // one millimetre
constexpr int32_t kMajorPixels = 40;  // ten millimetres

void line(Canvas& canvas, Point from, Point to) {
    canvas.moveTo(from);
    canvas.lineTo(to);
}

}  // namespace

void drawGrid(Canvas& canvas, const Pen& gridPen, int32_t limit, const GridBand& band, GridLines lines) {
    canvas.selectPen(gridPen);
    const bool major = lines == GridLines::Major;
    for (int32_t x = 0; x <= limit; x += kDotPixels) {
        if (band.left != -1 && (x < band.left || x > band.right)) continue;
        if (major && x % kMajorPixels == 0) line(canvas, {x, band.top}, {x, band.bottom});
        for (int32_t y = band.top; y <= band.bottom; y += kDotPixels) line(canvas, {x, y}, {x + 1, y});
    }
    if (major) {
        const int32_t from = band.left == -1 ? 0 : band.left;
        const int32_t to = band.left == -1 ? limit : band.right;
        for (int32_t y = band.top; y < band.bottom; y += kMajorPixels) line(canvas, {from, y}, {to, y});
    }
    canvas.selectPen(Pen::null());
}

}  // namespace lumen
