// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/recording_writer.h"

#include <gtest/gtest.h>

#include <set>

#include "store/huffman_code_builder.h"
#include "store/recording.h"
#include "support/temp_home.h"

namespace lumen {
namespace {

TEST(RecordingWriter, RefusesFilesBeyondTheTwentyFourBitOffsets) {
    const CodeTable table = testing::flatCodeTable();
    RecordingWriter writer(table);
    writer.setSection(SectionId::Beats, std::vector<uint8_t>(1u << 24, 0));
    EXPECT_TRUE(writer.build().empty());
}

TEST(HuffmanCodeBuilder, CodesEveryDifferenceWithinTwelveBitsAndPrefixFree) {
    std::array<uint64_t, kCodeTableEntries> frequencies{};
    // A very skewed distribution would give codes far longer than 12 bits.
    for (size_t v = 0; v < frequencies.size(); ++v) frequencies[v] = uint64_t{1} << std::min<size_t>(v / 8, 60);
    const CodeTable table = HuffmanCodeBuilder::build(frequencies);
    std::set<int> values;
    int previousLength = 0;
    double kraft = 0;
    for (const CodeEntry& entry : table) {
        values.insert(entry.value);
        EXPECT_GE(entry.lengthBits, 1);
        EXPECT_LE(entry.lengthBits, 12);
        EXPECT_GE(entry.lengthBits, previousLength);
        previousLength = entry.lengthBits;
        kraft += 1.0 / (1 << entry.lengthBits);
    }
    EXPECT_EQ(values.size(), 511u);
    EXPECT_LE(kraft, 1.0);
    for (size_t a = 0; a < table.size(); ++a) {
        for (size_t b = a + 1; b < table.size(); ++b) {
            const int shift = table[b].lengthBits - table[a].lengthBits;
            ASSERT_NE(table[b].code >> shift, table[a].code) << "code " << a << " is a prefix of " << b;
        }
    }
}

}  // namespace
}  // namespace lumen
