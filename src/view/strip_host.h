// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/draw/image.h"
#include "view/strip_drawing_objects.h"
#include "view/strip_geometry.h"

namespace lumen {

// What the strip painter needs from the shell: the layout, the drawing
// objects, the off-screen strip image, the ECG pane's surface and the
// catalog's answer whether traces are shown at all.
class StripHost {
public:
    virtual ~StripHost() = default;

    virtual StripGeometry stripGeometry() const = 0;
    virtual const StripDrawingObjects& drawingObjects() const = 0;
    // The image of (stripWidth + 1) x paneHeight that every paint draws
    // into; nullptr before the first layout.
    virtual Image* stripImage() = 0;
    // The ECG pane's surface for a paint outside its paint message; the
    // painter hands it back with endPanePaint. nullptr when there is none.
    virtual Canvas* beginPanePaint() = 0;
    virtual void endPanePaint(Canvas& pane) = 0;
    // The catalog's selected row has events, or is the time-scale row.
    virtual bool selectedHasEvents() const = 0;
    // The program is ending: the strip keeps the signal it holds.
    virtual bool stripFrozen() const = 0;
};

}  // namespace lumen
