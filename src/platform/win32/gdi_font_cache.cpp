// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/gdi_font_cache.h"

#include "platform/win32/windows_font.h"

namespace lumen {

HFONT createGdiFont(const Font& font, int32_t heightPixels) {
    return CreateFontW(heightPixels, 0, 0, 0, font.weight, font.slant == FontSlant::Italic, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       pitchAndFamilyOf(font.faceName), windowsFaceName(font.faceName).c_str());
}

GdiFontCache::~GdiFontCache() {
    for (const auto& [key, handle] : fonts_) {
        if (handle != nullptr) DeleteObject(handle);
    }
}

HFONT GdiFontCache::fontFor(const Font& font, int32_t heightPixels) {
    const Key key{font.faceName, heightPixels, font.weight, font.slant};
    auto found = fonts_.find(key);
    if (found == fonts_.end()) found = fonts_.emplace(key, createGdiFont(font, heightPixels)).first;
    return found->second;
}

}  // namespace lumen
