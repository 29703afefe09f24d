// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/channel_decoder.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "store/clock.h"

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
        uint32_t run = 0;
        uint32_t offset = 0;
        for (uint32_t n = 0; n < 3; ++n) {
            // A code counts only when all its bits lie inside the 12 known ones.
            const int32_t hit = lookup_[stream >> used];
            const uint32_t length = static_cast<uint32_t>(hit) & 15u;
            if (length == 0 || length > kMaxCodeBits - used) break;
            offset = (offset + static_cast<uint32_t>(hit >> 4)) & 0xFFu;
            used += length;
            run = (run & 0xFFFFFF00u) | ((n + 1) << 4) | used;
            // Later places repeat this one until a further code replaces them.
            for (uint32_t place = n; place < 3; ++place) {
                run = (run & ~(0xFFu << (8 + 8 * place))) | (offset << (8 + 8 * place));
            }
        }
        runs_[stream] = run;
    }
}

int32_t ChannelDecoder::decode(const ChannelRecord& record, ChannelSamples samples) const {
    // Decoded into a scratch buffer first: a record that fails leaves the
    // channel's samples untouched.
    std::array<uint8_t, kSamplesPerBlock> scratch;
    const int32_t count = decodeInto(record, scratch);
    if (count == kDecodeFailed) return kDecodeFailed;
    std::memcpy(samples.data(), scratch.data(), static_cast<size_t>(std::min<int32_t>(count, kSamplesPerBlock)));
    return count;
}

namespace {
constexpr uint32_t kWindowMask = (1u << kMaxCodeBits) - 1;
}  // namespace

int32_t ChannelDecoder::decodeInto(const ChannelRecord& record, ChannelSamples samples) const {
    const uint8_t* data = record.data.data();
    // The last place an eight-byte read may start; the record's zero tail
    // lies past every bit a valid record can use.
    const uint32_t lastWindowByte = static_cast<uint32_t>(record.data.size() - 8);
    BitWalk walk{record.bitCount, 0, 0, record.firstSample};
    samples[0] = record.firstSample;
    uint8_t* out = samples.data();
    // Four look-ups from one eight-byte read (at least 57 fresh bits) while
    // every look-up still has twelve bits of the record before it and all
    // twelve samples fit: the look-ups then chain through a register only.
    constexpr uint32_t kFourWindows = 4 * kMaxCodeBits;
    while (walk.bitsLeft >= kFourWindows && walk.count + 12 < static_cast<int32_t>(samples.size()) &&
           walk.bitsUsed / 8 <= lastWindowByte) {
        uint64_t window = 0;
        std::memcpy(&window, data + walk.bitsUsed / 8, 8);
        window >>= walk.bitsUsed % 8;
        uint32_t taken = 0;
        bool stuck = false;
        int32_t count = walk.count;
        uint32_t running = walk.running;
        for (int step = 0; step < 4; ++step) {
            const uint32_t run = runs_[window & kWindowMask];
            const uint32_t length = run & 15u;
            if (length == 0) {
                stuck = true;
                break;
            }
            uint8_t* next = out + count + 1;
            next[0] = static_cast<uint8_t>(running + (run >> 8));
            next[1] = static_cast<uint8_t>(running + (run >> 16));
            next[2] = static_cast<uint8_t>(running + (run >> 24));
            running += run >> 24;
            count += static_cast<int32_t>((run >> 4) & 3u);
            window >>= length;
            taken += length;
        }
        walk.count = count;
        walk.running = running;
        walk.bitsUsed += taken;
        walk.bitsLeft -= taken;
        if (stuck) break;
    }
    return finishWalk(record, samples, walk);
}

int32_t ChannelDecoder::finishWalk(const ChannelRecord& record, ChannelSamples samples, BitWalk& walk) const {
    const uint8_t* data = record.data.data();
    const uint32_t lastWindowByte = static_cast<uint32_t>(record.data.size() - 8);
    // Three codes a look-up while a whole window of bits remains and all
    // three samples fit; the scratch buffer takes the unused writes.
    while (walk.bitsLeft >= static_cast<uint32_t>(kMaxCodeBits) &&
           walk.count + 3 < static_cast<int32_t>(samples.size())) {
        uint64_t window = 0;
        const uint32_t byteIndex = walk.bitsUsed / 8;
        if (byteIndex > lastWindowByte) break;
        std::memcpy(&window, data + byteIndex, 8);
        const uint32_t run = runs_[(window >> (walk.bitsUsed % 8)) & kWindowMask];
        const uint32_t length = run & 15u;
        if (length == 0) break;
        uint8_t* next = samples.data() + walk.count + 1;
        next[0] = static_cast<uint8_t>(walk.running + (run >> 8));
        next[1] = static_cast<uint8_t>(walk.running + (run >> 16));
        next[2] = static_cast<uint8_t>(walk.running + (run >> 24));
        walk.running += run >> 24;
        walk.count += static_cast<int32_t>((run >> 4) & 3u);
        walk.bitsUsed += length;
        walk.bitsLeft -= length;
    }
    while (walk.bitsLeft > 0 && walk.count < kMaxDifferences) {
        const uint32_t byteIndex = walk.bitsUsed / 8;
        uint64_t window = 0;
        if (byteIndex <= lastWindowByte) std::memcpy(&window, data + byteIndex, 8);
        const int32_t hit = lookup_[(window >> (walk.bitsUsed % 8)) & kWindowMask];
        const uint32_t length = static_cast<uint32_t>(hit) & 15u;
        if (length == 0) {
            // The scan would take a 13th bit if the record still has one.
            return walk.bitsLeft > static_cast<uint32_t>(kMaxCodeBits) ? kDecodeFailed : walk.count + 1;
        }
        // A record that ends inside a code simply ends there.
        if (length > walk.bitsLeft) break;
        walk.running += static_cast<uint32_t>(hit >> 4);
        ++walk.count;
        if (walk.count < kSamplesPerBlock) samples[static_cast<size_t>(walk.count)] = static_cast<uint8_t>(walk.running);
        walk.bitsUsed += length;
        walk.bitsLeft -= length;
    }
    return walk.count + 1;
}


}  // namespace lumen
