#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/draw/font.h"

struct FT_FaceRec_;

namespace lumen {

class FontFace;

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

// A font at one pixel size for the raster back-end, with every glyph it has
// drawn kept so that text never goes back to FreeType for a known letter.
class ScaledFont {
public:
    // Shared by every canvas; nullptr when the font has no usable face.
    static ScaledFont* find(const Font& font, int32_t heightPixels);

    ScaledFont(FT_FaceRec_* face, double emPixels, double ascent, double descent);
    ~ScaledFont();
    ScaledFont(const ScaledFont&) = delete;
    ScaledFont& operator=(const ScaledFont&) = delete;

    int32_t ascent() const { return ascent_; }
    int32_t descent() const { return descent_; }
    int32_t cellHeight() const { return ascent_ + descent_; }
    const Glyph& glyph(char32_t codePoint);

private:
    Glyph render(char32_t codePoint);

    FT_FaceRec_* face_;
    int32_t ascent_;
    int32_t descent_;
    static constexpr size_t directGlyphs = 0x250;
    std::array<std::unique_ptr<Glyph>, directGlyphs> direct_{};
    std::unordered_map<char32_t, std::unique_ptr<Glyph>> others_;
};

}  // namespace lumen
