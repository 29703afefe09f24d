// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/row_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "recording_canvas.h"

namespace lumen {
namespace {

constexpr int32_t kStart = 1449000;  // 08:03:00
constexpr Color kRed = rgb(255, 0, 0);
using test::RecordingCanvas;

class Painting : public ::testing::Test {
protected:
    Painting() {
        layout.setArea({0, 0, 1024, 190});
        layout.setRecordingSpan(kStart, kStart + 8639 * 500);
        layout.createTools(canvas, PaintTarget::Screen);
    }
    std::vector<RecordingCanvas::Line> ticksIn(int32_t row) const {
        const Rect& strip = layout.stripRect(row);
        std::vector<RecordingCanvas::Line> ticks;
        for (const auto& line : canvas.lines) {
            if (line.from.x == line.to.x && line.from.y == strip.bottom - 2) {
                ticks.push_back(line);
            }
        }
        return ticks;
    }
    const RecordingCanvas::Text* textOf(std::string_view text) const { return canvas.find(text); }

    TimelineLayout layout;
    RecordingCanvas canvas;
};

TEST_F(Painting, EventsInOnePixelColumnMakeOneTickAndOnlyThoseInsideTheWindowCount) {
    // 5130 ticks are one column of an 842-pixel day
    const std::vector<EventNode> events = {{0, 0, -1}, {100, 0, -1}, {5131, 0, -1}, {6000, 0, -1}, {900, 0, -1}};
    RowPainter::paintCategory(canvas, layout, PaintTarget::Screen, {2, "VRUN", events, false});
    EXPECT_EQ(ticksIn(2).size(), 3u);  // the last one returns to column 0
    EXPECT_NE(textOf("5"), nullptr);
    EXPECT_NE(textOf("  VRUN"), nullptr);
    canvas.forget();
    layout.toggleZoom(kStart + 1000000);
    const int32_t start = layout.windowStart() - kStart;
    const int32_t end = layout.windowEnd() - kStart;
    const std::vector<EventNode> edges = {{start - 1, 0, -1}, {start, 0, -1}, {end, 0, -1}, {end + 1, 0, -1}};
    RowPainter::paintCategory(canvas, layout, PaintTarget::Screen, {3, "VBIG", edges, false});
    EXPECT_EQ(ticksIn(3).size(), 2u);
}

TEST_F(Painting, TheSelectedRowIsRedOnScreenOnlyAndPaperCountsCarryTwoBlanks) {
    const std::vector<EventNode> events = {{100, 0, -1}};
    RowPainter::paintCategory(canvas, layout, PaintTarget::Screen, {0, "VISO", events, true});
    ASSERT_EQ(ticksIn(0).size(), 1u);
    EXPECT_EQ(ticksIn(0)[0].pen.color, kRed);
    EXPECT_EQ(textOf("  VISO")->color, kRed);
    EXPECT_EQ(canvas.textColor(), blackColor);
    canvas.forget();
    const std::vector<EventNode> none;
    RowPainter::paintCategory(canvas, layout, PaintTarget::Paper, {4, "VTCH", none, false});
    EXPECT_NE(textOf("0  "), nullptr);
    EXPECT_TRUE(ticksIn(4).empty());
}

TEST_F(Painting, TimeScaleTicksEveryTenMinutesWithHoursUnderFullHours) {
    layout.setArea({0, 0, 1024, 570});  // rows of 30 pixels
    RowPainter::paintTimeScale(canvas, layout, PaintTarget::Screen, {18, "  Time (h)", false});
    const Rect& strip = layout.stripRect(18);
    std::vector<RecordingCanvas::Line> ticks;
    for (const auto& line : canvas.lines) {
        const bool frameSide = line.to.y - line.from.y >= strip.bottom - strip.top;
        if (line.from.y == strip.top && line.from.x == line.to.x && line.to.y > strip.top && !frameSide) {
            ticks.push_back(line);
        }
    }
    // 08:10:00 is the first tick, white beside black; 144 ten-minute marks
    ASSERT_EQ(ticks.size(), 2u * 144);
    EXPECT_EQ(ticks[0].pen.color, rgb(255, 255, 255));
    EXPECT_GT(ticks[10].to.y - ticks[10].from.y, ticks[0].to.y - ticks[0].from.y);  // 09:00 is longer
    const auto firstHour =
        std::find_if(canvas.texts.begin(), canvas.texts.end(), [](const auto& t) { return t.text.size() == 2; });
    EXPECT_EQ(firstHour->text, "09");  // 08:00 of the first day lies before the start
    EXPECT_EQ(firstHour->at.x, ticks[10].from.x);
    EXPECT_NE(textOf("00"), nullptr);  // past midnight the hours start again
    canvas.forget();
    RowPainter::paintTimeScale(canvas, layout, PaintTarget::Screen, {18, "  Time (h)", true});
    EXPECT_EQ(textOf("09")->color, kRed);
    canvas.forget();
    RowPainter::paintTimeScale(canvas, layout, PaintTarget::Paper, {18, "  Time (h)", true});
    ASSERT_NE(textOf("23:59:50  "), nullptr);
    EXPECT_EQ(textOf("09")->color, blackColor);
}

// Rows in time order may skip ahead by columns; they must draw what the walk draws.
TEST_F(Painting, OrderedRowsSkipByColumnsAndDrawTheSameTicks) {
    std::vector<EventNode> events;
    for (int32_t i = 0; i < 20000; ++i) {
        events.push_back({i * 211 % 7 == 0 ? i * 200 : i * 200 + 13, 0, -1});
    }
    for (const bool zoomed : {false, true}) {
        if (zoomed) {
            layout.toggleZoom(kStart + 2000000);
        }
        RowPainter::paintCategory(canvas, layout, PaintTarget::Screen, {0, "VISO", events, false, false});
        const auto walked = ticksIn(0);
        canvas.forget();
        RowPainter::paintCategory(canvas, layout, PaintTarget::Screen, {0, "VISO", events, false, true});
        const auto searched = ticksIn(0);
        canvas.forget();
        ASSERT_EQ(walked.size(), searched.size());
        ASSERT_GT(walked.size(), 500u);
        for (size_t i = 0; i < walked.size(); ++i) {
            EXPECT_EQ(walked[i].from, searched[i].from);
            EXPECT_EQ(walked[i].to, searched[i].to);
        }
    }
}

}  // namespace
}  // namespace lumen
