// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "platform/draw/canvas.h"
#include "print/report_tools.h"

namespace lumen {

enum class BoxFill { Hollow, LightGrey };

// A framed box of the report with its black shadow, 0.8 mm down and to the
// right; (left, top) is its top-left corner on the page, whose y grows upward.
// The fine pen stays selected.
inline void drawReportBox(Canvas& canvas, const ReportTools& tools, Point topLeft, Size size, BoxFill fill) {
    constexpr int32_t shadow = 80;
    const int32_t right = topLeft.x + size.width;
    const int32_t bottom = topLeft.y - size.height;
    canvas.selectPen(tools.finePen);
    const Brush previous =
        canvas.selectBrush(fill == BoxFill::LightGrey ? Brush::solid(rgb(220, 220, 220)) : Brush::null());
    canvas.rectangle(Rect{topLeft.x, topLeft.y, right, bottom});
    canvas.selectBrush(previous);
    canvas.fillRect(Rect{right, topLeft.y - shadow, right + shadow, bottom - shadow}, Brush::black());
    canvas.fillRect(Rect{topLeft.x + shadow, bottom, right, bottom - shadow}, Brush::black());
}

}  // namespace lumen
