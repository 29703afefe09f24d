// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/draw/font.h"

namespace lumen {

// A rendered glyph: grey coverage rows and their place relative to the pen
// position on the baseline (left bearing, rows above the baseline).
struct Glyph {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t advance = 0;
    std::vector<uint8_t> coverage;
};

// What draws the glyphs of one font at one pixel size: FreeType on Linux
// (scaled_font_freetype.cpp), GDI on Windows (scaled_font_win32.cpp).
class GlyphRenderer {
public:
    virtual ~GlyphRenderer() = default;
    virtual Glyph render(char32_t codePoint) = 0;
};

// A font at one pixel size for the raster back-end, with every glyph it has
// drawn kept so that text never goes back to the renderer for a known letter.
class ScaledFont {
public:
    // Shared by every canvas; nullptr when the font has no usable face.
    // Defined by the text back-end the program is built with.
    static ScaledFont* find(const Font& font, int32_t heightPixels);

    ScaledFont(std::unique_ptr<GlyphRenderer> renderer, int32_t ascent, int32_t descent);
    ScaledFont(const ScaledFont&) = delete;
    ScaledFont& operator=(const ScaledFont&) = delete;

    int32_t ascent() const { return ascent_; }
    int32_t descent() const { return descent_; }
    int32_t cellHeight() const { return ascent_ + descent_; }
    const Glyph& glyph(char32_t codePoint);

private:
    std::unique_ptr<GlyphRenderer> renderer_;
    int32_t ascent_;
    int32_t descent_;
    static constexpr size_t directGlyphs = 0x250;
    std::array<std::unique_ptr<Glyph>, directGlyphs> direct_{};
    std::unordered_map<char32_t, std::unique_ptr<Glyph>> others_;
};

}  // namespace lumen
