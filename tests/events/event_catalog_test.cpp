// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/event_catalog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_canvas.h"

namespace lumen {
namespace {

constexpr int32_t kStart = 1449000;  // 08:03:00
constexpr int32_t kEnd = kStart + 8640 * 500;

class Catalog : public ::testing::Test {
protected:
    Catalog() {
        catalog.setRecordingSpan(kStart, kEnd);
        catalog.setScreenArea({0, 0, 1024, 190});
    }
    void paint() { catalog.paintAll(canvas, PaintTarget::Screen); }
    int32_t count(int32_t row) const { return catalog.row(row).count(); }

    LanguageTexts texts;
    EventCatalog catalog{texts};
    test::RecordingCanvas canvas;
};

TEST_F(Catalog, CodesGoToTheirRowsAndFlaggedOnesAlsoToThePrinterRow) {
    catalog.dispatchCode(160, 100, 0, 4);  // flag + VISO
    catalog.dispatchCode(128, 200, 0, 5);  // flag alone
    catalog.dispatchCode(38, 300, 0, 6);   // names nothing
    catalog.dispatchCode(37, 400, 0, -1);  // VTCH sits in row 4
    catalog.dispatchCode(52, 500, 0, -1);  // PAUSE in row 9, after SVTCH
    catalog.dispatchCode(36, 600, 0, -1);  // HRmin in row 10
    catalog.dispatchCode(121, 700, 0, -1);
    catalog.dispatchCode(255, 800, 0, -1);  // flag + 127: printer row only
    const int32_t expected[19] = {1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 3, 0};
    for (int32_t r = 0; r < 19; ++r) {
        EXPECT_EQ(count(r), expected[r]) << r;
    }
    EXPECT_EQ(catalog.row(17).shortName(), "To printer");
    EXPECT_EQ(catalog.row(5).shortName(), "SVISO");
    EXPECT_EQ(catalog.row(18).longName(), "Full disclosure");
    EXPECT_EQ(catalog.category(18), nullptr);
}

TEST_F(Catalog, ZeroTimesOfDayAreFilledInAndSortedDispatchInsertsInOrder) {
    catalog.dispatchCode(59, 300, 12345, -1);
    catalog.dispatchCodeSorted(59, 100, 0, -1);
    catalog.dispatchCodeSorted(187, 200, 0, -1);
    const auto events = catalog.category(15)->events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].timeOfDayTicks, kStart + 100);
    EXPECT_EQ(events[1].positionTicks, 200);
    EXPECT_EQ(events[2].timeOfDayTicks, 12345);
    EXPECT_EQ(count(17), 1);
}

TEST_F(Catalog, FirstPaintSelectsTheFirstRowWithEvents) {
    catalog.dispatchCode(49, 1000, 0, -1);
    catalog.dispatchCode(49, 2000, 0, -1);
    EXPECT_EQ(catalog.selectedRow(), -1);
    EXPECT_EQ(catalog.selectedCount(), 0);
    paint();
    EXPECT_EQ(catalog.selectedRow(), 6);
    EXPECT_EQ(catalog.cursorTime(), kStart + 1000);
    EXPECT_EQ(catalog.cursorPosition(), 1000);
    EXPECT_EQ(catalog.selectedOrdinal(), 1);
    EXPECT_EQ(catalog.selectedTimeOfDay(), kStart + 1000);
}

TEST_F(Catalog, FirstPaintOfAnEmptyRecordingSelectsTheTimeScale) {
    paint();
    EXPECT_EQ(catalog.selectedRow(), 18);
    EXPECT_EQ(catalog.cursorTime(), kStart + 50);
    EXPECT_TRUE(catalog.selectedHasEvents());
    EXPECT_EQ(catalog.selectedCount(), 0);
    EXPECT_FALSE(catalog.canRemove());
}

TEST_F(Catalog, StartUpSelectionWaitsForThePaint) {
    catalog.dispatchCode(33, 1000, 0, -1);
    catalog.dispatchCode(33, 3000, 0, -1);
    catalog.selectAt(kStart + 2500, 1);
    EXPECT_EQ(catalog.selectedRow(), 101);
    EXPECT_EQ(catalog.cursorTime(), 0);
    EXPECT_EQ(catalog.cursorPosition(), 0);
    paint();
    EXPECT_EQ(catalog.selectedRow(), 1);
    EXPECT_EQ(catalog.cursorTime(), kStart + 3000);
    EXPECT_EQ(catalog.selectedOrdinal(), 2);
    catalog.selectAt(kEnd + 99999, 3);  // empty: the clamped time scale
    paint();
    EXPECT_EQ(catalog.selectedRow(), 18);
    EXPECT_EQ(catalog.cursorTime(), kEnd - 50);
    EXPECT_EQ(catalog.row(1).currentTime(), 0);  // no longer selected
}

TEST_F(Catalog, RowChangesSeekNearTheCursorAndSkipEmptyRows) {
    catalog.dispatchCode(32, 1000, 0, -1);
    catalog.dispatchCode(34, 900, 0, -1);
    catalog.dispatchCode(34, 5000, 0, -1);
    paint();
    catalog.nextRow();  // row 1 is empty: the cursor stays
    EXPECT_EQ(catalog.selectedRow(), 1);
    EXPECT_EQ(catalog.cursorTime(), kStart + 1000);
    EXPECT_FALSE(catalog.nextEvent());
    catalog.nextRow();
    EXPECT_EQ(catalog.cursorTime(), kStart + 900);
    EXPECT_TRUE(catalog.nextEvent());
    EXPECT_TRUE(catalog.nextEvent());  // the last event: the cursor stays
    EXPECT_EQ(catalog.cursorTime(), kStart + 5000);
    EXPECT_TRUE(catalog.previousEvent());
    EXPECT_EQ(catalog.selectedLongName(), "Ventricular Run");
    catalog.previousRow();
    catalog.previousRow();
    catalog.previousRow();
    EXPECT_EQ(catalog.selectedRow(), 0);
    for (int32_t i = 0; i < 25; ++i) {
        catalog.nextRow();
    }
    EXPECT_EQ(catalog.selectedRow(), 18);
    EXPECT_EQ(catalog.cursorTime(), kStart + 900);  // VRUN's first was nearest on the way
    EXPECT_EQ(catalog.selectedShortName(), "");
}

TEST_F(Catalog, ClicksSelectTheRowAndTheNearestEvent) {
    catalog.dispatchCode(48, 0, 0, -1);
    catalog.dispatchCode(48, 100000, 0, -1);
    catalog.dispatchCode(48, 200000, 0, -1);
    paint();
    EXPECT_TRUE(catalog.hitTest({0, 0}));
    EXPECT_FALSE(catalog.hitTest({5, 190}));
    // x = 91 + 30 pixels ≈ 153900 ticks into the day: nearer the third
    catalog.clickAt({121, 55});
    EXPECT_EQ(catalog.selectedRow(), 5);
    EXPECT_EQ(catalog.cursorTime(), kStart + 200000);
    catalog.clickAt({10, 12});  // on the name cell: seek from the cursor
    EXPECT_EQ(catalog.selectedRow(), 1);
    EXPECT_FALSE(catalog.row(5).currentTime() != 0);
}

TEST_F(Catalog, LeavingTheZoomedWindowReturnsToTheDayAtTheNextRepaint) {
    catalog.dispatchCode(32, 1000, 0, -1);
    catalog.dispatchCode(32, 2000000, 0, -1);
    paint();
    catalog.toggleZoom();
    EXPECT_EQ(catalog.printLayout().windowEnd(), kStart + 540000);
    EXPECT_EQ(catalog.timeCursor().column(), 1000 * 842 / 540000 + 1);  // recomputed
    catalog.nextEvent();
    EXPECT_TRUE(catalog.screenLayout().needsNewWindow());
    catalog.repaintChanged(canvas);
    EXPECT_FALSE(catalog.screenLayout().zoomed());
    EXPECT_FALSE(catalog.screenLayout().needsNewWindow());
}

TEST_F(Catalog, RemovalTakesThePrinterCopyAndInvalidatesExtremes) {
    catalog.dispatchCode(160, 1000, 0, 7);
    catalog.dispatchCode(32, 2000, 0, 8);
    catalog.dispatchCode(84, 3000, 0, -1);
    paint();
    ASSERT_TRUE(catalog.canRemove());
    EXPECT_EQ(catalog.removeCurrentEvent(), 7);
    EXPECT_EQ(count(17), 0);
    EXPECT_EQ(count(0), 1);
    EXPECT_FALSE(catalog.extremesValid());
    EXPECT_TRUE(catalog.row(0).needsRepaint());
    EXPECT_TRUE(catalog.row(15).needsRepaint());
    EXPECT_EQ(catalog.selectedOrdinal(), 0);
    catalog.seekAfterCursor();
    EXPECT_EQ(catalog.cursorTime(), kStart + 2000);
    EXPECT_EQ(catalog.selectedTimeOfDay(), kStart + 2000);
    EXPECT_EQ(catalog.removeCurrentEvent(), 8);
    EXPECT_FALSE(catalog.canRemove());
    EXPECT_FALSE(catalog.selectedHasEvents());
    EXPECT_EQ(catalog.selectedTimeOfDay(), kStart + 2000);  // the removed event's
    catalog.selectAt(kStart, 14);
    paint();
    EXPECT_FALSE(catalog.canRemove());  // Manual events stay
}

TEST_F(Catalog, RemovalOnThePrinterRowTakesOnlyItsOwnEvent) {
    catalog.dispatchCode(160, 1000, 0, 7);
    catalog.selectAt(kStart + 1000, 17);
    paint();
    catalog.removeCurrentEvent();
    EXPECT_EQ(count(17), 0);
    EXPECT_EQ(count(0), 1);
    EXPECT_TRUE(catalog.extremesValid());
}

class FakeExtremes : public ExtremesSource {
public:
    std::vector<std::string> calls;
    void resetFlags() override { calls.push_back("reset"); }
    void rebuildHeartRate() override { calls.push_back("rebuild"); }
    void excludeExtreme(uint8_t code, EventSink& sink, int32_t position) override {
        calls.push_back("exclude " + std::to_string(code) + " " + std::to_string(position));
        sink.dispatchCode(code, -500, 0, -1);  // nothing qualifies
    }
};

TEST_F(Catalog, ExtremesAreSearchedAfreshOnlyWhenStaleAndSelected) {
    catalog.dispatchCode(36, 5000, 0, -1);
    catalog.dispatchCode(60, 7000, 0, -1);
    catalog.selectAt(kStart, 10);
    paint();
    FakeExtremes extremes;
    EXPECT_FALSE(catalog.refreshExtremes(extremes));  // still valid
    catalog.clearExtremesValid();
    ASSERT_TRUE(catalog.refreshExtremes(extremes));
    const std::vector<std::string> expected = {"reset", "rebuild", "exclude 36 -1", "exclude 51 -1",
                                               "exclude 60 -1", "exclude 61 -1"};
    EXPECT_EQ(extremes.calls, expected);
    EXPECT_TRUE(catalog.extremesValid());
    for (int32_t r = 10; r <= 13; ++r) {
        EXPECT_EQ(count(r), 1);
    }
    // before the recording start, but counted and reachable
    EXPECT_EQ(catalog.cursorTime(), kStart - 500);
    EXPECT_EQ(catalog.selectedCode(), 36);
    catalog.clearExtremesValid();
    catalog.nextRow();
    catalog.nextRow();
    extremes.calls.clear();
    EXPECT_TRUE(catalog.refreshExtremes(extremes));
    EXPECT_EQ(extremes.calls.size(), 5u);  // no heart-rate rebuild for ST
    EXPECT_TRUE(catalog.selectedIsSt());
    catalog.clearExtremesValid();
    for (int32_t r = 0; r < 3; ++r) {
        catalog.nextRow();
    }
    EXPECT_FALSE(catalog.refreshExtremes(extremes));
}

}  // namespace
}  // namespace lumen
