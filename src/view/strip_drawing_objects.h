// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>

#include "platform/draw/brush.h"
#include "platform/draw/color.h"
#include "platform/draw/font.h"
#include "platform/draw/pen.h"

namespace lumen {

// The colours of color.ini and TBcolor.ini that the strip is drawn with.
struct StripColors {
    Color window = rgb(255, 255, 255);       // token 1
    Color trace = rgb(0, 0, 0);              // token 10
    Color ventricular = rgb(255, 0, 0);      // token 12
    Color supraventricular = rgb(0, 0, 255); // token 13
    Color text = rgb(0, 0, 0);               // token 19
    Color caliper = rgb(0, 128, 0);          // token 23
    Color grid = rgb(255, 160, 160);         // TBcolor.ini
};

// Pens, brushes and fonts of the strip, made once by the shell at start-up
// and again when the screen class changes.
struct StripDrawingObjects {
    Color background = whiteColor;
    Brush backgroundBrush = Brush::white();
    Pen backgroundPen = Pen::white();  // erases measuring lines
    Color text = blackColor;
    std::array<Pen, 3> tracePens{};  // by pen index: normal, ventricular, supraventricular
    Pen gridPen = Pen::black();
    Pen caliperPen = Pen::black();
    Brush highlightBrush = Brush::grey();
    Font stripFont;      // letters, ticks, RR intervals, episode names
    Font paneFont;       // Arial 14, the pane's own font
    Font measuringFont;  // Arial 18 bold: caliper texts and channel names
    Font systemFont = Font::system();

    static StripDrawingObjects make(const StripColors& colors, int32_t screenClass);
};

}  // namespace lumen
