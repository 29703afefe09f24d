// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/caliper.h"

#include <algorithm>
#include <cstdlib>

namespace lumen {

namespace {

constexpr float kMillisecondsPerSample = 20.0f;
constexpr float kMinimumRateIntervalMs = 240.0f;
// Microvolts per sample unit at display multiplier 1 (51 units per mV).
constexpr float kMicrovoltsPerUnit = 19.56f;

float millivolts(int32_t difference, int32_t displayMultiplier) {
    return static_cast<float>(difference) * kMicrovoltsPerUnit * static_cast<float>(displayMultiplier) / 1000.0f;
}

}  // namespace

bool Caliper::pressBeginsMeasurement(int32_t column, MouseKeys keys, int32_t stripWidth) const {
    return std::abs(lastReleaseColumn - column) >= 3 && dragging == 0 && keys == MouseKeys::LeftAlone &&
           column <= stripWidth;
}

CaliperFigures caliperFigures(const Caliper& caliper, const PixelStreams& streams, int32_t pixelsPerSample,
                              int32_t displayMultiplier) {
    CaliperFigures figures;
    const int32_t span = std::abs(caliper.secondColumn - caliper.firstColumn);
    figures.intervalMs = static_cast<float>(span) / static_cast<float>(pixelsPerSample) * kMillisecondsPerSample;
    figures.showsRate = figures.intervalMs >= kMinimumRateIntervalMs;
    if (figures.showsRate) figures.beatsPerMinute = 60.0f / figures.intervalMs * 1000.0f;
    const int32_t left = std::min(caliper.firstColumn, caliper.secondColumn);
    const int32_t right = std::max(caliper.firstColumn, caliper.secondColumn);
    figures.channel1Millivolts = millivolts(streams.channel1At(right) - streams.channel1At(left), displayMultiplier);
    figures.channel2Millivolts = millivolts(streams.channel2At(right) - streams.channel2At(left), displayMultiplier);
    return figures;
}

}  // namespace lumen
