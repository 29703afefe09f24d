// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "platform/window/win32_names.h"

namespace lumen {

// How showWindow changes a window.
enum class ShowCommand : uint8_t { Hide, Normal, Maximized, Minimized, Restore };

enum class Repaint : uint8_t { No, Yes };
enum class Erase : uint8_t { No, Yes };

}  // namespace lumen
