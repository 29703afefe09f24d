// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "store/code_table.h"

namespace lumen {

// Turns 500 samples of one channel into a channel record: bit count, first
// sample, then the difference codes, least significant bit of each byte
// first. The inverse of the channel decoder for any prefix-free table.
class ChannelEncoder {
public:
    explicit ChannelEncoder(const CodeTable& table);

    // Appends the record to `out`; false (nothing appended) when a
    // difference has no code.
    bool encode(std::span<const uint8_t> samples, std::vector<uint8_t>& out) const;

private:
    std::array<CodeEntry, kCodeTableEntries> byValue_{};
};

}  // namespace lumen
