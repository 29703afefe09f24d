#include "store/channel_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "store/channel_encoder.h"
#include "store/huffman_code_builder.h"
#include "store/literal_channel_decoder.h"
#include "support/temp_home.h"

namespace lumen {
namespace {

using testing::decodeChannelLiteral;

CodeTable tableWithZeroDifferenceFirst() {
    CodeTable table = testing::flatCodeTable();
    // Entry 0: difference 0 as the one-bit code 0.
    table[0] = CodeEntry{255, 1, 0};
    return table;
}

ChannelRecord recordOf(uint16_t bitCount, uint8_t firstSample, std::initializer_list<uint8_t> data) {
    ChannelRecord record;
    record.bitCount = bitCount;
    record.firstSample = firstSample;
    std::copy(data.begin(), data.end(), record.data.begin());
    return record;
}

TEST(ChannelDecoder, AllZeroBitsOfAOneBitZeroCodeRepeatTheFirstSample) {
    const CodeTable table = tableWithZeroDifferenceFirst();
    const ChannelRecord record = recordOf(499, 77, {});
    std::array<uint8_t, 500> samples{};
    EXPECT_EQ(ChannelDecoder(table).decode(record, samples), 500);
    EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](uint8_t s) { return s == 77; }));
}

TEST(ChannelDecoder, LeastSignificantBitOfEachByteComesFirst) {
    CodeTable table{};
    table[0] = CodeEntry{256, 1, 1};  // "1" -> +1
    table[1] = CodeEntry{254, 2, 0};  // "00" -> -1
    for (size_t i = 2; i < table.size(); ++i) table[i] = CodeEntry{0, 12, 4095};
    // Byte 1: bit 1 first, then seven 0 bits: +1, -1, -1, -1.
    const ChannelRecord record = recordOf(8, 100, {0x01});
    std::array<uint8_t, 500> samples{};
    EXPECT_EQ(ChannelDecoder(table).decode(record, samples), 5);
    EXPECT_EQ((std::vector<uint8_t>(samples.begin(), samples.begin() + 5)),
              (std::vector<uint8_t>{100, 101, 100, 99, 98}));
}

TEST(ChannelDecoder, ShortRecordKeepsTheEarlierSamplesOfTheBuffer) {
    const CodeTable table = tableWithZeroDifferenceFirst();
    std::array<uint8_t, 500> samples;
    samples.fill(9);
    EXPECT_EQ(ChannelDecoder(table).decode(recordOf(0, 200, {}), samples), 1);
    EXPECT_EQ(samples[0], 200);
    EXPECT_EQ(samples[1], 9);
    EXPECT_EQ(samples[499], 9);
}

TEST(ChannelDecoder, CodeLongerThanTwelveBitsFailsUnlessTheRecordEndsFirst) {
    CodeTable table{};
    for (CodeEntry& entry : table) entry = CodeEntry{255, 12, 4095};  // only "111111111111"
    std::array<uint8_t, 500> samples{};
    const ChannelDecoder decoder(table);
    EXPECT_EQ(decoder.decode(recordOf(13, 0, {}), samples), kDecodeFailed);
    // Twelve bits that match nothing and no thirteenth: the record just ends.
    EXPECT_EQ(decoder.decode(recordOf(12, 5, {}), samples), 1);
    EXPECT_EQ(decodeChannelLiteral(table, recordOf(13, 0, {}), samples), kDecodeFailed);
}

TEST(ChannelDecoder, StoredSamplesWrapButTheRunningValueDoesNot) {
    CodeTable table{};
    table[0] = CodeEntry{510, 1, 1};  // "1" -> +255
    table[1] = CodeEntry{0, 1, 0};    // "0" -> -255
    for (size_t i = 2; i < table.size(); ++i) table[i] = CodeEntry{0, 12, 4095};
    // +255, +255, -255, -255: 10, 265, 520, 265, 10 stored as bytes.
    const ChannelRecord record = recordOf(4, 10, {0x03});
    std::array<uint8_t, 500> samples{};
    ChannelDecoder(table).decode(record, samples);
    EXPECT_EQ((std::vector<uint8_t>(samples.begin(), samples.begin() + 5)),
              (std::vector<uint8_t>{10, 9, 8, 9, 10}));
}

TEST(ChannelDecoder, AtMost510DifferencesAreTaken) {
    const CodeTable table = tableWithZeroDifferenceFirst();
    std::array<uint8_t, 500> samples{};
    EXPECT_EQ(ChannelDecoder(table).decode(recordOf(6000, 1, {}), samples), 511);
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

TEST(ChannelEncoder, EncodedRandomSignalsDecodeToThemselves) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        const CodeTable table = randomTable(random, 0);
        std::array<uint8_t, 500> signal;
        uint8_t value = static_cast<uint8_t>(random());
        for (auto& s : signal) s = value = static_cast<uint8_t>(round % 5 == 0 ? random() : value + random() % 7 - 3);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(ChannelEncoder(table).encode(signal, bytes));
        ChannelRecord record;
        record.bitCount = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
        record.firstSample = bytes[2];
        ASSERT_EQ(bytes.size(), 3u + record.storedDataBytes());
        std::copy(bytes.begin() + 3, bytes.end(), record.data.begin());
        std::array<uint8_t, 500> decoded{};
        EXPECT_EQ(ChannelDecoder(table).decode(record, decoded), 500);
        EXPECT_EQ(decoded, signal);
    }
}

}  // namespace
}  // namespace lumen
