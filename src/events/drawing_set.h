#pragma once
#include <array>

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
    // Indexed by the strip's pen index: normal, ventricular, supraventricular.
    std::array<Pen, 3> tracePens{Pen::black(), Pen::black(), Pen::black()};
    Color ventricularColor = blackColor;  // also the title pane's colour
    Color textColor = blackColor;
    Pen caliperPen = Pen::black();
    Pen gridPen = Pen::black();
    Brush greyBrush = Brush::grey();          // selected-beat highlight
    Brush silverBrush = Brush::lightGrey();   // event browser status line
    Font stripFont;           // Arial 14, screen classes 1 and 2
    Font stripFontSmall;      // Arial 13 bold, screen class 3
    Font measuringFont;       // Arial 18 bold
    Font readoutFont;         // Arial 40, heart-rate readout
    Font rowFontSmall;        // Arial 14 bold, event rows on classes 2 and 3
    Font rowFontLarge;        // Arial 17 bold, event rows on class 1
};

}  // namespace lumen
