// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/draw/ink.h"
#include "platform/draw/raster_canvas.h"

namespace lumen {
namespace {

using test::countColor;
using test::inkBox;

constexpr Color red = rgb(255, 0, 0);
constexpr Color lightGrey = rgb(192, 192, 192);

// A line from `from` to `to` with a pen of `width`: the box of its ink and
// the number of pixels it set.
struct LineCase {
    const char* name;
    int32_t width;
    Point from;
    Point to;
    Rect ink;
    int pixels;  // -1: not counted
};

const LineCase kLines[] = {
    {"horizontal, last point left out", 0, {5, 10}, {15, 10}, {5, 10, 15, 11}, 10},
    {"drawn upward", 0, {20, 25}, {20, 5}, {20, 6, 21, 26}, 20},
    {"Bresenham diagonal", 0, {0, 0}, {10, 5}, {0, 0, 10, 6}, 10},
    {"zero length", 0, {3, 3}, {3, 3}, {}, 0},
    {"far end points clipped, not walked", 0, {-2000000000, 25}, {2000000000, 25}, {0, 25, 40, 26}, 40},
    {"far diagonal", 0, {-1000000, -1000000}, {1000000, 1000000}, {0, 0, 40, 40}, 40},
    {"wide pen around the line", 3, {5, 10}, {15, 10}, {4, 9, 16, 12}, -1},
    {"wide pen's last stamp on (29, 29)", 3, {10, 10}, {30, 30}, {9, 9, 31, 31}, -1},
};

TEST(RasterLines, InkOfEachLine) {
    for (const LineCase& line : kLines) {
        RasterCanvas canvas(Size{40, 40});
        canvas.selectPen(Pen::solid(line.width, red));
        canvas.moveTo(line.from);
        canvas.lineTo(line.to);
        EXPECT_EQ(inkBox(canvas, whiteColor), line.ink) << line.name;
        if (line.pixels >= 0) EXPECT_EQ(countColor(canvas, red), line.pixels) << line.name;
        EXPECT_EQ(canvas.currentPosition(), line.to) << line.name;
    }
}

TEST(RasterLines, DiagonalSetsOnePixelPerColumnAndNullPenMovesOnly) {
    RasterCanvas canvas(Size{20, 20});
    canvas.moveTo(Point{0, 0});
    canvas.lineTo(Point{10, 5});
    EXPECT_EQ(canvas.colorAt(9, 5), blackColor);  // 9 * 5 / 10 = 4.5 rounds away from the start
    for (int32_t x = 0; x < 10; ++x) {
        int inColumn = 0;
        for (int32_t y = 0; y < 20; ++y) inColumn += canvas.colorAt(x, y) == blackColor ? 1 : 0;
        EXPECT_EQ(inColumn, 1) << "column " << x;
    }
    canvas.fill(whiteColor);
    canvas.selectPen(Pen::null());
    canvas.lineTo(Point{19, 19});
    EXPECT_EQ(inkBox(canvas, whiteColor), Rect{});
}

// Every one-pixel step in the eight directions sets its first pixel only,
// inside the clip, with each raster operation; one starting outside the
// clip or ending outside the image sets nothing beyond it.
TEST(RasterLines, OnePixelStepsSetTheirFirstPixelOnly) {
    for (const RasterOp op : {RasterOp::Copy, RasterOp::Xor, RasterOp::NotXor}) {
        for (int32_t dx = -1; dx <= 1; ++dx) {
            for (int32_t dy = -1; dy <= 1; ++dy) {
                if (dx == 0 && dy == 0) continue;
                RasterCanvas canvas(Size{8, 8});
                canvas.setRasterOp(op);
                canvas.selectPen(Pen::solid(1, lightGrey));
                canvas.moveTo(Point{4, 4});
                canvas.lineTo(Point{4 + dx, 4 + dy});
                EXPECT_EQ(inkBox(canvas, whiteColor), (Rect{4, 4, 5, 5})) << dx << "," << dy;
                canvas.moveTo(Point{7, 0});  // the image's corner, the step leaving it
                canvas.lineTo(Point{8, dy});
                canvas.moveTo(Point{-1, 3});  // outside, stepping in
                canvas.lineTo(Point{0, 3});
                const Color changed = op == RasterOp::Copy ? lightGrey : rgb(255 ^ 192, 255 ^ 192, 255 ^ 192);
                EXPECT_EQ(canvas.colorAt(7, 0), op == RasterOp::NotXor ? rgb(192, 192, 192) : changed);
                EXPECT_EQ(canvas.colorAt(0, 3), whiteColor);
                EXPECT_EQ(countColor(canvas, whiteColor), 62) << dx << "," << dy;
            }
        }
    }
}

TEST(RasterLines, XorTwiceRestoresTheImage) {
    RasterCanvas canvas(Size{30, 30});
    canvas.fillRect(Rect{0, 0, 15, 30}, Brush::solid(rgb(10, 200, 90)));
    const std::vector<Color> before = test::colorsOf(canvas);
    canvas.setRasterOp(RasterOp::Xor);
    canvas.selectPen(Pen::solid(0, lightGrey));
    canvas.moveTo(Point{2, 29});
    canvas.lineTo(Point{27, 1});
    EXPECT_EQ(canvas.colorAt(2, 29), rgb(10 ^ 192, 200 ^ 192, 90 ^ 192));
    EXPECT_EQ(canvas.colorAt(26, 2), rgb(255 ^ 192, 255 ^ 192, 255 ^ 192));
    canvas.moveTo(Point{2, 29});
    canvas.lineTo(Point{27, 1});
    EXPECT_EQ(test::colorsOf(canvas), before);
}

TEST(RasterRectangles, OutlineWithPenInsideWithBrushRightBottomExclusive) {
    const struct {
        const char* name;
        Pen pen;
        Brush brush;
        Rect ink;
        int penPixels;
        Color inside;
    } cases[] = {
        {"pen and brush", Pen::solid(1, red), Brush::solid(lightGrey), {5, 6, 15, 12}, 2 * 10 + 2 * 4, lightGrey},
        {"null pen fills one pixel less", Pen::null(), Brush::solid(lightGrey), {5, 6, 14, 11}, 0, lightGrey},
        {"null brush leaves the inside", Pen::solid(1, red), Brush::null(), {5, 6, 15, 12}, 28, whiteColor}};
    for (const auto& c : cases) {
        RasterCanvas canvas(Size{30, 30});
        canvas.selectPen(c.pen);
        canvas.selectBrush(c.brush);
        canvas.rectangle(Rect{5, 6, 15, 12});
        EXPECT_EQ(inkBox(canvas, whiteColor), c.ink) << c.name;
        EXPECT_EQ(countColor(canvas, red), c.penPixels) << c.name;
        EXPECT_EQ(canvas.colorAt(7, 8), c.inside) << c.name;
    }
}

TEST(RasterRectangles, XorRectangleTwiceRestoresAndFillRectIgnoresRasterOp) {
    RasterCanvas canvas(Size{20, 20});
    canvas.setRasterOp(RasterOp::Xor);
    canvas.selectPen(Pen::solid(0, red));
    canvas.selectBrush(Brush::solid(lightGrey));
    canvas.rectangle(Rect{2, 2, 12, 12});
    canvas.rectangle(Rect{2, 2, 12, 12});
    EXPECT_EQ(inkBox(canvas, whiteColor), Rect{});
    canvas.fillRect(Rect{3, 4, 8, 6}, Brush::solid(red));
    EXPECT_EQ(inkBox(canvas, whiteColor), (Rect{3, 4, 8, 6}));
    EXPECT_EQ(canvas.colorAt(3, 4), red);
}

TEST(RasterClipping, SubRectangleCanvasHasItsOwnOriginAndClip) {
    std::vector<uint32_t> frame(64 * 48, pixelFromColor(whiteColor));
    const PixelSurface surface{frame.data(), 64, 48, 64};
    RasterCanvas pane(surface, Rect{10, 8, 30, 20});
    EXPECT_EQ(pane.deviceSize(), (Size{20, 12}));
    pane.fillRect(Rect{-100, -100, 100, 100}, Brush::black());
    RasterCanvas whole(surface, Rect{0, 0, 64, 48});
    EXPECT_EQ(inkBox(whole, whiteColor), (Rect{10, 8, 30, 20}));

    whole.fill(whiteColor);
    pane.setClipRect(Rect{2, 2, 6, 5});
    pane.moveTo(Point{0, 3});
    pane.lineTo(Point{20, 3});
    EXPECT_EQ(inkBox(whole, whiteColor), (Rect{12, 11, 16, 12}));
    EXPECT_EQ(pane.colorAt(2, 3), blackColor);

    pane.resetClipRect();
    pane.lineTo(Point{20, 30});
    EXPECT_EQ(whole.colorAt(30, 11), whiteColor);
}

TEST(RasterClipping, SaveAndRestoreBringBackObjectsModesAndClip) {
    RasterCanvas canvas(Size{20, 20});
    canvas.saveState();
    canvas.selectPen(Pen::solid(0, red));
    canvas.setBkMode(BackgroundMode::Transparent);
    canvas.setTextAlign(TextAlign::Center | TextAlign::Bottom);
    canvas.setClipRect(Rect{0, 0, 2, 2});
    canvas.moveTo(Point{5, 5});
    canvas.restoreState();
    // One restore too many is a programming error: a checked build stops.
    EXPECT_DEBUG_DEATH(canvas.restoreState(), "restored without a save");
    EXPECT_EQ(canvas.pen(), Pen::black());
    EXPECT_EQ(canvas.bkMode(), BackgroundMode::Opaque);
    EXPECT_EQ(canvas.textAlign(), TextAlign::Left | TextAlign::Top);
    EXPECT_EQ(canvas.currentPosition(), (Point{0, 0}));
    canvas.moveTo(Point{0, 10});
    canvas.lineTo(Point{20, 10});
    EXPECT_EQ(inkBox(canvas, whiteColor), (Rect{0, 10, 20, 11}));
}

TEST(RasterMapMode, HundredthMillimetreFlipsYAndTheClipStaysOnTheDevice) {
    RasterCanvas page(Size{100, 100});
    page.setDotsPerInch(254);  // one pixel per 0.1 mm
    page.setMapMode(MapMode::HundredthMillimetre);
    page.fillRect(Rect{100, -200, 300, -500}, Brush::black());
    EXPECT_EQ(inkBox(page, whiteColor), (Rect{10, 20, 30, 50}));
    page.fill(whiteColor);
    page.setMapMode(MapMode::Pixels);
    page.setClipRect(Rect{0, 0, 10, 10});
    page.setMapMode(MapMode::HundredthMillimetre);
    page.fillRect(Rect{0, 0, 10000, -10000}, Brush::black());
    EXPECT_EQ(inkBox(page, whiteColor), (Rect{0, 0, 10, 10}));
}

TEST(RasterBlit, BandIsCopiedPixelForPixel) {
    RasterCanvas screen(Size{60, 40});
    std::unique_ptr<Image> image = screen.createCompatibleImage(Size{50, 30});
    image->fillRect(Rect{0, 0, 50, 30}, Brush::solid(lightGrey));
    image->selectPen(Pen::solid(0, red));
    image->moveTo(Point{20, 0});
    image->lineTo(Point{20, 30});
    screen.bitBlt(Rect{5, 5, 15, 25}, *image, Point{15, 2});
    EXPECT_EQ(inkBox(screen, whiteColor), (Rect{5, 5, 15, 25}));
    EXPECT_EQ(screen.colorAt(10, 5), red);
    EXPECT_EQ(screen.colorAt(10, 24), red);
    EXPECT_EQ(screen.colorAt(9, 10), lightGrey);
    EXPECT_EQ(countColor(screen, red), 20);
}

TEST(RasterBlit, SourceOutsideItsImageLeavesDestinationAlone) {
    RasterCanvas screen(Size{20, 20});
    RasterCanvas image(Size{5, 5});
    image.fill(red);
    screen.bitBlt(Rect{0, 0, 20, 20}, image, Point{-3, -2});
    EXPECT_EQ(inkBox(screen, whiteColor), (Rect{3, 2, 8, 7}));
}

TEST(RasterPng, SavedImageReadsBackTheSame) {
    RasterCanvas canvas(Size{7, 5});
    canvas.fillRect(Rect{1, 1, 3, 4}, Brush::solid(rgb(12, 34, 56)));
    // Other builds may run this test at the same moment.
    const std::string path = ::testing::TempDir() + "lumen_raster_roundtrip_" + std::to_string(::getpid()) + ".png";
    ASSERT_TRUE(canvas.savePng(path));
    const auto loaded = RasterCanvas::loadPng(path);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->deviceSize(), (Size{7, 5}));
    EXPECT_EQ(loaded->colorAt(2, 3), rgb(12, 34, 56));
    EXPECT_EQ(loaded->colorAt(3, 3), whiteColor);
    std::remove(path.c_str());
    EXPECT_EQ(RasterCanvas::loadPng(path), nullptr);
    EXPECT_FALSE(canvas.savePng("/nonexistent-dir/x.png"));
}

}  // namespace
}  // namespace lumen
