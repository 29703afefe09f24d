#pragma once

#include <cstdint>

namespace lumen {

// Window style bits (desktop values).
inline constexpr uint32_t WS_OVERLAPPEDWINDOW = 0x00CF0000u;
inline constexpr uint32_t WS_POPUP = 0x80000000u;
inline constexpr uint32_t WS_CHILD = 0x40000000u;
inline constexpr uint32_t WS_VISIBLE = 0x10000000u;
inline constexpr uint32_t WS_DISABLED = 0x08000000u;
inline constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000u;
inline constexpr uint32_t WS_CLIPCHILDREN = 0x02000000u;

// Button styles (low bits of the style of class "button").
inline constexpr uint32_t BS_PUSHBUTTON = 0x0000u;
inline constexpr uint32_t BS_OWNERDRAW = 0x000Bu;
inline constexpr uint32_t BS_TYPEMASK = 0x000Fu;

// Class style bits.
inline constexpr uint32_t CS_VREDRAW = 0x0001u;
inline constexpr uint32_t CS_HREDRAW = 0x0002u;
inline constexpr uint32_t CS_DBLCLKS = 0x0008u;

// Position or size left to the system (top-level windows only).
inline constexpr int32_t CW_USEDEFAULT = INT32_MIN;

// How showWindow changes a window.
enum class ShowCommand : uint8_t { Hide, Normal, Maximized, Minimized, Restore };

enum class Repaint : uint8_t { No, Yes };
enum class Erase : uint8_t { No, Yes };

}  // namespace lumen
