// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>

#include "store/code_table.h"

namespace lumen {

// Builds a length-limited (at most 12 bits) prefix code for all 511 sample
// differences from how often each occurs. Every difference gets a code, even
// one never seen, so any signal can be encoded. Entries come out ordered by
// non-decreasing length, canonical codes, which is what the decoder's scan
// expects.
class HuffmanCodeBuilder {
public:
    // frequencies[v] counts the difference v - 255.
    static CodeTable build(std::span<const uint64_t, kCodeTableEntries> frequencies);

    // Adds the differences of one channel of samples to the counts.
    static void countDifferences(std::span<const uint8_t> samples,
                                 std::span<uint64_t, kCodeTableEntries> frequencies);
};

}  // namespace lumen
