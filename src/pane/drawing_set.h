// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/draw/brush.h"
#include "platform/draw/color.h"
#include "platform/draw/font.h"
#include "platform/draw/pen.h"

namespace lumen {

// The pens, brushes, fonts and colours that the shell makes at start-up from
// color.ini, TBcolor.ini and fixed values, and that every pane draws with.
struct DrawingSet {
    Color windowColor = whiteColor;
    Brush windowBrush = Brush::white();
    Pen windowPen = Pen::white();  // erases measuring lines; ECG pane separator
    Color ventricularColor = blackColor;  // also the title pane's colour
    Brush silverBrush = Brush::lightGrey();   // event browser status line
    Font measuringFont;       // Arial 18 bold
    Font readoutFont;         // Arial 40, heart-rate readout
    Font rowFontSmall;        // Arial 14 bold, event rows on classes 2 and 3
    Font rowFontLarge;        // Arial 17 bold, event rows on class 1
};

}  // namespace lumen
