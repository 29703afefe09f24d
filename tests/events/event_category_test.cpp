// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/event_category.h"

#include <gtest/gtest.h>

#include "events/time_scale_row.h"
#include "recording_canvas.h"

namespace lumen {
namespace {

constexpr int32_t kStart = 1449000;  // 08:03:00
constexpr int32_t kEnd = kStart + 8640 * 500;

class Rows : public ::testing::Test {
protected:
    Rows() {
        screen.setRecordingSpan(kStart, kEnd);
        for (const int32_t p : {100, 200, 300}) {
            row.append(p, kStart + p, p / 100);
        }
    }
    TimelineLayout screen;
    TimelineLayout paper;
    LanguageTexts texts;
    EventCategory row{0, screen, paper, "VISO", "Ventricular Beat"};
    TimeScaleRow scale{18, screen, paper, texts};
};

TEST_F(Rows, SortedInsertionGoesBeforeEqualPositionsAndKeepsTheCurrentEvent) {
    row.seekNearest(kStart + 200);
    row.insertSorted(200, 7, 42);
    EXPECT_EQ(row.currentOrdinal(), 3);
    EXPECT_EQ(row.currentTimeOfDay(), kStart + 200);
    row.previous();
    EXPECT_EQ(row.currentTimeOfDay(), 7);
    EXPECT_EQ(row.currentOrdinal(), 2);
    EXPECT_EQ(row.removeAt(kStart + 200), 42);  // the first of equal events
    EXPECT_EQ(row.removeAt(kStart + 250), -1);
    EXPECT_EQ(row.count(), 3);
}

TEST_F(Rows, SelectionForgetsTheCurrentEventOnlyWhenItChanges) {
    test::RecordingCanvas canvas;
    row.setSelected(true);
    row.seekNearest(kStart + 300);
    row.paint(canvas, PaintTarget::Paper);
    EXPECT_TRUE(row.needsRepaint());  // paper does not count
    row.paint(canvas, PaintTarget::Screen);
    row.setSelected(true);
    EXPECT_EQ(row.currentTime(), kStart + 300);
    EXPECT_FALSE(row.needsRepaint());
    row.setSelected(false);
    row.setSelected(true);
    EXPECT_EQ(row.currentTime(), 0);
    EXPECT_TRUE(row.needsRepaint());
}

TEST_F(Rows, TimeScaleClampsToTheRecordingAndStepsBySeconds) {
    EXPECT_EQ(scale.seekNearest(kEnd + 10), kEnd - 50);
    EXPECT_EQ(scale.next(), kEnd - 50);  // one more step would reach the end
    EXPECT_EQ(scale.seekNearest(kStart - 10), kStart + 50);
    EXPECT_EQ(scale.previous(), kStart + 50);
    EXPECT_EQ(scale.next(), kStart + 100);
    EXPECT_EQ(scale.seekAtOrAfter(kEnd + 500), kEnd + 500);  // no clamping here
    EXPECT_EQ(scale.first(), kStart + 50);
    EXPECT_EQ(scale.currentTimeOfDay(), kStart + 50);
    EXPECT_EQ(scale.removeCurrent(), 0);
    EXPECT_EQ(scale.longName(), "Full disclosure");
}

}  // namespace
}  // namespace lumen
