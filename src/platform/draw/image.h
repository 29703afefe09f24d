// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/draw/canvas.h"
#include "platform/draw/pixel_surface.h"

namespace lumen {

// An off-screen picture: a canvas whose pixels can be read back, so that
// every back-end can copy from it with bitBlt. Canvas::createCompatibleImage
// makes one that suits the canvas it is copied to.
class Image : public Canvas {
public:
    // The picture's pixels, 0x00RRGGBB, valid while the image lives.
    virtual PixelSurface pixels() const = 0;

protected:
    using Canvas::Canvas;
};

}  // namespace lumen
