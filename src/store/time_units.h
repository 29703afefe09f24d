// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "store/clock.h"

namespace lumen {

// The recording counts time in three units besides the tick (1/50 s, one
// stored sample): beat positions in quarter ticks (1/200 s, 5 ms), episode
// bounds in tenths of a second, and markers likewise in tenths.
inline constexpr int32_t kQuarterTicksPerTick = 4;
inline constexpr double kQuarterTicksPerSecond = kQuarterTicksPerTick * kTicksPerSecond;
inline constexpr int32_t kQuarterTicksPerTenth = 20;
inline constexpr int32_t kTicksPerTenth = 5;
inline constexpr int32_t kQuarterTicksPerBlock = kQuarterTicksPerTick * kSamplesPerBlock;

constexpr int64_t ticksOfQuarterTicks(int64_t quarterTicks) { return quarterTicks / kQuarterTicksPerTick; }
constexpr int64_t quarterTicksOfTicks(int64_t ticks) { return ticks * kQuarterTicksPerTick; }
constexpr int64_t tenthsOfQuarterTicks(int64_t quarterTicks) { return quarterTicks / kQuarterTicksPerTenth; }
// Rounded up: the tenth that still covers the last quarter tick.
constexpr int64_t tenthsCoveringQuarterTicks(int64_t quarterTicks) {
    return (quarterTicks + kQuarterTicksPerTenth - 1) / kQuarterTicksPerTenth;
}
constexpr int64_t quarterTicksOfTenths(int64_t tenths) { return tenths * kQuarterTicksPerTenth; }

}  // namespace lumen
