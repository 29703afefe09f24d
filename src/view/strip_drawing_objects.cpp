// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/strip_drawing_objects.h"

namespace lumen {

StripDrawingObjects StripDrawingObjects::make(const StripColors& colors, int32_t screenClass) {
    StripDrawingObjects objects;
    objects.background = colors.window;
    objects.backgroundBrush = Brush::solid(colors.window);
    objects.backgroundPen = Pen::solid(0, colors.window);
    objects.text = colors.text;
    objects.tracePens = {Pen::solid(0, colors.trace), Pen::solid(0, colors.ventricular),
                         Pen::solid(0, colors.supraventricular)};
    objects.gridPen = Pen::solid(0, colors.grid);
    objects.caliperPen = Pen::solid(0, colors.caliper);
    objects.highlightBrush = Brush::solid(rgb(128, 128, 128));
    objects.paneFont = Font::make("Arial", 14, Font::normalWeight);
    // The smallest screens get a smaller, bold strip font.
    objects.stripFont = screenClass == 3 ? Font::make("Arial", 13, Font::boldWeight) : objects.paneFont;
    objects.measuringFont = Font::make("Arial", 18, Font::boldWeight);
    return objects;
}

}  // namespace lumen
