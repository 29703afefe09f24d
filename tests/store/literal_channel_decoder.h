// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The channel decoder as it was first written: one bit at a time, a scan of
// the code table for every bit. The reference that the fast decoder must
// match exactly, and the baseline of the decode benchmark.
#include <vector>

#include "store/channel_record.h"
#include "store/code_table.h"

namespace lumen::testing {

inline int32_t decodeChannelLiteral(const CodeTable& table, const ChannelRecord& record,
                                    ChannelSamples samples) {
    uint32_t bitBuffer = record.data[0];
    size_t nextByte = 1;
    int bitsFromByte = 0;
    int32_t code = 0;
    int codeLength = 0;
    uint32_t bitsUsed = 0;
    std::vector<int32_t> differences;
    differences.reserve(800);
    while (bitsUsed < record.bitCount && differences.size() < kMaxDifferences) {
        const int32_t bit = static_cast<int32_t>(bitBuffer & 1u);
        bitBuffer >>= 1;
        code = code * 2 + bit;
        ++codeLength;
        ++bitsUsed;
        ++bitsFromByte;
        if (codeLength > kMaxCodeBits) return kDecodeFailed;
        if (bitsFromByte == 8) {
            bitBuffer = nextByte < record.data.size() ? record.data[nextByte] : 0;
            ++nextByte;
            bitsFromByte = 0;
        }
        for (const CodeEntry& entry : table) {
            if (entry.lengthBits == codeLength && entry.code == code) {
                differences.push_back(entry.value);
                code = 0;
                codeLength = 0;
                break;
            }
            if (entry.lengthBits > codeLength + 1) break;
        }
    }
    samples[0] = record.firstSample;
    int32_t running = record.firstSample;
    for (size_t i = 0; i < differences.size(); ++i) {
        running = running + differences[i] - 255;
        if (i + 1 < samples.size()) samples[i + 1] = static_cast<uint8_t>(running);
    }
    return static_cast<int32_t>(differences.size()) + 1;
}

}  // namespace lumen::testing
