#include "events/timeline_layout.h"

#include <gtest/gtest.h>

#include "events/time_cursor.h"
#include "recording_canvas.h"

namespace lumen {
namespace {

constexpr int32_t kStart = 1449000;

TEST(TimelineLayout, SideCellsFollowTheAreaWidth) {
    const struct {
        int32_t width, side, strip;
    } cases[] = {{1024, 90, 844}, {1920, 192, 1536}, {800, 66, 668}, {1600, 90, 1420}};
    for (const auto& c : cases) {
        TimelineLayout layout;
        layout.setArea({0, 0, c.width, 190});
        EXPECT_EQ(layout.labelRect(3).right, c.side) << c.width;
        EXPECT_EQ(layout.stripRect(3), (Rect{c.side + 1, 30, c.side + c.strip, 39}));
        EXPECT_EQ(layout.countRect(3).right, 2 * c.side + c.strip);
        EXPECT_EQ(layout.stripWidth(), c.strip - 2);
    }
}

TEST(TimelineLayout, RowsAreStackedWithTheLastTakingTheRest) {
    TimelineLayout layout;
    layout.setArea({10, 20, 1034, 215});
    EXPECT_EQ(layout.rowRect(0), (Rect{10, 20, 1034, 29}));
    EXPECT_EQ(layout.rowRect(17).top, 20 + 170);
    EXPECT_EQ(layout.rowRect(17).bottom, 20 + 179);
    EXPECT_EQ(layout.rowRect(18).bottom, 215);
    EXPECT_EQ(layout.rowAt(39), 1);
    EXPECT_EQ(layout.rowAt(210), 18);
    EXPECT_EQ(layout.rowAt(5000), 18);
    // on paper y grows upward and the rows go down in negative y
    layout.setArea({1000, -4000, 19000, -15500});
    EXPECT_EQ(layout.rowHeight(), -605);
    EXPECT_EQ(layout.rowRect(1).top, -4605);
    EXPECT_EQ(layout.rowRect(1).bottom, -5211);
    EXPECT_EQ(layout.rowRect(18).bottom, -15500);
    EXPECT_EQ(layout.rowAt(-4700), 1);
}

TEST(TimelineLayout, SpanAcrossMidnightAndZoomWindows) {
    TimelineLayout layout;
    layout.setRecordingSpan(4000000, 100000);
    EXPECT_EQ(layout.recordingEnd(), 4420000);
    layout.setRecordingSpan(kStart, kStart + 4000000);
    layout.requestNewWindow();
    EXPECT_FALSE(layout.needsNewWindow());
    layout.toggleZoom(kStart + 180000);
    EXPECT_EQ(layout.windowStart(), kStart);
    EXPECT_EQ(layout.windowEnd(), kStart + 540000);
    EXPECT_EQ(layout.windowLength(), 540000);
    layout.requestNewWindow();
    EXPECT_TRUE(layout.needsNewWindow());
    layout.toggleZoom(0);
    EXPECT_EQ(layout.windowStart(), kStart);
    EXPECT_EQ(layout.windowEnd(), kStart + 4000000);
    EXPECT_FALSE(layout.zoomed());
    layout.toggleZoom(kStart + 900000);
    EXPECT_EQ(layout.windowStart(), kStart + 630000);
    EXPECT_EQ(layout.windowEnd(), kStart + 1170000);
}

TEST(TimeCursor, RemembersWhereItWasDrawnAndXorsTwice) {
    TimelineLayout screen;
    TimelineLayout paper;
    screen.setArea({0, 0, 1024, 190});
    screen.setRecordingSpan(kStart, kStart + 4320000);
    TimeCursor cursor(screen, paper);
    EXPECT_EQ(cursor.previousColumn(), -1);
    cursor.set(kStart + 51310);
    EXPECT_EQ(cursor.column(), 11);
    EXPECT_EQ(cursor.previousColumn(), 0);
    test::RecordingCanvas canvas;
    screen.createTools(canvas, PaintTarget::Screen);
    cursor.draw(canvas, PaintTarget::Screen);
    ASSERT_EQ(canvas.lines.size(), 2u);
    EXPECT_EQ(canvas.lines[0].from, (Point{91 + 11, 179}));
    EXPECT_EQ(canvas.lines[0].to, (Point{91 + 11, 0}));
    EXPECT_EQ(canvas.lines[0].op, RasterOp::Xor);
    EXPECT_EQ(canvas.lines[0].pen.color, rgb(192, 192, 192));
    EXPECT_EQ(canvas.rasterOp(), RasterOp::Copy);
    EXPECT_EQ(cursor.previousColumn(), 11);
    cursor.set(kStart);
    canvas.forget();
    cursor.erase(canvas);
    ASSERT_EQ(canvas.lines.size(), 2u);
    EXPECT_EQ(canvas.lines[1].from.x, 91 + 11);
    EXPECT_EQ(canvas.lines[1].pen.color, rgb(192, 192, 192));
}

}  // namespace
}  // namespace lumen
