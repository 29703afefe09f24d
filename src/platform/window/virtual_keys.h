// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "platform/window/win32_names.h"

namespace lumen {

// Upper bound of the key-state table.
inline constexpr uint32_t virtualKeyCount = 256;

}  // namespace lumen
