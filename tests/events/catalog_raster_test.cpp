// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "events/event_catalog.h"
#include "platform/draw/raster_canvas.h"

namespace lumen {
namespace {

constexpr int32_t kStart = 1449000;

class RasterCatalog : public ::testing::Test {
protected:
    RasterCatalog() {
        catalog.setRecordingSpan(kStart, kStart + 8640 * 500);
        catalog.setScreenArea({0, 0, 1024, 19 * 20});
        for (int32_t i = 0; i < 40; ++i) {
            catalog.dispatchCode(i % 3 == 0 ? 160 : 32, i * 100000, 0, i);
            catalog.dispatchCode(52, i * 90000 + 7000, 0, -1);
        }
        canvas.setBkMode(BackgroundMode::Transparent);
        canvas.setBkColor(rgb(192, 192, 192));
        catalog.paintAll(canvas, PaintTarget::Screen);
    }
    int32_t cursorX() const { return catalog.timeCursor().column() + catalog.screenLayout().stripRect(17).left; }

    LanguageTexts texts;
    EventCatalog catalog{texts};
    RasterCanvas canvas{Size{1024, 19 * 20}};
};

TEST_F(RasterCatalog, SelectedRowIsDarkAndTheCursorInvertsLightBits) {
    const Color unselected = canvas.colorAt(500, 25);  // inside row 1, above its ticks
    EXPECT_EQ(unselected, rgb(192, 192, 192));
    // row 0 is selected; its cursor column shows grey ^ light grey
    const Color underCursor = canvas.colorAt(cursorX(), 1);  // above the tick of its event
    EXPECT_EQ(underCursor, rgb(128 ^ 192, 128 ^ 192, 128 ^ 192));
    EXPECT_EQ(canvas.colorAt(cursorX() + 3, 5), rgb(128, 128, 128));
    EXPECT_EQ(canvas.colorAt(cursorX(), 25), rgb(0, 0, 0));  // 192 ^ 192
}

TEST_F(RasterCatalog, AStepRedrawsOnlyTheCursorAndRestoresTheOldColumn) {
    const int32_t oldX = cursorX();
    ASSERT_TRUE(catalog.nextEvent());
    catalog.repaintChanged(canvas);
    EXPECT_NE(cursorX(), oldX);
    EXPECT_EQ(canvas.colorAt(oldX, 25), rgb(192, 192, 192));
    catalog.nextRow();
    catalog.repaintChanged(canvas);
    EXPECT_EQ(canvas.colorAt(500, 25), rgb(128, 128, 128));  // row 1 selected now
    EXPECT_EQ(canvas.colorAt(500, 5), rgb(192, 192, 192));
}

}  // namespace
}  // namespace lumen
