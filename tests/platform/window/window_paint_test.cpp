// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "test_app.h"
#include "test_support.h"

namespace lumen::testing {
namespace {

constexpr Size screen{640, 480};

class WindowPaintTest : public ::testing::Test {
protected:
    WindowPaintTest() : system(driver), app(system) { pump(system); }

    StepDriver driver{screen};
    WindowSystem system;
    TestApp app;
};

TEST_F(WindowPaintTest, ParentsPaintBeforeChildrenAndOwnersDrawTheirButtons) {
    std::vector<std::string> painters;
    for (const auto& entry : messageLog()) {
        if (entry.message == WM_PAINT || entry.message == WM_DRAWITEM) {
            painters.push_back(entry.window + (entry.message == WM_DRAWITEM ? ":item" : ""));
        }
    }
    ASSERT_GE(painters.size(), 3u);
    EXPECT_EQ(painters[0], "main");
    EXPECT_EQ(painters[1], "pane");
    EXPECT_EQ(painters[2], "pane:item");
    const auto items = logged(WM_DRAWITEM);
    EXPECT_EQ(items.front().wParam, TestApp::ownerDrawnId);
}

TEST_F(WindowPaintTest, WindowCanvasIsClippedToTheWindowAndItsParents) {
    auto canvas = system.getDC(app.pane);
    ASSERT_NE(canvas, nullptr);
    canvas->fillRect(Rect{-100, -100, 1000, 1000}, Brush::black());
    system.releaseDC(app.pane, std::move(canvas));
    EXPECT_EQ(pixelAt(system, 10, 10), 0u);
    EXPECT_EQ(pixelAt(system, 209, 109), 0u);
    EXPECT_EQ(pixelAt(system, 210, 109), pixelFromColor(mainColor));
    EXPECT_EQ(pixelAt(system, 9, 9), pixelFromColor(mainColor));

    // A button pushed half out of its pane draws only inside the pane.
    system.moveWindow(app.plain, Rect{180, 20, 260, 40}, Repaint::No);
    auto button = system.getDC(app.plain);
    button->fillRect(Rect{0, 0, 80, 20}, Brush::white());
    button.reset();
    EXPECT_EQ(pixelAt(system, 205, 35), pixelFromColor(whiteColor));
    EXPECT_EQ(pixelAt(system, 215, 35), pixelFromColor(mainColor));
}

TEST_F(WindowPaintTest, PaintIsClippedToTheInvalidatedPart) {
    system.invalidateRect(app.pane, Rect{0, 0, 50, 50}, Erase::No);
    PaintStruct paint;
    Canvas* canvas = system.beginPaint(app.pane, paint);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(paint.paintRect, (Rect{0, 0, 50, 50}));
    EXPECT_FALSE(paint.erased);
    canvas->fillRect(Rect{0, 0, 200, 100}, Brush::black());
    system.endPaint(app.pane, paint);
    EXPECT_EQ(pixelAt(system, 10 + 49, 10 + 49), 0u);
    EXPECT_EQ(pixelAt(system, 10 + 51, 10 + 51), pixelFromColor(paneColor));
    // The owner-drawn button under the invalid part still waits for its paint.
    Message message;
    ASSERT_TRUE(system.peekMessage(message, RemoveMessage::Yes));
    EXPECT_EQ(message.message, WM_PAINT);
    EXPECT_EQ(message.window, app.ownerDrawn);
    system.dispatchMessage(message);
    EXPECT_FALSE(system.peekMessage(message, RemoveMessage::Yes));
}

}  // namespace
}  // namespace lumen::testing
