// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/glyph_painter.h"

#include <algorithm>

namespace lumen {
namespace {

void verticalLine(RasterCanvas& canvas, int32_t x, int32_t top, int32_t bottom, Color ink) {
    canvas.fillRect(Rect{x, top, x + 1, bottom + 1}, Brush::solid(ink));
}

// A filled triangle pointing left or right, its tip at `tipX`.
void triangle(RasterCanvas& canvas, int32_t tipX, int32_t centreY, int32_t length, int32_t direction, Color ink) {
    for (int32_t i = 0; i < length; ++i) {
        verticalLine(canvas, tipX - direction * i, centreY - i, centreY + i, ink);
    }
}

void cross(RasterCanvas& canvas, const Rect& area, Color ink) {
    const int32_t side = std::min(area.width(), area.height()) * 5 / 9;
    const int32_t left = area.left + (area.width() - side) / 2;
    const int32_t top = area.top + (area.height() - side) / 2;
    canvas.selectPen(Pen::solid(3, ink));
    canvas.moveTo({left, top});
    canvas.lineTo({left + side, top + side});
    canvas.moveTo({left + side, top});
    canvas.lineTo({left, top + side});
}

void printer(RasterCanvas& canvas, const Rect& area, Color ink) {
    const int32_t width = std::min(area.width() * 2 / 3, area.height() * 4 / 3);
    const int32_t height = width * 3 / 4;
    const int32_t left = area.left + (area.width() - width) / 2;
    const int32_t top = area.top + (area.height() - height) / 2;
    const Rect body{left, top + height / 3, left + width, top + height * 5 / 6};
    canvas.fillRect(body, Brush::solid(ink));
    canvas.selectPen(Pen::solid(0, ink));
    canvas.selectBrush(Brush::white());
    canvas.rectangle(Rect{left + width / 5, top, left + width * 4 / 5, top + height / 3 + 1});
    canvas.rectangle(Rect{left + width / 5, top + height * 2 / 3, left + width * 4 / 5, top + height + 1});
}

}  // namespace

void paintHeart(RasterCanvas& canvas, const Rect& area, Color ink) {
    // (x^2 + y^2 - 1)^3 - x^2 y^3 <= 0 over x in -1.2..1.2, y in -1.0..1.3.
    const int32_t width = area.width();
    const int32_t height = area.height();
    if (width <= 0 || height <= 0) return;
    for (int32_t row = 0; row < height; ++row) {
        const double y = 1.3 - 2.45 * (row + 0.5) / height;
        for (int32_t column = 0; column < width; ++column) {
            const double x = -1.25 + 2.5 * (column + 0.5) / width;
            const double a = x * x + y * y - 1.0;
            if (a * a * a - x * x * y * y * y <= 0.0) {
                canvas.fillRect(Rect{area.left + column, area.top + row, area.left + column + 1, area.top + row + 1},
                                Brush::solid(ink));
            }
        }
    }
}

void paintGlyph(RasterCanvas& canvas, std::string_view name, const Rect& area, Color ink) {
    const int32_t centreX = area.left + area.width() / 2;
    const int32_t centreY = area.top + area.height() / 2;
    const int32_t length = std::max(2, std::min(area.height() * 3 / 10, area.width() * 2 / 5));
    if (name == "left") {
        triangle(canvas, centreX - length / 2, centreY, length, -1, ink);
    } else if (name == "right") {
        triangle(canvas, centreX + length / 2, centreY, length, 1, ink);
    } else if (name == "play") {
        triangle(canvas, centreX, centreY, length, 1, ink);
        triangle(canvas, centreX + length, centreY, length, 1, ink);
    } else if (name == "cross") {
        cross(canvas, area, ink);
    } else if (name == "printer") {
        printer(canvas, area, ink);
    } else if (name == "heart") {
        const int32_t side = std::min(area.width(), area.height()) * 4 / 5;
        paintHeart(canvas, Rect{centreX - side / 2, centreY - side / 2, centreX + side / 2, centreY + side / 2}, ink);
    }
}

}  // namespace lumen
