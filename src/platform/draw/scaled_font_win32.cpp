// SPDX-License-Identifier: GPL-3.0-or-later
// Glyphs from GDI (CreateFontW, GetGlyphOutlineW), blended into the same
// raster as on Linux: the faces are the system's own Arial and Times New
// Roman.
#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/draw/scaled_font.h"
#include "platform/win32/gdi_font_cache.h"

namespace lumen {

namespace {

constexpr int32_t kDefaultCellHeight = 16;
constexpr int32_t kLargestHeightPixels = 4096;
constexpr uint32_t kGrayLevels = 64;  // GGO_GRAY8_BITMAP gives 0..64
constexpr char32_t kLastBmpCodePoint = 0xFFFF;

class GdiGlyphRenderer final : public GlyphRenderer {
public:
    GdiGlyphRenderer(HDC dc, HFONT font) : dc_(dc), font_(font) {}
    ~GdiGlyphRenderer() override {
        DeleteDC(dc_);
        DeleteObject(font_);
    }
    GdiGlyphRenderer(const GdiGlyphRenderer&) = delete;
    GdiGlyphRenderer& operator=(const GdiGlyphRenderer&) = delete;

    Glyph render(char32_t codePoint) override {
        Glyph glyph;
        if (codePoint > kLastBmpCodePoint) return glyph;
        const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        GLYPHMETRICS metrics{};
        const auto character = static_cast<UINT>(codePoint);
        const DWORD size = GetGlyphOutlineW(dc_, character, GGO_GRAY8_BITMAP, &metrics, 0, nullptr, &identity);
        if (size == GDI_ERROR) return glyph;
        glyph.advance = metrics.gmCellIncX;
        if (size == 0) return glyph;  // a blank such as the space
        std::vector<uint8_t> levels(size);
        if (GetGlyphOutlineW(dc_, character, GGO_GRAY8_BITMAP, &metrics, size, levels.data(), &identity) == GDI_ERROR) {
            return glyph;
        }
        const auto width = static_cast<size_t>(metrics.gmBlackBoxX);
        const auto height = static_cast<size_t>(metrics.gmBlackBoxY);
        const size_t pitch = (width + 3) & ~size_t{3};  // rows are DWORD aligned
        if (pitch * height > levels.size()) return glyph;
        glyph.left = metrics.gmptGlyphOrigin.x;
        glyph.top = metrics.gmptGlyphOrigin.y;
        glyph.width = static_cast<int32_t>(width);
        glyph.height = static_cast<int32_t>(height);
        glyph.coverage.resize(width * height);
        for (size_t y = 0; y < height; ++y) {
            for (size_t x = 0; x < width; ++x) {
                const uint32_t level = std::min<uint32_t>(levels[y * pitch + x], kGrayLevels);
                glyph.coverage[y * width + x] = static_cast<uint8_t>((level * 255 + kGrayLevels / 2) / kGrayLevels);
            }
        }
        return glyph;
    }

private:
    HDC dc_;
    HFONT font_;
};

std::unique_ptr<ScaledFont> makeScaled(const Font& font, int32_t heightPixels) {
    if (heightPixels == 0) heightPixels = kDefaultCellHeight;
    if (heightPixels > kLargestHeightPixels || heightPixels < -kLargestHeightPixels) return nullptr;
    HFONT handle = createGdiFont(font, heightPixels);
    if (handle == nullptr) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        DeleteObject(handle);
        return nullptr;
    }
    SelectObject(dc, handle);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return std::make_unique<ScaledFont>(std::make_unique<GdiGlyphRenderer>(dc, handle), metrics.tmAscent,
                                        metrics.tmDescent);
}

}  // namespace

ScaledFont* ScaledFont::find(const Font& font, int32_t heightPixels) {
    using Key = std::tuple<std::string, int32_t, int32_t, FontSlant>;
    static auto* cache = new std::map<Key, std::unique_ptr<ScaledFont>>();
    const Key key{font.faceName, font.weight, heightPixels, font.slant};
    auto found = cache->find(key);
    if (found == cache->end()) found = cache->emplace(key, makeScaled(font, heightPixels)).first;
    return found->second.get();
}

}  // namespace lumen
