// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/draw/font.h"

namespace lumen {

// The GDI fonts one drawing surface uses, each made once for its face,
// height, weight and slant and kept while the surface lives: a report draws
// hundreds of strings in a handful of fonts, and a new HFONT for each would
// map the font again every time.
class GdiFontCache {
public:
    GdiFontCache() = default;
    ~GdiFontCache();
    GdiFontCache(const GdiFontCache&) = delete;
    GdiFontCache& operator=(const GdiFontCache&) = delete;

    // The font for `font` at `heightPixels` (GDI's sign: negative is the
    // character height, positive the cell height); null when GDI has none.
    HFONT fontFor(const Font& font, int32_t heightPixels);
    size_t size() const { return fonts_.size(); }

private:
    using Key = std::tuple<std::string, int32_t, int32_t, FontSlant>;
    std::map<Key, HFONT> fonts_;
};

// A new GDI font for `font` at `heightPixels`, the caller's to delete.
HFONT createGdiFont(const Font& font, int32_t heightPixels);

}  // namespace lumen
