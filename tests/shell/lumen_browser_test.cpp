// The event browser through the real viewer: stepping, rows, zoom, clicks,
// removal of events and the extremes rows.
#include <gtest/gtest.h>

#include <cstdlib>

#include "events/timeline_layout.h"
#include "shell/recording_probe.h"

namespace lumen::testing {
namespace {

constexpr const char* kStartOnViso = "0 0 103 2 2\n";
constexpr const char* kStartOnHeartRateMinimum = "0 0 107 1 2\n";
constexpr int32_t kHalfStripSamples = 920 / 2 / 2;  // 1024 x 768 at 25 mm/s

std::string status(const std::string& dump, const std::string& side) {
    return unquoted(dumpValue(dump, "status", side));
}

int64_t catalogNumber(const std::string& dump, const std::string& key) { return dumpNumber(dump, "catalog", key); }

// The count of row `r` in the dump's catalog.
int64_t rowCount(const std::string& dump, int r) {
    std::string rows = dumpValue(dump, "catalog", "rows");
    for (int i = 0; i < r; ++i) rows = rows.substr(rows.find('}') + 1);
    return dumpNumber(rows, "count");
}

std::vector<std::string> repeated(const std::string& step, int times) { return std::vector<std::string>(times, step); }

TEST(LumenBrowser, StepsThroughTheRowByKeysAndButtonsAsTheToolListsIt) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    const std::vector<HolterEvent> viso = holterEvents(home, "VISO");
    ASSERT_EQ(viso.size(), 7u);
    std::vector<std::string> steps = {""};
    for (const auto& step : repeated("key Right", 7)) steps.push_back(step);
    for (const char* step : {"button 1002", "key Left", "button 1003"}) steps.emplace_back(step);
    const SteppedRun stepped = runSteps(home, steps);
    EXPECT_EQ(stepped.run.status, 255) << stepped.run.err;
    const int expectedOrdinal[] = {1, 2, 3, 4, 5, 6, 7, 7, 6, 5, 6};
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i) + " " + steps[i]);
        const std::string& dump = stepped.dumps[i];
        const HolterEvent& event = viso[static_cast<size_t>(expectedOrdinal[i] - 1)];
        EXPECT_EQ(status(dump, "right"), statusRight(expectedOrdinal[i], 7, event.timeOfDay));
        EXPECT_EQ(status(dump, "left"), "  VISO - Ventricular Beat ");
        EXPECT_EQ(catalogNumber(dump, "cursorPosition"), event.position);
        EXPECT_EQ(dumpNumber(dump, "strip", "windowStart"), event.position - kHalfStripSamples);
        EXPECT_EQ(dumpNumber(dump, "firstBlock"), (event.position - kHalfStripSamples) / 500);
        EXPECT_EQ(dumpNumber(dump, "strip", "channelMode"), 3);
    }
    // Only the buttons forget the first measuring line; the keys keep it.
    EXPECT_EQ(dumpNumber(stepped.dumps[7], "caliper", "firstColumn"), 0);
    EXPECT_EQ(dumpNumber(stepped.dumps[8], "caliper", "firstColumn"), -1);
}

TEST(LumenBrowser, RowChangesShowEachRowsCaption) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    std::vector<std::string> steps = {"key Down", "key PageDown", "key Up", "key PageUp"};
    for (const auto& step : repeated("key Down", 9)) steps.push_back(step);  // PAUSE, then HRmin
    for (const auto& step : repeated("key PageDown", 9)) steps.push_back(step);  // HRmin .. the time scale
    const SteppedRun stepped = runSteps(home, steps);
    const int expectedRow[] = {1, 2, 1, 0};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(catalogNumber(stepped.dumps[static_cast<size_t>(i)], "selectedRow"), expectedRow[i]);
    EXPECT_EQ(status(stepped.dumps[0], "left").rfind("  VCPL - ", 0), 0u) << status(stepped.dumps[0], "left");
    EXPECT_EQ(status(stepped.dumps[0], "right").rfind("1/1 ", 0), 0u);

    const std::string& pause = stepped.dumps[12];
    EXPECT_EQ(catalogNumber(pause, "selectedRow"), 9);
    EXPECT_EQ(status(pause, "left").find(" - "), std::string::npos) << "the pause row has no short name";

    const std::string& heartRate = stepped.dumps[13];
    ASSERT_EQ(catalogNumber(heartRate, "selectedRow"), 10);
    const std::string rate = unquoted(dumpValue(heartRate, "heartRate"));
    ASSERT_NE(rate, "---");
    char expected[100];
    std::snprintf(expected, sizeof expected, "  HRmin - Heart Rate Minimum : %3d b/min ", std::atoi(rate.c_str()));
    EXPECT_EQ(status(heartRate, "left"), expected);

    const std::string& timeScale = stepped.dumps.back();
    EXPECT_EQ(catalogNumber(timeScale, "selectedRow"), 18);
    EXPECT_EQ(status(timeScale, "right").rfind("0/0 ", 0), 0u) << status(timeScale, "right");
    EXPECT_EQ(status(timeScale, "left").find(" - "), std::string::npos);
}

TEST(LumenBrowser, RightClickAnywhereInThePaneTogglesTheZoom) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    const SteppedRun stepped = runSteps(home, {"rclick 500 200", "rclick 100 500", "rclick 300 60"});
    EXPECT_EQ(catalogNumber(stepped.dumps[0], "zoomed"), 1);
    EXPECT_EQ(catalogNumber(stepped.dumps[0], "windowEnd") - catalogNumber(stepped.dumps[0], "windowStart"),
              kZoomedWindowTicks);
    EXPECT_EQ(catalogNumber(stepped.dumps[1], "zoomed"), 0) << "a click on the status line toggles too";
    EXPECT_EQ(catalogNumber(stepped.dumps[2], "zoomed"), 1);
}

TEST(LumenBrowser, ClickIntoAZoomedRowSelectsTheEventUnderThePointer) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    const SteppedRun zoomed = runSteps(home, {"rclick 500 200"});
    const std::string& dump = zoomed.dumps[0];
    const int64_t start = catalogNumber(dump, "cursorTime") - catalogNumber(dump, "cursorPosition");
    const int64_t windowStart = catalogNumber(dump, "windowStart");
    const int64_t windowLength = catalogNumber(dump, "windowEnd") - windowStart;
    TimelineLayout layout;
    const int32_t browserWidth = 1014;
    const int32_t rowsHeight = 768 * 2 / 3 - 31 - 29;
    layout.setArea(Rect{0, 0, browserWidth, rowsHeight});
    const Rect strip = layout.stripRect(5);  // SVISO
    const std::vector<HolterEvent> sviso = holterEvents(home, "SVISO");
    ASSERT_GE(sviso.size(), 4u);
    for (const size_t pick : {size_t{1}, size_t{3}}) {
        const HolterEvent& event = sviso[pick];
        const int64_t x = strip.left + (start + event.position - windowStart) * strip.width() / windowLength;
        const int64_t y = (strip.top + strip.bottom) / 2;
        home.write("doef.mem", kStartOnViso);
        const SteppedRun clicked = runSteps(home, {"rclick 500 200\nclick " + std::to_string(x + 5) + " " +
                                                   std::to_string(y + 31)});
        SCOPED_TRACE(pick);
        EXPECT_EQ(catalogNumber(clicked.dumps[0], "selectedRow"), 5);
        EXPECT_EQ(catalogNumber(clicked.dumps[0], "cursorPosition"), event.position);
        EXPECT_EQ(status(clicked.dumps[0], "right"),
                  statusRight(static_cast<int32_t>(pick) + 1, static_cast<int32_t>(sviso.size()), event.timeOfDay));
    }
}

TEST(LumenBrowser, RemovedEventIsAnArtefactAndItsRecordIsRewrittenAtOnce) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    const std::vector<HolterEvent> viso = holterEvents(home, "VISO");
    const std::vector<BeatWord> before = beatsInFile(home);
    // The print question that nobody answers ends the run before the shutdown.
    const SteppedRun stepped = runSteps(home, {"", "key Delete", "button 1007"});
    EXPECT_EQ(stepped.run.status, 3);
    const std::string& removed = stepped.dumps[1];
    EXPECT_EQ(rowCount(removed, 0), 6);
    EXPECT_GE(rowCount(removed, 15), 1) << "the artefact row fills";
    EXPECT_EQ(dumpNumber(removed, "labelChangeState"), 1);
    EXPECT_EQ(status(removed, "right"), statusRight(1, 6, viso[1].timeOfDay));
    EXPECT_NE(dumpValue(removed, "titlePane", "right"), dumpValue(stepped.dumps[0], "titlePane", "right"));
    EXPECT_EQ(episodeCodeInFile(home, viso[0].episode), 59);
    EXPECT_NE(episodeCodeInFile(home, viso[1].episode), 59);
    const std::vector<BeatWord> during = beatsInFile(home);
    ASSERT_EQ(during.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) ASSERT_EQ(during[i].raw, before[i].raw) << "beats wait for the exit";

    DemoHome saved;
    saved.write("doef.mem", kStartOnViso);
    const SteppedRun exited = runSteps(saved, {"key Delete"});
    EXPECT_EQ(exited.run.status, 255);
    const std::vector<BeatWord> after = beatsInFile(saved);
    ASSERT_EQ(after.size(), before.size());
    int64_t artefacts = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (after[i].raw == before[i].raw) continue;
        EXPECT_EQ(after[i].beatClass(), BeatClass::Artefact);
        EXPECT_EQ(after[i].positionQuarterTicks(), before[i].positionQuarterTicks());
        EXPECT_GE(after[i].sample(), viso[0].position);
        ++artefacts;
    }
    EXPECT_GE(artefacts, 1);
    EXPECT_EQ(artefacts, rowCount(exited.dumps[0], 15)) << "each artefact beat is one event of the row";
}

TEST(LumenBrowser, RemovalIsRefusedOnManualAndEmptiesTheLastEventOfARow) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    std::vector<std::string> steps = repeated("key Down", 14);
    steps.emplace_back("key Delete");
    steps.emplace_back("button 1001");
    const SteppedRun manual = runSteps(home, steps);
    ASSERT_EQ(catalogNumber(manual.dumps[13], "selectedRow"), 14);
    EXPECT_EQ(rowCount(manual.dumps[15], 14), 2);
    EXPECT_EQ(dumpNumber(manual.dumps[15], "labelChangeState"), 0);
    EXPECT_EQ(dumpValue(manual.dumps[15], "1001"), "1") << "the removal button shows it cannot";

    const HolterEvent couplet = holterEvents(home, "VCPL").at(0);
    home.write("doef.mem", kStartOnViso);
    const SteppedRun last = runSteps(home, {"key Down", "button 1001"});
    EXPECT_EQ(rowCount(last.dumps[1], 1), 0);
    EXPECT_EQ(status(last.dumps[1], "right"), statusRight(0, 0, couplet.timeOfDay));
    EXPECT_EQ(status(last.dumps[1], "left"), "  VCPL - Ventricular Couplet ");
}

TEST(LumenBrowser, ExtremesAreExcludedAndSearchedAgainAfterKeyboardRelabels) {
    DemoHome home;
    home.write("doef.mem", kStartOnHeartRateMinimum);
    const HolterEvent minimum = holterEvents(home, "HRmin").at(0);
    const SteppedRun excluded = runSteps(home, {"", "key Delete"});
    EXPECT_EQ(catalogNumber(excluded.dumps[0], "cursorPosition"), minimum.position);
    EXPECT_EQ(rowCount(excluded.dumps[1], 10), 1) << "the next lowest rate takes its place";
    EXPECT_NE(catalogNumber(excluded.dumps[1], "cursorPosition"), minimum.position);
    EXPECT_GT(std::abs(catalogNumber(excluded.dumps[1], "cursorPosition") - minimum.position), 1500)
        << "the minute around the excluded extreme is left out";
    EXPECT_EQ(dumpNumber(excluded.dumps[1], "labelChangeState"), 1);

    home.write("doef.mem", kStartOnViso);
    std::vector<std::string> steps = {"key N"};
    for (const auto& step : repeated("key Down", 10)) steps.push_back(step);
    const SteppedRun relabelled = runSteps(home, steps);
    EXPECT_EQ(catalogNumber(relabelled.dumps[0], "extremesValid"), 0);
    EXPECT_EQ(catalogNumber(relabelled.dumps[9], "extremesValid"), 0) << "rows without extremes do not search";
    EXPECT_EQ(catalogNumber(relabelled.dumps[10], "selectedRow"), 10);
    EXPECT_EQ(catalogNumber(relabelled.dumps[10], "extremesValid"), 1);
    EXPECT_EQ(dumpNumber(relabelled.dumps[10], "labelChangeState"), 1);
}

TEST(LumenBrowser, StExtremeShowsItsVoltageAndChannelAndCanBeExcluded) {
    DemoHome home;
    home.write("doef.mem", "0 0 250 1 2\n");  // STmin
    const HolterEvent minimum = holterEvents(home, "STmin").at(0);
    const SteppedRun run = runSteps(home, {"", "key Delete"});
    ASSERT_EQ(catalogNumber(run.dumps[0], "selectedRow"), 12);
    EXPECT_EQ(catalogNumber(run.dumps[0], "cursorPosition"), minimum.position);
    const std::string caption = status(run.dumps[0], "left");
    double millivolts = 0;
    int channel = 0;
    ASSERT_EQ(std::sscanf(caption.c_str(), "  STmin - ST minimum : %lf mV found on channel %d", &millivolts, &channel), 2)
        << caption;
    EXPECT_LT(millivolts, 0.0);
    EXPECT_TRUE(channel == 1 || channel == 2);
    EXPECT_EQ(rowCount(run.dumps[1], 12), 1);
    EXPECT_NE(catalogNumber(run.dumps[1], "cursorPosition"), minimum.position);
}

TEST(LumenBrowser, StoppingTheStepperLeavesTheKeysWithTheMainWindow) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    // The stop hands the focus to the browser, whose command handling gives
    // it straight back to the main window: Up is still the row above.
    const SteppedRun run = runSteps(home, {"key Down\nbutton 1000\nbutton 1000", "key Up"});
    EXPECT_EQ(catalogNumber(run.dumps[0], "selectedRow"), 1);
    EXPECT_EQ(dumpValue(run.dumps[0], "autoStep"), "false");
    EXPECT_EQ(catalogNumber(run.dumps[1], "selectedRow"), 0);
}

}  // namespace
}  // namespace lumen::testing
