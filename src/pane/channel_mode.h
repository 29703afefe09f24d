// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// Which channels the ECG view and a printed strip show.
enum class ChannelMode : int32_t { Channel1 = 1, Channel2 = 2, Both = 3 };

}  // namespace lumen
