#include "events/timeline_layout.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lumen
