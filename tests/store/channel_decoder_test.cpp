// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/channel_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "store/huffman_code_builder.h"
#include "store/literal_channel_decoder.h"
#include "support/temp_home.h"

namespace lumen {
namespace {

using testing::decodeChannelLiteral;

// Entries as given; every further one a 12-bit code that no bits reach.
CodeTable tableOf(std::initializer_list<CodeEntry> entries) {
    CodeTable table{};
    table.fill(CodeEntry{0, 12, 4095});
    std::copy(entries.begin(), entries.end(), table.begin());
    return table;
}

ChannelRecord recordOf(uint16_t bitCount, uint8_t firstSample, std::initializer_list<uint8_t> data) {
    ChannelRecord record;
    record.bitCount = bitCount;
    record.firstSample = firstSample;
    std::copy(data.begin(), data.end(), record.data.begin());
    return record;
}

const CodeTable kZeroAsOneBit = tableOf({{255, 1, 0}});  // difference 0 as the code "0"
const CodeTable kOnlyTwelveOnes = tableOf({{255, 12, 4095}});
const CodeTable kOneUpTwoDown = tableOf({{256, 1, 1}, {254, 2, 0}});  // "1": +1, "00": -1
const CodeTable kOneBitJumps = tableOf({{510, 1, 1}, {0, 1, 0}});     // "1": +255, "0": -255

struct KnownRecord {
    const char* name;
    CodeTable table;
    ChannelRecord record;
    int32_t decoded;
    std::vector<uint8_t> firstSamples;  // the buffer holds 9 before
};

const KnownRecord kKnownRecords[] = {
    {"all zero bits repeat the first sample", kZeroAsOneBit, recordOf(499, 77, {}), 500, std::vector<uint8_t>(500, 77)},
    // Bit 1 first, then seven 0 bits: +1, -1, -1, -1.
    {"least significant bit first", kOneUpTwoDown, recordOf(8, 100, {0x01}), 5, {100, 101, 100, 99, 98}},
    {"a short record keeps the rest of the buffer", kZeroAsOneBit, recordOf(0, 200, {}), 1, {200, 9, 9}},
    {"a code longer than 12 bits fails", kOnlyTwelveOnes, recordOf(13, 0, {}), kDecodeFailed, {}},
    {"12 bits matching nothing just end", kOnlyTwelveOnes, recordOf(12, 5, {}), 1, {5, 9}},
    // +255, +255, -255, -255: 10, 265, 520, 265, 10 stored as bytes.
    {"stored samples wrap, the running value does not", kOneBitJumps, recordOf(4, 10, {0x03}), 5, {10, 9, 8, 9, 10}},
    {"at most 510 differences", kZeroAsOneBit, recordOf(6000, 1, {}), 511, std::vector<uint8_t>(500, 1)},
};

TEST(ChannelDecoder, KnownRecordsDecodeAsTheLiteralScanDefines) {
    for (const KnownRecord& known : kKnownRecords) {
        SCOPED_TRACE(known.name);
        std::array<uint8_t, 500> fast;
        fast.fill(9);
        std::array<uint8_t, 500> literal = fast;
        EXPECT_EQ(ChannelDecoder(known.table).decode(known.record, fast), known.decoded);
        EXPECT_EQ(decodeChannelLiteral(known.table, known.record, literal), known.decoded);
        const std::vector<uint8_t> first(fast.begin(),
                                         fast.begin() + static_cast<ptrdiff_t>(known.firstSamples.size()));
        EXPECT_EQ(first, known.firstSamples);
        EXPECT_EQ(fast, literal);
    }
}

// The fast decoder must give what the literal scan gives, for any table
// (sorted or not, with lengths and codes out of range) and any bits.
CodeTable randomTable(std::mt19937& random, int kind) {
    std::array<uint64_t, kCodeTableEntries> frequencies{};
    for (auto& f : frequencies) f = random() % 1000;
    CodeTable table = HuffmanCodeBuilder::build(frequencies);
    if (kind == 1) std::shuffle(table.begin(), table.end(), random);
    if (kind == 2) {
        for (CodeEntry& entry : table) {
            entry = CodeEntry{static_cast<int32_t>(random() % 999), static_cast<int32_t>(random() % 16) - 1,
                              static_cast<int32_t>(random() % 5000)};
        }
    }
    if (kind == 3) std::shuffle(table.begin() + 200, table.begin() + 260, random);
    return table;
}

TEST(ChannelDecoder, MatchesTheLiteralScanOnRandomTablesAndBits) {
    std::mt19937 random(12345);
    for (int round = 0; round < 400; ++round) {
        const CodeTable table = randomTable(random, round % 4);
        const ChannelDecoder decoder(table);
        for (int trial = 0; trial < 25; ++trial) {
            ChannelRecord record;
            record.bitCount = static_cast<uint16_t>(trial == 0 ? random() : random() % 6500);
            record.firstSample = static_cast<uint8_t>(random());
            const uint32_t bytes = std::min(record.storedDataBytes(), kMaxRecordDataBytes);
            for (uint32_t i = 0; i < bytes; ++i) record.data[i] = static_cast<uint8_t>(random() % 4 ? random() : 0);
            std::array<uint8_t, 500> fast;
            std::array<uint8_t, 500> literal;
            fast.fill(static_cast<uint8_t>(trial));
            literal = fast;
            ASSERT_EQ(decoder.decode(record, fast), decodeChannelLiteral(table, record, literal))
                << "round " << round << " trial " << trial;
            ASSERT_EQ(fast, literal) << "round " << round << " trial " << trial;
        }
    }
}

}  // namespace
}  // namespace lumen
