// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "pane/shell_layout.h"
#include "platform/draw/geometry.h"

namespace lumen {

// The screen class of a screen width: 1 for 1024 and every wider screen,
// 2 for 800, 3 for every other width.
int32_t screenClassOf(int32_t screenWidth);

// Everything layoutPanes computes from the screen width and the client size.
ShellLayout computeLayout(int32_t screenWidth, Size client);

}  // namespace lumen

namespace lumen {

// The width a screen class is designed for: 1024, 800 or 640.
int32_t nominalScreenWidth(int32_t screenClass);

}  // namespace lumen
