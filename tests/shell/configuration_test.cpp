#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "shell/color_file.h"
#include "shell/hand_over_file.h"
#include "shell/start_event_code.h"
#include "shell/title_text.h"
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
}

TEST(ColorFile, OverlongComponentsWrapAroundInsteadOfOverflowing) {
    // 21111111110 mod 2^32; the colour keeps the low byte of each component.
    std::string token = "21111111110,1";
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

TEST(ColorFile, ShortFileKeepsOurDefaultColoursAndEnglish) {
    testing::TempHome home;
    home.writeText(home.path("color.ini"), "1,1,1 2 3");
    const auto settings = readColorFile(home.path("color.ini"));
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->window, rgb(1, 1, 1));
    EXPECT_EQ(settings->caliper, ColorSettings{}.caliper);
    EXPECT_EQ(settings->languageIndex, 2);
    EXPECT_FALSE(readColorFile(home.path("missing.ini")));
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

TEST(HandOverFile, MissingValuesKeepTheirDefaultsAndWritingGivesFiveLines) {
    testing::TempHome home;
    home.writeText(home.path("doef.mem"), "12345");
    const auto values = readHandOver(home.path("doef.mem"));
    ASSERT_TRUE(values);
    EXPECT_EQ(values->position, 12345);
    EXPECT_EQ(rowOfStartEventCode(values->startEventCode), kTimeScaleRow);
    EXPECT_EQ(values->pixelsPerSample, 2);
    EXPECT_EQ(values->amplitudeStep, 2);
    ASSERT_TRUE(writeHandOver(home.path("doef.mem"), HandOver{29000, 1, 250, 4, 3}));
    EXPECT_EQ(home.readText(home.path("doef.mem")), "29000\n1\n250\n4\n3\n");
    EXPECT_FALSE(readHandOver(home.path("nothing.mem")));
}

TEST(StartEventCode, MapsBothWaysWithTheTimeScaleForEverythingElse) {
    EXPECT_EQ(rowOfStartEventCode(107), 10);
    EXPECT_EQ(rowOfStartEventCode(114), 9);
    EXPECT_EQ(rowOfStartEventCode(251), 13);
    EXPECT_EQ(rowOfStartEventCode(109), 18);
    EXPECT_EQ(rowOfStartEventCode(117), 18);
    EXPECT_EQ(startEventCodeOfRow(8), 115);
    EXPECT_EQ(startEventCodeOfRow(17), 119);
    EXPECT_EQ(startEventCodeOfRow(16), 117);
    EXPECT_EQ(startEventCodeOfRow(18), 117);
}

TEST(TitleText, StampIsTheProgramFilesWriteDateInUtc) {
    testing::TempHome home;
    home.writeText(home.path("lumen"), "x");
    const std::chrono::sys_seconds when = std::chrono::sys_days{std::chrono::year{2005} / 3 / 3} + std::chrono::hours{23};
    std::filesystem::last_write_time(home.path("lumen"), std::chrono::time_point_cast<std::filesystem::file_time_type::duration>(std::chrono::file_clock::from_sys(when)));
    EXPECT_EQ(buildStamp(home.path("lumen")), "050303");
    EXPECT_EQ(titleText("FULL DISCLOSURE ECG HOLTER SYSTEM ", "050303"), "FULL DISCLOSURE ECG HOLTER SYSTEM  V3.8-050303");
    EXPECT_EQ(buildStamp(home.path("missing")), "");
    EXPECT_EQ(titleText("X ", ""), "");
}

}  // namespace
}  // namespace lumen
