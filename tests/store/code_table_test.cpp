#include "store/code_table.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace lumen {
namespace {

TEST(CodeTable, FormattedTableReadsBackEntryForEntry) {
    testing::TempHome home;
    const CodeTable written = testing::flatCodeTable();
    home.writeCodeTable(written);
    CodeTable read{};
    ASSERT_EQ(readCodeTable(home.path("huffman.ko2"), read), CodeTableStatus::Ok);
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].value, written[i].value);
        EXPECT_EQ(read[i].lengthBits, written[i].lengthBits);
        EXPECT_EQ(read[i].code, written[i].code);
    }
}

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

TEST(CodeTable, EndOfFileRightAfterTheLastNumberIsAnError) {
    testing::TempHome home;
    std::string text = formatCodeTable(testing::flatCodeTable());
    text.pop_back();  // no line break after the last code
    home.writeText(home.path("huffman.ko2"), text);
    CodeTable table{};
    EXPECT_EQ(readCodeTable(home.path("huffman.ko2"), table), CodeTableStatus::FileError);
    home.writeText(home.path("huffman.ko2"), "1 2 3\n");
    EXPECT_EQ(readCodeTable(home.path("huffman.ko2"), table), CodeTableStatus::FileError);
}

TEST(CodeTableDeathTest, MissingAndShortFilesEndTheProgramWithTheirMessages) {
    testing::TempHome home;
    EXPECT_EXIT(loadCodeTable(home.programDirectory()), ::testing::ExitedWithCode(255),
                "File not found \"huffman.ko2\" !");
    home.writeText(home.path("huffman.ko2"), "255 1 0");
    EXPECT_EXIT(loadCodeTable(home.programDirectory()), ::testing::ExitedWithCode(255),
                "File error \"huffman.ko2\" !");
}

}  // namespace
}  // namespace lumen
