// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "shell/layout_rules.h"

namespace lumen {
namespace {

TEST(ShellLayout, ScreenClassComesFromTheWholeScreenWidth) {
    for (const int width : {1024, 1152, 1280, 1600}) EXPECT_EQ(screenClassOf(width), 1) << width;
    EXPECT_EQ(screenClassOf(800), 2);
    for (const int width : {640, 1000, 1023, 960, 0}) EXPECT_EQ(screenClassOf(width), 3) << width;
    // Wide screens get the 1024 layout.
    for (const int width : {1025, 1366, 1440, 1920, 2560, 3840}) EXPECT_EQ(screenClassOf(width), 1) << width;
}

TEST(ShellLayout, NarrowClientOnA1024ScreenShortensTheStrip) {
    const ShellLayout layout = computeLayout(1024, Size{1016, 700});
    EXPECT_EQ(layout.screenClass, 1);
    EXPECT_EQ(layout.stripWidth, 912);
    EXPECT_EQ(layout.titlePlace, (Rect{5, 5, 5 + 1006, 5 + 21}));
    EXPECT_EQ(layout.browserPlace, (Rect{5, 31, 5 + 1006, 31 + 435}));
    EXPECT_EQ(layout.ecgPlace, (Rect{5, 471, 5 + 1006, 471 + 223}));
    EXPECT_EQ(layout.statusRect, (Rect{0, 407, 646, 435}));
    EXPECT_EQ(layout.buttonUnit, 90);
    EXPECT_EQ(layout.buttonHeight, 29);
}

}  // namespace
}  // namespace lumen
