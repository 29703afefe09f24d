// The event browser through the real viewer: row captions, refused removals
// and the extremes rows (stepping, clicks and removals are acceptance scenarios).
#include <gtest/gtest.h>

#include <cstdlib>

#include "events/timeline_layout.h"
#include "shell/recording_probe.h"

namespace lumen::testing {
namespace {

constexpr const char* kStartOnViso = "0 0 103 2 2\n";
constexpr const char* kStartOnHeartRateMinimum = "0 0 107 1 2\n";

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
