// SPDX-License-Identifier: GPL-3.0-or-later
// The event browser through the real viewer: row captions, the zoom, refused
// removals and the stepper's focus (stepping, clicks, corrections and the
// extremes searched again are acceptance scenarios).
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

std::vector<std::string> repeated(const std::string& step, int times) { return std::vector<std::string>(times, step); }

TEST(LumenBrowser, RowChangesShowEachRowsCaption) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    std::vector<std::string> steps = repeated("key Down", 9);  // PAUSE
    for (const auto& step : repeated("key PageDown", 9)) steps.push_back(step);  // HRmin .. the time scale
    const SteppedRun stepped = runSteps(home, steps);
    const std::string& pause = stepped.dumps[8];
    EXPECT_EQ(catalogNumber(pause, "selectedRow"), 9);
    EXPECT_EQ(status(pause, "left").find(" - "), std::string::npos) << "the pause row has no short name";

    const std::string& heartRate = stepped.dumps[9];
    ASSERT_EQ(catalogNumber(heartRate, "selectedRow"), 10);
    const std::string rate = unquoted(dumpValue(heartRate, "heartRate"));
    ASSERT_NE(rate, "---");
    char expected[100];
    std::snprintf(expected, sizeof expected, "  HRmin - Heart Rate Minimum : %3d b/min ", std::atoi(rate.c_str()));
    EXPECT_EQ(status(heartRate, "left"), expected);

    EXPECT_EQ(status(stepped.dumps.back(), "left").find(" - "), std::string::npos) << "nor has the time scale";
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
