// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/strip_painter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "events/recording_canvas.h"
#include "strip_test_home.h"

namespace lumen {
namespace {

using testing::StripTestHome;
using testing::TestStripHost;

constexpr int32_t kTraceRow = 105;  // channel 1 alone on a 200-pixel pane: 100 + 160 / 30

class StripPainterTest : public ::testing::Test {
protected:
    // 12.5 mm/s around sample 1000: window from block 1, strip from sample 720,
    // so sample s lies in column s - 720.
    void loadSlow(int32_t t = 1000) {
        home.painter->view().pixelsPerSample = 1;
        home.painter->loadStripAround(t);
    }
    StripView& view() { return home.painter->view(); }

    StripTestHome home;
};

TEST_F(StripPainterTest, AStripWithoutBeatsSelectsNothingAndRelabelsNothing) {
    loadSlow(100);  // first half strip: window from 0, beats start at column 800
    EXPECT_EQ(view().windowStart, 0);
    EXPECT_EQ(view().selectedBeat, 0);
    EXPECT_EQ(home.painter->selectedBeatPosition(), -1);
    LabelChanges changes;
    EXPECT_EQ(home.painter->relabelFromPane(RelabelMode::Ventricular, changes), ChangeKind::None);
    EXPECT_EQ(changes.state, 0);
}

TEST_F(StripPainterTest, GridIsMillimetrePaperAtEverySpeedAndBeatsKeepTheirTimeScale) {
    for (const int32_t p : {1, 2, 4}) {
        view().pixelsPerSample = p;
        home.host.hasEvents = false;
        home.painter->loadStripAround(1000);
        const Color grid = home.host.colors.grid;
        const Color paper = home.host.colors.window;
        EXPECT_EQ(home.imageColor(200, 150), grid) << p;  // a 10 mm line
        EXPECT_EQ(home.imageColor(202, 150), paper) << p;
        EXPECT_EQ(home.imageColor(240, 150), grid) << p;
        EXPECT_EQ(home.imageColor(204, 148), grid) << p;  // a 1 mm dot
        EXPECT_EQ(home.imageColor(206, 148), paper) << p;
        EXPECT_EQ(home.imageColor(222, 120), grid) << p;  // a horizontal 10 mm line
        // One second is 50 samples: 12.5, 25 or 50 mm, 4 pixels each.
        const int32_t first = home.painter->selectedColumn();
        home.painter->selectNextBeat();
        EXPECT_EQ(home.painter->selectedColumn() - first, 50 * p) << p;
    }
}

TEST_F(StripPainterTest, TraceRisesByThePixelsPerMillivoltOfTheAmplitudeStep) {
    view().amplitudeStep = 3;  // 80 pixels per mV; the spike is 51 units = 1 mV
    loadSlow();
    const Color trace = home.host.colors.trace;
    EXPECT_EQ(home.imageColor(300, kTraceRow), trace);
    EXPECT_EQ(home.imageColor(380, kTraceRow - 80), trace);
    EXPECT_NE(home.imageColor(380, kTraceRow - 81), trace);
    home.painter->nextAmplitude();  // 5 mm/mV
    EXPECT_EQ(home.imageColor(380, kTraceRow - 20), trace);
    EXPECT_NE(home.imageColor(380, kTraceRow - 21), trace);
}

TEST_F(StripPainterTest, SecondSlotWithoutDataEndsTheTraces) {
    loadSlow();
    view().offsetA = 1200;  // slot 0 from 1200, then slot 1 from its start
    view().slotB = 1;
    view().offsetB = 260;
    home.window.slotClocks[1].hour = 25;
    home.painter->paintPane(*home.host.pane);
    EXPECT_EQ(home.imageColor(200, kTraceRow), home.host.colors.trace);
    EXPECT_NE(home.imageColor(400, kTraceRow), home.host.colors.trace);
}

TEST_F(StripPainterTest, BlocksPastTheEndShowOnlyTheGrid) {
    loadSlow(8000);
    EXPECT_NE(home.imageColor(300, kTraceRow), home.host.colors.trace);
    EXPECT_EQ(home.imageColor(200, 150), home.host.colors.grid);
    EXPECT_EQ(home.painter->selectedBeatPosition(), -1);
}

TEST_F(StripPainterTest, BandPaintCopiesExactlyTheBandColumns) {
    loadSlow();
    home.host.pane->fill(rgb(1, 2, 3));
    home.painter->paintStrip(*home.host.pane, RelabelMode::None, 0, 10, PaintOp::Caliper, -1);
    EXPECT_EQ(home.paneColor(10, kTraceRow), home.host.colors.trace);
    EXPECT_EQ(home.paneColor(11, kTraceRow), rgb(1, 2, 3));
}

TEST_F(StripPainterTest, RelabellingWritesTheWindowAndTheBeatList) {
    loadSlow();  // beat 5 (sample 1000) selected, normal
    LabelChanges changes;
    EXPECT_EQ(home.painter->relabelFromPane(RelabelMode::Ventricular, changes), ChangeKind::NormalityChanged);
    EXPECT_EQ(home.window.beatLabel[1000 - 500], 2);
    EXPECT_EQ(home.recording->beats()[4].label(), 2);
    EXPECT_EQ(view().selectedClass, 3);
    EXPECT_EQ(home.painter->relabelFromKeyboard(RelabelMode::Artefact, changes), ChangeKind::OtherChange);
    EXPECT_EQ(home.recording->beats()[4].label(), 3);
    EXPECT_EQ(home.painter->relabelFromKeyboard(RelabelMode::Artefact, changes), ChangeKind::None);
    EXPECT_EQ(changes.state, 1);
    EXPECT_EQ(changes.count, 1);
}

TEST_F(StripPainterTest, ABeatWithoutFormTakesTheBestMatchingForm) {
    loadSlow();
    home.painter->selectBeatNear(480);  // the beat at 1200 has no form (label 125, "L")
    ASSERT_EQ(home.painter->selectedBeatPosition(), StripTestHome::kNoFormBeatSample * 4);
    LabelChanges changes;
    home.painter->relabelFromPane(RelabelMode::Ventricular, changes);
    // The flat beat matches the flat template 1 best, not the spike of template 0.
    EXPECT_EQ(home.window.beatLabel[StripTestHome::kNoFormBeatSample - 500], 1 * 4 + 2);
    EXPECT_EQ(home.recording->beats()[8].label(), 1 * 4 + 2);
    EXPECT_EQ(changes.state, 2);
}

// Texts are checked on a canvas that logs them: "N" and "I" are 7 x 14 there.
TEST_F(StripPainterTest, BeatLettersRrIntervalsAndTheEpisodeNameAreWritten) {
    auto canvas = std::make_unique<test::RecordingCanvas>();
    const test::RecordingCanvas* log = canvas.get();
    home.host.image = std::move(canvas);
    loadSlow();
    // 1000 ms for 50 samples; 1215 for the late beat at 1160.
    for (const char* text : {"N", "I", "V", "L", "A", "1000", "1215", "VE Run", "CH1"})
        EXPECT_NE(log->find(text), nullptr) << text;
    const Point afterArtefact{485, TestStripHost::kHeight - 14};
    EXPECT_FALSE(std::any_of(log->texts.begin(), log->texts.end(), [&](const auto& t) {
        return t.at == afterArtefact;
    })) << "artefacts show no interval";
}

}  // namespace
}  // namespace lumen
