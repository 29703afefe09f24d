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
    int32_t decodeInto(const ChannelRecord& record, ChannelSamples samples) const;

    // Indexed by the next 12 bits of the stream, the first of them in bit 0:
    // (sample difference << 4) | code length, length 0 when no code of up to
    // 12 bits matches.
    std::array<int32_t, 1u << kMaxCodeBits> lookup_{};
    // The same index, up to three whole codes at once: bits 0-3 their total
    // length, bits 4-5 how many, then three 16-bit differences (0 when
    // absent). ECG differences are mostly small, so most look-ups take three.
    std::array<uint64_t, 1u << kMaxCodeBits> runs_{};
};

}  // namespace lumen
