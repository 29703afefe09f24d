// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace lumen {

// A clock as the recording keeps it: three unsigned bytes. Hour 25 marks a
// block without data.
struct Clock {
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t second = 0;

    friend bool operator==(const Clock&, const Clock&) = default;
};

inline constexpr Clock kNoDataClock{25, 0, 0};

// Ticks of 1/50 s: one sample period of the signal.
inline constexpr int32_t kTicksPerSecond = 50;
inline constexpr int32_t kTicksPerMinute = 3000;
inline constexpr int32_t kTicksPerHour = 180000;
inline constexpr int32_t kTicksPerDay = 4320000;
inline constexpr int32_t kSamplesPerBlock = 500;
inline constexpr int32_t kSecondsPerMinute = 60;
inline constexpr int32_t kSecondsPerHour = 3600;

// Samples are unsigned bytes around this flat baseline.
inline constexpr uint8_t kBaselineSample = 128;
// The largest step above the baseline a sample holds (one less below).
inline constexpr int kLargestSampleExcursion = 255 - kBaselineSample;

}  // namespace lumen
