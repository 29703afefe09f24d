// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "events/event_code_table.h"

namespace lumen {

// The codes by which doef.mem names the event row to open, both ways.
inline constexpr int32_t kTimeScaleStartCode = 117;

// The catalog row a start event code names; unknown codes name the time scale.
int32_t rowOfStartEventCode(int32_t code);
// The code written back for a row; rows without a code of their own give 117.
int32_t startEventCodeOfRow(int32_t row);

}  // namespace lumen
