// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace lumen {

// The virtual-key code of an SDL key code; 0 for keys without one.
uint32_t virtualKeyFromSdl(int32_t sdlKeycode);

}  // namespace lumen
