// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "platform/draw/font.h"
#include "platform/draw/pen.h"

namespace lumen {

// The pens and fonts of one report, in 0.01 mm: the page is drawn on a
// metric canvas, so these sizes are true on paper.
struct ReportTools {
    static constexpr uint8_t kDefaultCharSet = 1;

    Pen finePen = Pen::solid(8, blackColor);     // 0.08 mm: grid, boxes, traces
    Pen boldPen = Pen::solid(40, blackColor);    // 0.4 mm: beat ticks, calipers, episodes
    Pen mediumPen = Pen::solid(20, blackColor);  // 0.2 mm
    Font smallFont = Font::make("Arial", 250, 300, FontSlant::Upright, kDefaultCharSet);
    Font textFont = Font::make("Arial", 350, 300, FontSlant::Upright, kDefaultCharSet);
    Font titleFont = Font::make("Times new roman", 500, 100, FontSlant::Upright, kDefaultCharSet);
};

}  // namespace lumen
