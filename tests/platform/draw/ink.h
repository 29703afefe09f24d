// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <algorithm>
#include <vector>

#include "platform/draw/raster_canvas.h"

namespace lumen::test {

// Bounding box of every pixel that differs from `background`; empty when none.
inline Rect inkBox(const RasterCanvas& canvas, Color background) {
    const Size size = canvas.deviceSize();
    Rect box{size.width, size.height, 0, 0};
    for (int32_t y = 0; y < size.height; ++y) {
        for (int32_t x = 0; x < size.width; ++x) {
            if (canvas.colorAt(x, y) != background) {
                box = Rect{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                           std::max(box.bottom, y + 1)};
            }
        }
    }
    return box.isEmpty() ? Rect{} : box;
}

// Every pixel's colour, row by row.
inline std::vector<Color> colorsOf(const RasterCanvas& canvas) {
    std::vector<Color> colors;
    for (int32_t y = 0; y < canvas.deviceSize().height; ++y) {
        for (int32_t x = 0; x < canvas.deviceSize().width; ++x) colors.push_back(canvas.colorAt(x, y));
    }
    return colors;
}

inline int countColor(const RasterCanvas& canvas, Color color) {
    const std::vector<Color> colors = colorsOf(canvas);
    return static_cast<int>(std::count(colors.begin(), colors.end(), color));
}

}  // namespace lumen::test
