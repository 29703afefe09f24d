// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/code_table.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace lumen {
namespace {

TEST(CodeTable, FieldWidthsSplitLongNumbers) {
    testing::TempHome home;
    // "1234" is read as value 123 and length 4; the code follows.
    std::string text = "1234 7\n";
    for (int i = 1; i < kCodeTableEntries; ++i) text += "0 1 0\n";
    home.writeText(home.path("huffman.ko2"), text);
    CodeTable table{};
    ASSERT_EQ(readCodeTable(home.path("huffman.ko2"), table), CodeTableStatus::Ok);
    EXPECT_EQ(table[0].value, 123);
    EXPECT_EQ(table[0].lengthBits, 4);
    EXPECT_EQ(table[0].code, 7);
}

}  // namespace
}  // namespace lumen
