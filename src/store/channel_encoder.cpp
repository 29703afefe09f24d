// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/channel_encoder.h"

namespace lumen {

ChannelEncoder::ChannelEncoder(const CodeTable& table) {
    // The decoder's scan finds the first entry of a value; encode with that one.
    for (auto it = table.rbegin(); it != table.rend(); ++it) {
        if (it->value >= 0 && it->value < kCodeTableEntries) byValue_[static_cast<size_t>(it->value)] = *it;
    }
}

bool ChannelEncoder::encode(std::span<const uint8_t> samples, std::vector<uint8_t>& out) const {
    if (samples.empty()) return false;
    std::vector<uint8_t> bits;
    uint32_t bitCount = 0;
    auto putBit = [&](uint32_t bit) {
        if (bitCount % 8 == 0) bits.push_back(0);
        bits.back() = static_cast<uint8_t>(bits.back() | bit << (bitCount % 8));
        ++bitCount;
    };
    for (size_t i = 1; i < samples.size(); ++i) {
        const int value = samples[i] - samples[i - 1] + 255;
        const CodeEntry& entry = byValue_[static_cast<size_t>(value)];
        if (entry.lengthBits < 1 || entry.lengthBits > kMaxCodeBits) return false;
        for (int k = entry.lengthBits - 1; k >= 0; --k) putBit((static_cast<uint32_t>(entry.code) >> k) & 1u);
    }
    if (bitCount > 0xFFFF) return false;
    // The record always carries (bits div 8) + 1 data bytes.
    bits.resize(bitCount / 8 + 1, 0);
    out.push_back(static_cast<uint8_t>(bitCount));
    out.push_back(static_cast<uint8_t>(bitCount >> 8));
    out.push_back(samples[0]);
    out.insert(out.end(), bits.begin(), bits.end());
    return true;
}

}  // namespace lumen
