#pragma once

#include <cstdint>
#include <vector>

#include "platform/draw/geometry.h"

namespace lumen {

// A cursor: one of the system's shapes or an image the program supplied.
struct CursorHandle {
    uint32_t id = 0;
    constexpr explicit operator bool() const { return id != 0; }
    friend constexpr bool operator==(CursorHandle, CursorHandle) = default;
};

// System cursor ids (desktop values of IDC_*), usable with loadCursor.
inline constexpr uint32_t IDC_ARROW = 32512;
inline constexpr uint32_t IDC_IBEAM = 32513;
inline constexpr uint32_t IDC_WAIT = 32514;
inline constexpr uint32_t IDC_CROSS = 32515;
inline constexpr uint32_t IDC_HAND = 32649;

// Pixels are 0xAARRGGBB, row by row; alpha 0 is transparent.
struct CursorImage {
    Size size;
    Point hotSpot;
    std::vector<uint32_t> pixels;
};

}  // namespace lumen
