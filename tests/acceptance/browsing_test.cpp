// SPDX-License-Identifier: GPL-3.0-or-later
// Browsing the nineteen rows of a 24-hour recording by keys, buttons, clicks
// and the automatic stepper; every position agrees with `holter events`.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "acceptance/day_home.h"
#include "events/timeline_layout.h"
#include "shell/recording_probe.h"

namespace lumen::testing {
namespace {

constexpr const char* kStartOnViso = "0 0 103 2 2\n";
const char* const kRowNames[] = {"VISO",  "VCPL",  "VRUN",   "VBIG",     "VTCH",     "SVISO",
                                 "SVCPL", "SVRUN", "SVTCH",  "PAUSE",    "HRmin",    "HRmax",
                                 "STmin", "STmax", "Manual", "Artefact", "Lead_off", "To_printer"};

// The ordinal of the dump's current event, from the status line "k/n ...".
int32_t ordinalOf(const std::string& dump) { return std::atoi(unquoted(dumpValue(dump, "status", "right")).c_str()); }

// The dump shows event `ordinal` (from 1) of the listed row: the cursor at
// its position, the status line with its number and recorded time of day.
void expectShows(const std::string& dump, const std::vector<HolterEvent>& events, int32_t ordinal, int64_t startTick) {
    ASSERT_GE(ordinal, 1);
    ASSERT_LE(ordinal, static_cast<int32_t>(events.size()));
    const HolterEvent& event = events[static_cast<size_t>(ordinal - 1)];
    EXPECT_EQ(catalogNumber(dump, "cursorPosition"), event.position);
    EXPECT_EQ(catalogNumber(dump, "cursorTime"), startTick + event.position);
    EXPECT_EQ(unquoted(dumpValue(dump, "status", "right")),
              statusRight(ordinal, static_cast<int32_t>(events.size()), event.timeOfDay));
}

TEST(AcceptanceBrowsing, EveryRowByKeysAndButtonsAgreesWithTheRecordingTool) {
    DayHome home;
    home.write("doef.mem", kStartOnViso);
    // Per row: arrive, then Right, next button, previous button, Left.
    const char* const moves[] = {"key Right", "button 1003", "button 1002", "key Left"};
    std::vector<std::string> steps;
    for (int r = 0; r < 19; ++r) {
        steps.emplace_back(r == 0 ? "" : (r % 2 == 0 ? "key PageDown" : "key Down"));
        for (const char* move : moves) steps.emplace_back(move);
    }
    const SteppedRun run = runSteps(home, steps);
    ASSERT_EQ(run.run.status, 255) << run.run.err;
    const int64_t startTick = dumpNumber(holterInfo(home), "startTick");
    for (int r = 0; r < 19; ++r) {
        SCOPED_TRACE("row " + std::to_string(r));
        const auto dumpAt = [&](int move) -> const std::string& {
            return run.dumps[static_cast<size_t>(r * 5 + move)];
        };
        EXPECT_EQ(catalogNumber(dumpAt(0), "selectedRow"), r);
        if (r == 18) {
            EXPECT_EQ(unquoted(dumpValue(dumpAt(0), "status", "right")).rfind("0/0 ", 0), 0u) << "the free time scale";
            continue;
        }
        const std::vector<HolterEvent> events = holterEvents(home, kRowNames[r]);
        EXPECT_EQ(rowCount(dumpAt(0), r), static_cast<int64_t>(events.size()));
        if (events.empty()) continue;  // the artefact row fills only by corrections
        const int32_t count = static_cast<int32_t>(events.size());
        const int32_t arrived = ordinalOf(dumpAt(0));
        const int32_t right = std::min(arrived + 1, count);
        const int32_t next = std::min(right + 1, count);
        const int32_t previous = std::max(next - 1, 1);
        const int32_t left = std::max(previous - 1, 1);
        const int32_t expected[] = {arrived, right, next, previous, left};
        for (int move = 0; move < 5; ++move) {
            SCOPED_TRACE("move " + std::to_string(move));
            expectShows(dumpAt(move), events, expected[move], startTick);
        }
    }
}

TEST(AcceptanceBrowsing, ClickOnAnEventInARowSelectsIt) {
    DayHome home;
    home.write("doef.mem", kStartOnViso);
    const std::vector<HolterEvent> pauses = holterEvents(home, "PAUSE");
    ASSERT_GE(pauses.size(), 3u);
    const SteppedRun first = runSteps(home, {""});
    const std::string& dump = first.dumps[0];
    const int64_t start = catalogNumber(dump, "cursorTime") - catalogNumber(dump, "cursorPosition");
    const int64_t windowStart = catalogNumber(dump, "windowStart");
    const int64_t windowLength = catalogNumber(dump, "windowEnd") - windowStart;
    TimelineLayout layout;
    layout.setArea(Rect{0, 0, 1014, 768 * 2 / 3 - 31 - 29});
    const Rect strip = layout.stripRect(9);
    for (const size_t pick : {size_t{2}, size_t{0}}) {
        SCOPED_TRACE(pick);
        const HolterEvent& pause = pauses[pick];
        const int64_t x = strip.left + (start + pause.position - windowStart) * strip.width() / windowLength;
        const int64_t y = (strip.top + strip.bottom) / 2;
        home.write("doef.mem", kStartOnViso);
        const SteppedRun clicked = runSteps(home, {"click " + std::to_string(x + 5) + " " + std::to_string(y + 31)});
        EXPECT_EQ(catalogNumber(clicked.dumps[0], "selectedRow"), 9);
        expectShows(clicked.dumps[0], pauses, static_cast<int32_t>(pick) + 1, start);
        EXPECT_EQ(catalogNumber(clicked.dumps[0], "zoomed"), 0);
    }
}

TEST(AcceptanceBrowsing, AutomaticStepperVisitsEveryEventOfTheRowInTurnAndStops) {
    DayHome home;
    home.write("doef.mem", "0 0 104 2 2\n");  // VCPL
    const std::vector<HolterEvent> couplets = holterEvents(home, "VCPL");
    ASSERT_GE(couplets.size(), 10u);
    std::vector<std::string> steps = {"", "button 1000"};
    for (size_t i = 1; i < couplets.size() + 1; ++i) steps.emplace_back("wait 100");
    const SteppedRun run = runSteps(home, steps);
    ASSERT_EQ(run.run.status, 255) << run.run.err;
    const int64_t startTick = dumpNumber(holterInfo(home), "startTick");
    expectShows(run.dumps[0], couplets, 1, startTick);
    EXPECT_EQ(dumpValue(run.dumps[1], "autoStep"), "true");
    for (size_t i = 2; i < couplets.size() + 1; ++i) {
        SCOPED_TRACE(i);
        expectShows(run.dumps[i], couplets, static_cast<int32_t>(i), startTick);
        if (i < couplets.size()) {
            EXPECT_EQ(dumpValue(run.dumps[i], "autoStep"), "true");
        }
    }
    expectShows(run.dumps.back(), couplets, static_cast<int32_t>(couplets.size()), startTick);
    EXPECT_EQ(dumpValue(run.dumps.back(), "autoStep"), "false") << "stops at the last event";
}

// The README's first tour, keys as it names them, on the demo recording it
// opens; every status it quotes is checked, and quoted there as checked.
TEST(AcceptanceBrowsing, TheReadmeTourEndsWhereTheReadmeSays) {
    struct Stop {
        const char* keys;
        const char* name;
        const char* ordinal;
        const char* time;
    };
    const Stop tour[] = {{"", "VTCH - Ventricular Tachycardia", "1/2", "11:39:09"},
                         {"key Right", "VTCH - Ventricular Tachycardia", "2/2", "15:27:07"},
                         {"key Right", "VTCH - Ventricular Tachycardia", "2/2", "15:27:07"},
                         {"key Down", "SVISO - Supraventricular Beat", "80/220", "15:30:03"},
                         {"key Down", "SVCPL - Supraventricular Couplet", "3/16", "15:37:41"}};
    const Stop nextStart{"", "SVCPL - Supraventricular Couplet", "1/16", "08:33:52"};
    std::ifstream file(LUMEN_README_PATH);
    std::stringstream readme;
    readme << file.rdbuf();
    DayHome home;
    std::vector<std::string> steps;
    for (const Stop& stop : tour) steps.emplace_back(stop.keys);
    const SteppedRun run = runSteps(home, steps);
    ASSERT_EQ(run.run.status, 255) << run.run.err;
    const SteppedRun again = runSteps(home, {nextStart.keys});
    std::vector<std::pair<const Stop*, std::string>> seen;
    for (size_t i = 0; i < std::size(tour); ++i) seen.emplace_back(&tour[i], run.dumps[i]);
    seen.emplace_back(&nextStart, again.dumps[0]);
    for (const auto& [stop, dump] : seen) {
        SCOPED_TRACE(std::string(stop->ordinal) + " " + stop->keys);
        EXPECT_EQ(unquoted(dumpValue(dump, "status", "left")), std::string("  ") + stop->name + " ");
        EXPECT_EQ(unquoted(dumpValue(dump, "status", "right")),
                  std::string(stop->ordinal) + "      Actual Time: " + stop->time + " ");
        for (const std::string& quoted : {std::string(stop->ordinal), std::string(stop->time)}) {
            EXPECT_NE(readme.str().find("`" + quoted + "`"), std::string::npos) << quoted << " not in the README";
        }
    }
}

}  // namespace
}  // namespace lumen::testing
