#include "store/channel_decoder.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace lumen {
namespace {

// For each code length, the value the table scan finds first for each code,
// honouring the scan's early stop at entries longer than the code + 1.
using MatchTable = std::array<std::vector<std::optional<int32_t>>, kMaxCodeBits + 1>;

MatchTable buildMatches(const CodeTable& table) {
    MatchTable matches;
    for (int length = 1; length <= kMaxCodeBits; ++length) {
        auto& byCode = matches[length];
        byCode.assign(size_t{1} << length, std::nullopt);
        for (const CodeEntry& entry : table) {
            if (entry.lengthBits > length + 1) break;
            if (entry.lengthBits != length) continue;
            if (entry.code < 0 || entry.code >= (1 << length)) continue;
            auto& slot = byCode[static_cast<size_t>(entry.code)];
            if (!slot) slot = entry.value;
        }
    }
    return matches;
}

}  // namespace

ChannelDecoder::ChannelDecoder(const CodeTable& table) {
    const MatchTable matches = buildMatches(table);
    for (uint32_t stream = 0; stream < lookup_.size(); ++stream) {
        uint32_t code = 0;
        for (int length = 1; length <= kMaxCodeBits; ++length) {
            code = code * 2 + ((stream >> (length - 1)) & 1u);
            const auto& match = matches[length][code];
            if (match) {
                lookup_[stream] = static_cast<int32_t>(static_cast<uint32_t>(*match - 255) << 4) | length;
                break;
            }
        }
    }
    for (uint32_t stream = 0; stream < runs_.size(); ++stream) {
        uint32_t used = 0;
        uint64_t run = 0;
        for (uint32_t n = 0; n < 3; ++n) {
            // A code counts only when all its bits lie inside the 12 known ones.
            const int32_t hit = lookup_[stream >> used];
            const uint32_t length = static_cast<uint32_t>(hit) & 15u;
            if (length == 0 || length > kMaxCodeBits - used) break;
            run |= uint64_t{static_cast<uint16_t>(hit >> 4)} << (8 + 16 * n);
            run = (run & ~uint64_t{0x3F}) | ((n + 1) << 4) | (used + length);
            used += length;
        }
        runs_[stream] = run;
    }
}

int32_t ChannelDecoder::decode(const ChannelRecord& record, ChannelSamples samples) const {
    // Decoded into a scratch buffer first: a record that fails leaves the
    // channel's samples untouched.
    std::array<uint8_t, 500> scratch;
    const int32_t count = decodeInto(record, scratch);
    if (count == kDecodeFailed) return kDecodeFailed;
    std::memcpy(samples.data(), scratch.data(), static_cast<size_t>(std::min<int32_t>(count, 500)));
    return count;
}

int32_t ChannelDecoder::decodeInto(const ChannelRecord& record, ChannelSamples samples) const {
    const uint8_t* data = record.data.data();
    // The last place an eight-byte read may start; the record's zero tail
    // lies past every bit a valid record can use.
    const uint32_t lastWindowByte = static_cast<uint32_t>(record.data.size() - 8);
    uint32_t bitsLeft = record.bitCount;
    uint32_t bitsUsed = 0;
    int32_t count = 0;
    int32_t running = record.firstSample;
    samples[0] = record.firstSample;
    // Three codes a look-up while a whole window of bits remains and all
    // three samples fit; the scratch buffer takes the unused writes.
    while (bitsLeft >= static_cast<uint32_t>(kMaxCodeBits) && count + 3 < static_cast<int32_t>(samples.size())) {
        uint64_t window = 0;
        const uint32_t byteIndex = bitsUsed / 8;
        if (byteIndex > lastWindowByte) break;
        std::memcpy(&window, data + byteIndex, 8);
        const uint64_t run = runs_[(window >> (bitsUsed % 8)) & ((1u << kMaxCodeBits) - 1)];
        const uint32_t codes = (run >> 4) & 3u;
        if (codes == 0) break;
        const int32_t first = running + static_cast<int16_t>(run >> 8);
        const int32_t second = first + static_cast<int16_t>(run >> 24);
        running = second + static_cast<int16_t>(run >> 40);
        samples[static_cast<size_t>(count) + 1] = static_cast<uint8_t>(first);
        samples[static_cast<size_t>(count) + 2] = static_cast<uint8_t>(second);
        samples[static_cast<size_t>(count) + 3] = static_cast<uint8_t>(running);
        count += static_cast<int32_t>(codes);
        const auto length = static_cast<uint32_t>(run & 15u);
        bitsUsed += length;
        bitsLeft -= length;
    }
    while (bitsLeft > 0 && count < kMaxDifferences) {
        const uint32_t byteIndex = bitsUsed / 8;
        uint64_t window = 0;
        if (byteIndex <= lastWindowByte) std::memcpy(&window, data + byteIndex, 8);
        const int32_t hit = lookup_[(window >> (bitsUsed % 8)) & ((1u << kMaxCodeBits) - 1)];
        const uint32_t length = static_cast<uint32_t>(hit) & 15u;
        if (length == 0) {
            // The scan would take a 13th bit if the record still has one.
            return bitsLeft > static_cast<uint32_t>(kMaxCodeBits) ? kDecodeFailed : count + 1;
        }
        // A record that ends inside a code simply ends there.
        if (length > bitsLeft) break;
        running += hit >> 4;
        ++count;
        if (count < 500) samples[static_cast<size_t>(count)] = static_cast<uint8_t>(running);
        bitsUsed += length;
        bitsLeft -= length;
    }
    return count + 1;
}

}  // namespace lumen
