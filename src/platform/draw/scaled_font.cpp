// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/draw/scaled_font.h"

#include <utility>

namespace lumen {

ScaledFont::ScaledFont(std::unique_ptr<GlyphRenderer> renderer, int32_t ascent, int32_t descent)
    : renderer_(std::move(renderer)), ascent_(ascent), descent_(descent) {}

const Glyph& ScaledFont::glyph(char32_t codePoint) {
    std::unique_ptr<Glyph>* slot = nullptr;
    if (codePoint < directGlyphs) {
        slot = &direct_[codePoint];
    } else {
        slot = &others_[codePoint];
    }
    if (!*slot) {
        *slot = std::make_unique<Glyph>(renderer_->render(codePoint));
    }
    return **slot;
}

}  // namespace lumen
