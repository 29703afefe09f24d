// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/forms_layout.h"

#include <algorithm>
#include <cmath>

namespace lumen {
namespace {

constexpr double kTileAspect = 1.5;  // width : height

}  // namespace

FormsLayout::FormsLayout(Size paneSize, size_t tileCount) : pane_(paneSize), count_(tileCount) {
    const double height = std::max(1, pane_.height - kHeadingHeight);
    const double width = std::max(1, pane_.width);
    const auto n = static_cast<double>(std::max<size_t>(tileCount, 1));
    columns_ = std::clamp(static_cast<int32_t>(std::ceil(std::sqrt(n * width / (height * kTileAspect)))), 1,
                          static_cast<int32_t>(n));
    rows_ = static_cast<int32_t>(std::ceil(n / columns_));
}

Rect FormsLayout::tile(size_t index) const {
    const auto column = static_cast<int32_t>(index % static_cast<size_t>(columns_));
    const auto row = static_cast<int32_t>(index / static_cast<size_t>(columns_));
    const int32_t left = pane_.width * column / columns_;
    const int32_t right = pane_.width * (column + 1) / columns_;
    const int32_t area = pane_.height - kHeadingHeight;
    const int32_t top = kHeadingHeight + area * row / rows_;
    const int32_t bottom = kHeadingHeight + area * (row + 1) / rows_;
    return Rect{left, top, right, bottom};
}

std::optional<size_t> FormsLayout::tileAt(Point point) const {
    for (size_t i = 0; i < count_; ++i)
        if (tile(i).contains(point)) return i;
    return std::nullopt;
}

}  // namespace lumen
