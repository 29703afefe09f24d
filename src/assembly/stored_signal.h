// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

namespace lumen {

// The two 50-per-second channels a recording stores, unsigned, baseline 128,
// padded to whole 10-second blocks.
struct StoredSignal {
    std::vector<uint8_t> channel1;
    std::vector<uint8_t> channel2;
};

}  // namespace lumen
