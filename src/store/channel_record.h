// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "store/clock.h"

namespace lumen {

// The reader never takes more than this many code bytes for one channel;
// 510 differences of at most 12 bits fit well inside.
inline constexpr uint32_t kMaxRecordDataBytes = 796;
inline constexpr int kMaxDifferences = 510;
inline constexpr int32_t kDecodeFailed = -1;

// One channel of a block as stored: the number of code bits, the first
// sample, then the code bits, least significant bit of each byte first.
struct ChannelRecord {
    uint16_t bitCount = 0;
    uint8_t firstSample = 0;
    // Bytes past what the file held read as zero; the tail of zeros lets a
    // decoder look a few bytes ahead without a bounds test per bit.
    std::array<uint8_t, kMaxRecordDataBytes + 8> data{};

    // Data bytes a record occupies in the file: (B div 8) + 1, even when B
    // is a multiple of 8.
    uint32_t storedDataBytes() const { return bitCount / 8u + 1u; }
};

using ChannelSamples = std::span<uint8_t, kSamplesPerBlock>;

}  // namespace lumen
