// SPDX-License-Identifier: GPL-3.0-or-later
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstring>
#include <map>
#include <utility>

#include "platform/draw/font_face.h"
#include "platform/draw/scaled_font.h"

namespace lumen {

namespace {

using ScaledKey = std::pair<const FontFace*, long>;

std::map<ScaledKey, std::unique_ptr<ScaledFont>>& scaledCache() {
    static auto* cache = new std::map<ScaledKey, std::unique_ptr<ScaledFont>>();
    return *cache;
}

void copyCoverage(const FT_Bitmap& bitmap, Glyph& glyph) {
    glyph.width = static_cast<int32_t>(bitmap.width);
    glyph.height = static_cast<int32_t>(bitmap.rows);
    glyph.coverage.assign(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height), 0);
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.buffer == nullptr) {
        glyph.width = 0;
        glyph.height = 0;
        glyph.coverage.clear();
        return;
    }
    for (int32_t row = 0; row < glyph.height; ++row) {
        const unsigned char* source = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
        std::memcpy(glyph.coverage.data() + static_cast<size_t>(row) * static_cast<size_t>(glyph.width), source,
                    static_cast<size_t>(glyph.width));
    }
}

// One FreeType handle of its own, sized once.
class FreetypeGlyphRenderer final : public GlyphRenderer {
public:
    FreetypeGlyphRenderer(FT_Face face, double emPixels) : face_(face) {
        FT_Set_Char_Size(face_, 0, static_cast<FT_F26Dot6>(std::lround(emPixels * 64.0)), 72, 72);
    }
    ~FreetypeGlyphRenderer() override { FT_Done_Face(face_); }
    FreetypeGlyphRenderer(const FreetypeGlyphRenderer&) = delete;
    FreetypeGlyphRenderer& operator=(const FreetypeGlyphRenderer&) = delete;

    Glyph render(char32_t codePoint) override {
        Glyph glyph;
        const FT_UInt index = FT_Get_Char_Index(face_, codePoint);
        if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) != 0) {
            return glyph;
        }
        glyph.advance = static_cast<int32_t>((face_->glyph->advance.x + 32) >> 6);
        if (FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            return glyph;
        }
        glyph.left = face_->glyph->bitmap_left;
        glyph.top = face_->glyph->bitmap_top;
        copyCoverage(face_->glyph->bitmap, glyph);
        return glyph;
    }

private:
    FT_Face face_;
};

}  // namespace

ScaledFont* ScaledFont::find(const Font& font, int32_t heightPixels) {
    FontFace* face = FontFace::find(font);
    if (face == nullptr) {
        return nullptr;
    }
    const FontScale scale = face->scaleFor(heightPixels);
    const long em64 = std::lround(scale.emSize * 64.0);
    auto& cache = scaledCache();
    const ScaledKey key{face, em64};
    auto found = cache.find(key);
    if (found != cache.end()) {
        return found->second.get();
    }
    FT_Face ftFace = face->openAnotherHandle();
    std::unique_ptr<ScaledFont> scaled;
    if (ftFace != nullptr && em64 > 0 && em64 < 64 * 4096) {
        scaled = std::make_unique<ScaledFont>(std::make_unique<FreetypeGlyphRenderer>(ftFace, scale.emSize),
                                              static_cast<int32_t>(std::lround(scale.ascent)),
                                              static_cast<int32_t>(std::lround(scale.descent)));
    } else if (ftFace != nullptr) {
        FT_Done_Face(ftFace);
    }
    return cache.emplace(key, std::move(scaled)).first->second.get();
}

}  // namespace lumen
