// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/draw/font.h"
#include "platform/draw/geometry.h"
#include "platform/draw/pixel_surface.h"

namespace lumen {

class ScaledFont;

// Lays out and blends text for RasterCanvas with the font selected last.
class RasterTextRenderer {
public:
    // Finds the pixel-size font; cheap when nothing changed.
    void use(const Font& font, int32_t heightPixels);

    int32_t ascent() const;
    int32_t descent() const;
    // Takes the text to draw next; returns its advance width in pixels.
    int32_t layout(std::string_view text);
    // Blends the text taken last, baseline starting at `origin`, into the
    // surface inside `clip`, in `pixel` colour.
    void draw(const PixelSurface& target, const Rect& clip, Point origin, uint32_t pixel);

private:
    Font font_;
    int32_t heightPixels_ = 0;
    bool resolved_ = false;
    ScaledFont* scaled_ = nullptr;
    std::vector<char32_t> codePoints_;
};

}  // namespace lumen
