// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>

#include "platform/draw/geometry.h"
#include "platform/draw/raster_canvas.h"
#include "platform/window/cursor.h"
#include "shell/button_description.h"

namespace lumen {

// Draws the viewer's button pictures, the corner heart, the stepping cursor
// and the program icon from the button description, at the size of the
// button place each picture is made for.
class ButtonArtwork {
public:
    explicit ButtonArtwork(const ButtonDescription& description = ButtonDescription::embedded());

    // The picture of slot `slot` (or kCornerSlot) for a screen class and language.
    std::unique_ptr<RasterCanvas> slotPicture(int32_t slot, int32_t screenClass, int32_t languageIndex) const;
    // The picture of a bitmap resource id; null for an id that names none.
    std::unique_ptr<RasterCanvas> resourcePicture(uint32_t resourceId) const;

    static Size pictureSize(FaceRole role, int32_t screenClass);

    CursorImage steppingCursor() const;
    std::unique_ptr<RasterCanvas> programIcon() const;

private:
    void drawFace(RasterCanvas& canvas, const FaceSpec& face, std::string_view label) const;

    const ButtonDescription& description_;
};

}  // namespace lumen
