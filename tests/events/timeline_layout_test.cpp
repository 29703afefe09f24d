// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/timeline_layout.h"

#include <gtest/gtest.h>

namespace lumen {
namespace {

constexpr int32_t kStart = 1449000;

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
