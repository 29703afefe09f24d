// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>

#include "store/channel_record.h"
#include "store/code_table.h"

namespace lumen {

// Decodes channel records with lookup tables built once from the code table.
// The results are those of the scan that defines decoding (take one bit,
// scan the table for an entry of that length and code, stop the scan at the
// first entry longer than the code + 1) for every table, sorted or not.
class ChannelDecoder {
public:
    explicit ChannelDecoder(const CodeTable& table);

    // Writes the first min(count, 500) samples into `samples` and returns the
    // count, or kDecodeFailed for a code longer than 12 bits. Samples beyond
    // the count keep what they held.
    int32_t decode(const ChannelRecord& record, ChannelSamples samples) const;

private:
    // Where the walk through a record's bits stands between its stages.
    struct BitWalk {
        uint32_t bitsLeft = 0;
        uint32_t bitsUsed = 0;
        int32_t count = 0;
        uint32_t running = 0;  // the last sample; only its low byte is stored
    };

    int32_t decodeInto(const ChannelRecord& record, ChannelSamples samples) const;
    // One look-up at a time, then one code at a time to the record's end.
    int32_t finishWalk(const ChannelRecord& record, ChannelSamples samples, BitWalk& walk) const;

    // Indexed by the next 12 bits of the stream, the first of them in bit 0:
    // (sample difference << 4) | code length, length 0 when no code of up to
    // 12 bits matches.
    std::array<int32_t, 1u << kMaxCodeBits> lookup_{};
    // The same index, up to three whole codes at once: bits 0-3 their total
    // length, bits 4-5 how many, then the three samples as offsets from the
    // sample before them, modulo 256 because samples are stored as bytes
    // (an absent code adds nothing). ECG differences are mostly small, so
    // most look-ups take two or three.
    std::array<uint32_t, 1u << kMaxCodeBits> runs_{};
};

}  // namespace lumen
