// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/draw/geometry.h"

namespace lumen {

// Where the forms view puts its heading and its tiles: as many columns as
// keep the tiles about half again as wide as high, filling the pane.
class FormsLayout {
public:
    static constexpr int32_t kHeadingHeight = 20;

    FormsLayout(Size paneSize, size_t tileCount);
    Rect heading() const { return Rect{0, 0, pane_.width, kHeadingHeight}; }
    Rect tile(size_t index) const;
    // The tile under a point of the pane; nothing between or past them.
    std::optional<size_t> tileAt(Point point) const;
    int32_t columns() const { return columns_; }

private:
    Size pane_;
    size_t count_ = 0;
    int32_t columns_ = 1;
    int32_t rows_ = 1;
};

}  // namespace lumen
