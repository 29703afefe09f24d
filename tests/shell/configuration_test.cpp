// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <utility>

#include "shell/color_file.h"
#include "shell/start_event_code.h"
#include "support/temp_home.h"

namespace lumen {
namespace {

TEST(ColorFile, ComponentsAfterTheLastEqualsSignUpToEachComma) {
    EXPECT_EQ(colorFromToken("background=0,128,255"), rgb(0, 128, 255));
    EXPECT_EQ(colorFromToken("12=1,2,3"), rgb(1, 2, 3));
    EXPECT_EQ(colorFromToken("255"), rgb(255, 0, 0));
    EXPECT_EQ(colorFromToken("300,x7,1"), rgb(300 & 255, 7, 1));
    std::string token = "10,20";
    EXPECT_EQ(nextColorComponent(token), 10);
    EXPECT_EQ(token, "20");
    EXPECT_EQ(nextColorComponent(token), 20);
    EXPECT_EQ(token, "");
    // Overlong components wrap around instead of overflowing: 21111111110
    // mod 2^32; the colour keeps the low byte of each component.
    token = "21111111110,1";
    EXPECT_EQ(static_cast<uint32_t>(nextColorComponent(token)), 3931241926u);
    EXPECT_EQ(colorFromToken("x=99999999999999999999,256,4294967297"), rgb(0xFF, 0, 1));
}

TEST(ColorFile, TokensAreCountedFromOneWhateverTheirText) {
    testing::TempHome home;
    std::string text = "a=1,2,3";
    for (int k = 2; k <= 24; ++k) text += " t" + std::to_string(k) + "=" + std::to_string(k) + ",0,0";
    home.writeText(home.path("color.ini"), text + "\nTAROLT_LANGUAGE = 13\n");
    const auto settings = readColorFile(home.path("color.ini"));
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->window, rgb(1, 2, 3));
    EXPECT_EQ(settings->trace, rgb(10, 0, 0));
    EXPECT_EQ(settings->ventricular, rgb(12, 0, 0));
    EXPECT_EQ(settings->supraventricular, rgb(13, 0, 0));
    EXPECT_EQ(settings->text, rgb(19, 0, 0));
    EXPECT_EQ(settings->caliper, rgb(23, 0, 0));
    EXPECT_EQ(settings->languageIndex, 13);
}

TEST(ColorFile, LanguageKeyRules) {
    testing::TempHome home;
    auto languageOf = [&](const std::string& text) {
        home.writeText(home.path("color.ini"), text);
        return readColorFile(home.path("color.ini"))->languageIndex;
    };
    EXPECT_EQ(languageOf("TAROLT_LANGUAGE = 6\n"), 2);
    EXPECT_EQ(languageOf("TAROLT_LANGUAGE = 0\n"), 2);
    EXPECT_EQ(languageOf("TAROLT_LANGUAGE = 14\n"), 2);
    EXPECT_EQ(languageOf("TAROLT_LANGUAGE = 13\r\n"), 13);
    EXPECT_EQ(languageOf("x TTAROLT_LANGUAGE = 4\n"), 2);
    EXPECT_EQ(languageOf("TAROLT_LANGUAGE=1"), 1);
    EXPECT_EQ(languageOf("no key here"), 2);
}

TEST(StartEventCode, MapsBothWaysWithTheTimeScaleForEverythingElse) {
    const std::pair<int, int> codeToRow[] = {{107, 10}, {114, 9}, {251, 13}, {109, 18}, {117, 18}};
    for (const auto& [code, row] : codeToRow) EXPECT_EQ(rowOfStartEventCode(code), row) << code;
    const std::pair<int, int> rowToCode[] = {{8, 115}, {17, 119}, {16, 117}, {18, 117}};
    for (const auto& [row, code] : rowToCode) EXPECT_EQ(startEventCodeOfRow(row), code) << row;
}

}  // namespace
}  // namespace lumen
