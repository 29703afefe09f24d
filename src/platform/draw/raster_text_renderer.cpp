// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/draw/raster_text_renderer.h"

#include <algorithm>

#include "platform/draw/scaled_font.h"
#include "platform/draw/utf8_decoder.h"

namespace lumen {

namespace {

// Blends red and blue in one word and green in another; every channel is
// (under * keep + over * coverage) / 255 rounded.
inline uint32_t blend(uint32_t under, uint32_t over, uint32_t coverage) {
    const uint32_t keep = 255u - coverage;
    uint32_t redBlue = (under & 0xFF00FFu) * keep + (over & 0xFF00FFu) * coverage + 0x800080u;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
    uint32_t green = (under & 0xFF00u) * keep + (over & 0xFF00u) * coverage + 0x8000u;
    green = ((green + ((green >> 8) & 0xFF00u)) >> 8) & 0xFF00u;
    return redBlue | green;
}

void blendGlyph(const PixelSurface& target, const Rect& clip, const Glyph& glyph, int32_t x0, int32_t y0,
                uint32_t pixel) {
    const Rect box = Rect{x0, y0, x0 + glyph.width, y0 + glyph.height}.intersected(clip);
    if (box.isEmpty()) {
        return;
    }
    for (int32_t y = box.top; y < box.bottom; ++y) {
        const uint8_t* coverage =
            glyph.coverage.data() + static_cast<size_t>(y - y0) * static_cast<size_t>(glyph.width);
        uint32_t* row = target.pixels + static_cast<ptrdiff_t>(y) * target.stridePixels;
        for (int32_t x = box.left; x < box.right; ++x) {
            const uint32_t alpha = coverage[x - x0];
            if (alpha == 255u) {
                row[x] = pixel;
            } else if (alpha != 0u) {
                row[x] = blend(row[x], pixel, alpha);
            }
        }
    }
}

}  // namespace

void RasterTextRenderer::use(const Font& font, int32_t heightPixels) {
    if (resolved_ && heightPixels == heightPixels_ && font == font_) {
        return;
    }
    font_ = font;
    heightPixels_ = heightPixels;
    scaled_ = ScaledFont::find(font, heightPixels);
    resolved_ = true;
}

int32_t RasterTextRenderer::ascent() const { return scaled_ != nullptr ? scaled_->ascent() : 0; }

int32_t RasterTextRenderer::descent() const { return scaled_ != nullptr ? scaled_->descent() : 0; }

int32_t RasterTextRenderer::layout(std::string_view text) {
    decodeUtf8Into(text, codePoints_);
    if (scaled_ == nullptr) {
        return 0;
    }
    int32_t width = 0;
    for (const char32_t codePoint : codePoints_) {
        width += scaled_->glyph(codePoint).advance;
    }
    return width;
}

void RasterTextRenderer::draw(const PixelSurface& target, const Rect& clip, Point origin, uint32_t pixel) {
    if (scaled_ == nullptr) {
        return;
    }
    int32_t x = origin.x;
    for (const char32_t codePoint : codePoints_) {
        const Glyph& glyph = scaled_->glyph(codePoint);
        if (x >= clip.right) {
            break;
        }
        if (!glyph.coverage.empty()) {
            blendGlyph(target, clip, glyph, x + glyph.left, origin.y - glyph.top, pixel);
        }
        x += glyph.advance;
    }
}

}  // namespace lumen
