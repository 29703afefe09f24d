// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/language_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace lumen {
namespace {

TEST(LanguageTexts, EveryLanguageHasAllTextsWithTheirBlanks) {
    const std::string blanks18(18, ' ');
    for (const int32_t n : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13}) {
        const LanguageTexts texts(n);
        ASSERT_EQ(texts.languageIndex(), n);
        for (int32_t k = 11; k <= 13; ++k) {
            EXPECT_EQ(texts.text(k).substr(0, 19), blanks18 + "S") << n;
        }
        EXPECT_EQ(texts.text(0).substr(0, 2), "  ") << n;
        EXPECT_EQ(texts.text(24).back(), ' ') << n;
        EXPECT_NE(texts.text(14).find(blanks18 + "HR: %3d"), std::string_view::npos) << n;
        EXPECT_NE(texts.text(15).find(std::string(14, ' ') + "HR: ---"), std::string_view::npos) << n;
    }
}

TEST(LanguageTexts, CopiesAndRefusedNumbersShowEnglish) {
    const LanguageTexts english;
    for (const int32_t n : {5, 10}) {
        for (int32_t k = 0; k < LanguageTexts::kTextCount; ++k) {
            EXPECT_EQ(LanguageTexts(n).text(k), english.text(k));
        }
    }
    for (const int32_t refused : {6, 0, 14}) {
        LanguageTexts texts(3);
        EXPECT_FALSE(texts.setLanguage(refused));
        EXPECT_EQ(texts.languageIndex(), 2);
        EXPECT_EQ(texts.text(1), "Full disclosure");
    }
}

TEST(LanguageTexts, TellingTextsAndCodePagesOfOtherLanguages) {
    EXPECT_EQ(LanguageTexts(3).text(24), "EKG-HOLTER SYSTEM ");
    EXPECT_EQ(LanguageTexts(1).text(24), "FULL DISCLOSURE ECG HOLTER SYSTEM ");
    EXPECT_EQ(LanguageTexts(1).text(0), "  Idő (h)");
    EXPECT_EQ(LanguageTexts(9).text(25), "Per stampa");
    EXPECT_EQ(LanguageTexts(13).text(16), "Vill du verkligen skriva ut??");
    EXPECT_EQ(LanguageTexts(12).text(4), "%ld/%ld      Tempo actual: %02d:%02d:%02d      ");
    EXPECT_EQ(LanguageTexts(12).text(7), "");
    for (const int32_t n : {1, 7, 8}) {
        EXPECT_EQ(LanguageTexts::codePageOf(n), CodePage::Windows1250);
    }
    EXPECT_EQ(LanguageTexts::codePageOf(11), CodePage::Windows1251);
    EXPECT_EQ(LanguageTexts::codePageOf(10), CodePage::Windows1252);
    EXPECT_EQ(LanguageTexts(11).decodeRecordingText("\xCF\xE5\xF2\xF0\xEE\xE2"), "Петров");
    EXPECT_EQ(LanguageTexts(1).decodeRecordingText("Kov\xE1" "cs \xD5" "d\xF5" "n"), "Kovács Ődőn");
}

TEST(LanguageFile, ParsesQuotesEscapesCommentsAndRefusesBrokenFiles) {
    std::string file = "# comment\r\n";
    for (int32_t k = 0; k < 31; ++k) {
        file += k == 3 ? "\"a \\\"q\\\" \\\\ b \"\r\n" : "\"t" + std::to_string(k) + "\"\n";
    }
    const std::optional<LanguageRecord> record = parseLanguageFile(file);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ((*record)[3], "a \"q\" \\ b ");
    EXPECT_EQ((*record)[30], "t30");
    EXPECT_FALSE(parseLanguageFile(file + "\"one too many\"\n").has_value());
    EXPECT_FALSE(parseLanguageFile("\"only one\"\n").has_value());
    EXPECT_FALSE(parseLanguageFile(file.substr(0, file.size() - 2) + " x\n").has_value());
    EXPECT_FALSE(parseLanguageFile(std::string(file).replace(file.find("t5"), 2, "\\n")).has_value());
}

}  // namespace
}  // namespace lumen
