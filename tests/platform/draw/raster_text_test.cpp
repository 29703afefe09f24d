// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "platform/draw/ink.h"
#include "platform/draw/raster_canvas.h"
#include "platform/draw/utf8_decoder.h"

// fontconfig keeps a little of its parsed configuration for good; a
// sanitizer build should not call that ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace lumen {
namespace {

using test::countColor;
using test::inkBox;

constexpr Color red = rgb(255, 0, 0);
constexpr Color blue = rgb(0, 0, 255);

Font arial(int32_t height, int32_t weight = Font::normalWeight) { return Font::make("Arial", height, weight); }

// Ink of "HHH" drawn at (100, 60) with the given alignment.
Rect inkOfAlignedText(TextAlign align, Size* extent = nullptr) {
    RasterCanvas canvas(Size{200, 120});
    canvas.selectFont(arial(20));
    canvas.setBkMode(BackgroundMode::Transparent);
    canvas.setTextAlign(align);
    canvas.textOut(Point{100, 60}, "HHH");
    if (extent != nullptr) {
        *extent = canvas.textExtent("HHH");
    }
    return inkBox(canvas, whiteColor);
}

TEST(TextMetrics, ExtentIsAdvanceWidthAndCellHeight) {
    RasterCanvas canvas(Size{10, 10});
    canvas.selectFont(arial(14));
    const Size one = canvas.textExtent("M");
    EXPECT_GT(one.width, 5);
    EXPECT_EQ(one.height, 14);
    EXPECT_EQ(canvas.textExtent("MMM").width, 3 * one.width);
    EXPECT_EQ(canvas.textExtent("").width, 0);
    canvas.selectFont(Font::make("Arial", -14, Font::normalWeight));
    EXPECT_GT(canvas.textExtent("M").height, 14);  // character height: the cell is taller
}

TEST(TextAlignment, InkLiesWhereTheAlignmentPutsIt) {
    Size extent;
    const Rect leftTop = inkOfAlignedText(TextAlign::Left | TextAlign::Top, &extent);
    EXPECT_GE(leftTop.left, 100);
    EXPECT_LE(leftTop.left, 103);
    EXPECT_GT(leftTop.top, 60);
    EXPECT_LE(leftTop.bottom, 60 + extent.height);

    const Rect right = inkOfAlignedText(TextAlign::Right | TextAlign::Top);
    EXPECT_LE(right.right, 100);
    EXPECT_GE(right.right, 97);
    EXPECT_EQ(right.top, leftTop.top);

    const Rect centre = inkOfAlignedText(TextAlign::Center | TextAlign::Top);
    EXPECT_NEAR((centre.left + centre.right) / 2.0, 100.0, 2.0);

    const Rect baseline = inkOfAlignedText(TextAlign::Left | TextAlign::Baseline);
    EXPECT_NEAR(baseline.bottom, 60, 1);
    const Rect bottom = inkOfAlignedText(TextAlign::Left | TextAlign::Bottom);
    EXPECT_LT(bottom.bottom, 60 - 2);
    EXPECT_EQ(leftTop.top - bottom.top, extent.height);
}

TEST(TextBackground, OpaqueFillsTheCellTransparentLeavesIt) {
    RasterCanvas canvas(Size{120, 60});
    canvas.selectFont(arial(18, Font::boldWeight));
    canvas.setBkColor(red);
    canvas.setTextColor(blue);
    canvas.setBkMode(BackgroundMode::Opaque);
    canvas.textOut(Point{10, 20}, "Ch1");
    const Size extent = canvas.textExtent("Ch1");
    EXPECT_EQ(inkBox(canvas, whiteColor), (Rect{10, 20, 10 + extent.width, 20 + extent.height}));
    EXPECT_GT(countColor(canvas, blue), 10);
    EXPECT_GT(countColor(canvas, red), extent.width * extent.height / 2);

    canvas.fill(whiteColor);
    canvas.setBkMode(BackgroundMode::Transparent);
    canvas.textOut(Point{10, 20}, "Ch1");
    EXPECT_EQ(countColor(canvas, red), 0);
    EXPECT_GT(countColor(canvas, blue), 10);
    const Rect ink = inkBox(canvas, whiteColor);
    EXPECT_GT(ink.top, 20);
}

TEST(TextBackground, BlanksOverwriteOldTextWithTheBackgroundColour) {
    RasterCanvas canvas(Size{200, 40});
    canvas.selectFont(arial(18, Font::boldWeight));
    canvas.textOut(Point{5, 5}, "123 msec");
    canvas.setTextColor(whiteColor);
    canvas.setBkColor(whiteColor);
    canvas.textOut(Point{5, 5}, std::string(24, ' '));
    EXPECT_EQ(inkBox(canvas, whiteColor), Rect{});
}

TEST(DrawText, RightAndVerticalCentreInsideTheRectangle) {
    RasterCanvas canvas(Size{200, 60});
    canvas.selectFont(arial(14, Font::boldWeight));
    canvas.setBkMode(BackgroundMode::Transparent);
    const Rect cell{50, 10, 150, 50};
    const int32_t height = canvas.drawText(
        cell, "1234", DrawTextFormat::Right | DrawTextFormat::VerticalCenter | DrawTextFormat::SingleLine);
    EXPECT_EQ(height, 14);
    const Rect ink = inkBox(canvas, whiteColor);
    EXPECT_LE(ink.right, 150);
    EXPECT_GE(ink.right, 147);
    EXPECT_GE(ink.top, 23);
    EXPECT_LE(ink.bottom, 37);

    canvas.fill(whiteColor);
    canvas.drawText(cell, "1234", DrawTextFormat::Right | DrawTextFormat::VerticalCenter);
    EXPECT_LT(inkBox(canvas, whiteColor).bottom, 10 + 15);  // without SingleLine it stays at the top

    canvas.fill(whiteColor);
    canvas.drawText(cell, "1234", DrawTextFormat::Center);
    const Rect centred = inkBox(canvas, whiteColor);
    EXPECT_NEAR((centred.left + centred.right) / 2.0, 100.0, 2.0);
}

TEST(DrawText, ClipsToItsRectangleUnlessNoClip) {
    RasterCanvas canvas(Size{200, 40});
    canvas.selectFont(arial(14));
    canvas.setBkMode(BackgroundMode::Transparent);
    canvas.drawText(Rect{10, 5, 30, 25}, "a rather long text", DrawTextFormat::Left);
    const Rect clipped = inkBox(canvas, whiteColor);
    EXPECT_LE(clipped.right, 30);
    canvas.drawText(Rect{10, 5, 30, 25}, "a rather long text", DrawTextFormat::NoClip);
    EXPECT_GT(inkBox(canvas, whiteColor).right, 60);
}

TEST(Utf8, DecodesTextAndKeepsStrayBytes) {
    EXPECT_EQ(decodeUtf8("Sz\xC3\xADv"), (std::vector<char32_t>{U'S', U'z', 0xED, U'v'}));
    EXPECT_EQ(decodeUtf8("\xE9t\xC3"), (std::vector<char32_t>{0xE9, U't', 0xC3}));
    EXPECT_EQ(decodeUtf8("\xE2\x82\xAC"), (std::vector<char32_t>{0x20AC}));
    EXPECT_EQ(toValidUtf8("\xE9"), "\xC3\xA9");
}

}  // namespace
}  // namespace lumen
