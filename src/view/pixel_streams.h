// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace lumen {

// One value per pixel column of the strip, rebuilt by every paint from the
// visible stretch of the window.
struct PixelStreams {
    std::vector<uint8_t> channel1;
    std::vector<uint8_t> channel2;
    std::vector<uint8_t> penIndex;
    std::vector<uint8_t> episodeCode;
    std::vector<uint8_t> beatLabel;
    std::vector<uint32_t> beatOrdinal;
    int32_t columns = 0;  // (W div p) * p

    // Sizes every stream for `capacity` columns; columns past the expanded
    // ones read as baseline without beats.
    void reserveColumns(int32_t capacity);
    bool holdsBeat(int32_t column) const;
    uint8_t labelAt(int32_t column) const;
    uint32_t ordinalAt(int32_t column) const;
    uint8_t channel1At(int32_t column) const;
    uint8_t channel2At(int32_t column) const;
};

// Samples 0 .. groups (and the extra one after them) to groups * p columns,
// stepping evenly from each sample toward the next.
template <typename T>
void expandLinear(std::span<const T> samples, int32_t groups, int32_t p, std::span<T> pixels) {
    for (int32_t i = 0; i < groups; ++i) {
        const int64_t here = samples[static_cast<size_t>(i)];
        const int64_t next = samples[static_cast<size_t>(i + 1)];
        const int64_t step = std::llabs((here - next) / p);
        const size_t at = static_cast<size_t>(i) * static_cast<size_t>(p);
        pixels[at] = static_cast<T>(here);
        for (int32_t k = 1; k < p; ++k) {
            pixels[at + static_cast<size_t>(k)] = static_cast<T>(here > next ? here - step * k : here + step * k);
        }
    }
}

// Each sample p times.
template <typename T>
void expandHold(std::span<const T> samples, int32_t groups, int32_t p, std::span<T> pixels) {
    for (int32_t i = 0; i < groups; ++i) {
        for (int32_t k = 0; k < p; ++k) pixels[static_cast<size_t>(i * p + k)] = samples[static_cast<size_t>(i)];
    }
}

// Each sample once, then p - 1 fillers.
template <typename T>
void expandFirst(std::span<const T> samples, int32_t groups, int32_t p, T filler, std::span<T> pixels) {
    for (int32_t i = 0; i < groups; ++i) {
        pixels[static_cast<size_t>(i * p)] = samples[static_cast<size_t>(i)];
        for (int32_t k = 1; k < p; ++k) pixels[static_cast<size_t>(i * p + k)] = filler;
    }
}

}  // namespace lumen
