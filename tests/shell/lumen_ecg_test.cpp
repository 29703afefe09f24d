// SPDX-License-Identifier: GPL-3.0-or-later
// The ECG pane through the real viewer: the caliper's edges, beat stepping
// and stopping the automatic stepper.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include "shell/recording_probe.h"

namespace lumen::testing {
namespace {

constexpr const char* kStartOnViso = "0 0 103 2 2\n";
constexpr int kBrowserHeight = 768 * 2 / 3 - 31;
constexpr int kEcgTop = 21 + kBrowserHeight + 15;

int64_t strip(const std::string& dump, const std::string& key) { return dumpNumber(dump, "strip", key); }
int64_t caliper(const std::string& dump, const std::string& key) { return dumpNumber(dump, "caliper", key); }

// The plain drag is an acceptance scenario; these are its edges.
TEST(LumenEcg, CaliperKeepsDraggingAfterReleaseAndRestartsAfterACommand) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    const auto at = [](const char* verb, int column) {
        return std::string(verb) + " " + std::to_string(column + 5) + " " + std::to_string(kEcgTop + 80);
    };
    const SteppedRun run = runSteps(home, {at("press", 300) + "\n" + at("move", 350),
                                           at("move", 400) + "\n" + at("release", 400) + "\n" + at("move", 380),
                                           at("press", 401) + "\n" + at("release", 401),
                                           "button 2011\n" + at("press", 402) + "\n" + at("release", 402),
                                           at("press", 950) + "\n" + at("release", 950)});
    EXPECT_EQ(caliper(run.dumps[1], "secondColumn"), 380) << "a move after the release still drags";
    EXPECT_EQ(caliper(run.dumps[2], "firstColumn"), 300) << "a press near the release moves the second line";
    EXPECT_EQ(caliper(run.dumps[2], "secondColumn"), 401);
    EXPECT_EQ(caliper(run.dumps[3], "firstColumn"), 402) << "after a command a press begins anew";
    EXPECT_EQ(caliper(run.dumps[4], "firstColumn"), 402) << "no measuring beyond the strip";
}

TEST(LumenEcg, BeatSteppingStopsAtTheFirstBeatAndTheRightButtonPicksTheNearest) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    std::vector<std::string> steps(12, "button 2013");
    steps.emplace_back("button 2014");
    steps.emplace_back("rclick 805 " + std::to_string(kEcgTop + 80));
    const SteppedRun run = runSteps(home, steps);
    EXPECT_EQ(strip(run.dumps[11], "selectedBeat"), 1);
    EXPECT_EQ(strip(run.dumps[12], "selectedBeat"), 2);
    const int64_t first = strip(run.dumps[11], "selectedBeatPosition");
    const int64_t second = strip(run.dumps[12], "selectedBeatPosition");
    EXPECT_GT(second, first);
    const int64_t picked = strip(run.dumps[13], "selectedBeatPosition");
    const int64_t windowStart = strip(run.dumps[13], "windowStart");
    EXPECT_GT(strip(run.dumps[13], "selectedBeat"), 2);
    EXPECT_NEAR(static_cast<double>(picked / 4 - windowStart), 400.0, 40.0) << "column 800 at 2 pixels a sample";
}

// Each class key gives the selected ventricular beat its class; S has a
// key only, and the statistics line counts the beat under its new class.
TEST(LumenEcg, ClassKeysRelabelTheSelectedBeat) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    const SteppedRun run = runSteps(home, {"", "key S", "key N", "key A", "key V"});
    ASSERT_EQ(strip(run.dumps[0], "selectedClass"), 3);
    const int64_t beat = strip(run.dumps[0], "selectedBeatPosition");
    const int64_t expected[] = {3, 2, 1, 4, 3};
    for (size_t step = 1; step < 5; ++step) {
        EXPECT_EQ(strip(run.dumps[step], "selectedBeatPosition"), beat) << step;
        EXPECT_EQ(strip(run.dumps[step], "selectedClass"), expected[step]) << step;
    }
    // NORMAL / VES / SVES counts of the title pane's statistics line.
    const auto counts = [](const std::string& dump) {
        const std::string line = unquoted(dumpValue(dump, "titlePane", "right"));
        std::array<long, 3> c{};
        double percent = 0;
        const int read = std::sscanf(line.c_str(), "NORMAL / VES / SVES beats: %ld (%lf%%) / %ld (%lf%%) / %ld", &c[0],
                                     &percent, &c[1], &percent, &c[2]);
        EXPECT_EQ(read, 5) << line;
        return c;
    };
    const auto before = counts(run.dumps[0]);
    const auto after = counts(run.dumps[1]);
    EXPECT_EQ(after[1], before[1] - 1);
    EXPECT_EQ(after[2], before[2] + 1);
    EXPECT_EQ(catalogNumber(run.dumps[1], "extremesValid"), 0);
}

TEST(LumenEcg, WhileAutoStepRunsAPressAnywhereStopsItAndDoesNothingElse) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    const std::vector<HolterEvent> viso = holterEvents(home, "VISO");
    struct Place {
        const char* name;
        int x;
        int y;
    };
    const Place places[] = {{"status line", 105, 31 + kBrowserHeight - 10}, {"strip", 305, kEcgTop + 80}};
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        home.write("doef.mem", kStartOnViso);
        const std::string click = "click " + std::to_string(place.x) + " " + std::to_string(place.y);
        const SteppedRun run = runSteps(home, {"button 1000\nwait 250\n" + click, "wait 500"});
        EXPECT_EQ(dumpValue(run.dumps[0], "autoStep"), "false");
        EXPECT_EQ(dumpValue(run.dumps[1], "autoStep"), "false");
        EXPECT_EQ(dumpNumber(run.dumps[1], "catalog", "cursorTime"), dumpNumber(run.dumps[0], "catalog", "cursorTime"))
            << "stepping went on";
        EXPECT_EQ(caliper(run.dumps[0], "firstColumn"), -1) << "the press began a measurement";
        if (&place == &places[0]) {
            EXPECT_EQ(unquoted(dumpValue(run.dumps[1], "status", "right")), statusRight(3, 7, viso[2].timeOfDay));
        }
    }
}

}  // namespace
}  // namespace lumen::testing
