// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace lumen {

enum class FontSlant : uint8_t { Upright, Italic };

// A font description as the drawing code gives it (GDI conventions). It is a
// plain value; back-ends resolve and cache the face by description, so one
// font may be created once and selected into any number of canvases.
//   height > 0: cell height (ascent + descent); height < 0: character (em)
//   height; 0: a default size. Units are the canvas's logical units.
//   weight: 100..900, 400 normal, 700 bold, 0 normal.
//   charSet: kept for the record; texts arrive as UTF-8 whatever it says.
struct Font {
    std::string faceName = "Liberation Sans";
    int32_t height = 16;
    int32_t weight = 400;
    FontSlant slant = FontSlant::Upright;
    uint8_t charSet = 0;

    static constexpr int32_t normalWeight = 400;
    static constexpr int32_t boldWeight = 700;

    static Font make(std::string faceName, int32_t height, int32_t weight, FontSlant slant = FontSlant::Upright,
                     uint8_t charSet = 0) {
        return Font{std::move(faceName), height, weight, slant, charSet};
    }
    // The system font that drawing code selects back after using its own.
    static Font system() { return Font{"Liberation Sans", 16, boldWeight, FontSlant::Upright, 0}; }

    friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace lumen
