// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace lumen {

// Text alignment flags for textOut, with the GDI values (TA_*): one
// horizontal value combined with one vertical value. Left and Top are 0.
enum class TextAlign : uint32_t {
    Left = 0,
    Top = 0,
    Right = 2,
    Center = 6,
    Bottom = 8,
    Baseline = 24,
};

constexpr TextAlign operator|(TextAlign a, TextAlign b) {
    return static_cast<TextAlign>(static_cast<uint32_t>(a) | static_cast<uint32_t>(b));
}
// The horizontal part: Left, Right or Center.
constexpr TextAlign horizontalPart(TextAlign align) {
    return static_cast<TextAlign>(static_cast<uint32_t>(align) & 6u);
}
// The vertical part: Top, Bottom or Baseline.
constexpr TextAlign verticalPart(TextAlign align) { return static_cast<TextAlign>(static_cast<uint32_t>(align) & 24u); }
constexpr TextAlign textAlignFromFlags(uint32_t flags) { return static_cast<TextAlign>(flags & 30u); }

// Format flags for drawText, with the GDI values (DT_*). Without SingleLine
// the vertical flags are ignored and the text starts at the top, as in GDI.
enum class DrawTextFormat : uint32_t {
    Left = 0,
    Top = 0,
    Center = 1,
    Right = 2,
    VerticalCenter = 4,
    Bottom = 8,
    SingleLine = 0x20,
    NoClip = 0x100,
};

constexpr DrawTextFormat operator|(DrawTextFormat a, DrawTextFormat b) {
    return static_cast<DrawTextFormat>(static_cast<uint32_t>(a) | static_cast<uint32_t>(b));
}
constexpr bool hasFlag(DrawTextFormat format, DrawTextFormat flag) {
    return (static_cast<uint32_t>(format) & static_cast<uint32_t>(flag)) != 0;
}
constexpr DrawTextFormat drawTextFormatFromFlags(uint32_t flags) { return static_cast<DrawTextFormat>(flags & 0x12Fu); }

}  // namespace lumen
