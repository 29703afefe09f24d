// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the ECG: both channels at every speed and amplitude, with beat
// labels, RR intervals and episode colours, on the 24-hour recording.
#include <gtest/gtest.h>

#include "acceptance/screen_image.h"
#include "shell/recording_probe.h"

namespace lumen::testing {
namespace {

constexpr const char* kStartOnViso = "0 0 103 2 2\n";

Region upperChannel() {
    return Region{kStripRegion.left, kStripRegion.top, kStripRegion.right, kStripRegion.top + 123};
}
Region lowerChannel() {
    return Region{kStripRegion.left, kStripRegion.top + 123, kStripRegion.right, kStripRegion.bottom};
}

// Each step ends with a screenshot as well as the dump.
SteppedRun runWithShots(const DayHome& home, std::vector<std::string> steps) {
    for (size_t i = 0; i < steps.size(); ++i) steps[i] += "\nshot " + home.path("shot" + std::to_string(i) + ".png");
    return runSteps(home, steps);
}

TEST(AcceptanceReading, BothChannelsAtEverySpeedAndAmplitude) {
    DayHome home;
    home.write("doef.mem", kStartOnViso);
    const SteppedRun run = runWithShots(
        home, {"", "button 2012", "button 2012", "button 2012", "button 2011", "button 2011", "button 2011"});
    ASSERT_EQ(run.run.status, 255) << run.run.err;
    const int speeds[] = {2, 4, 1, 2, 2, 2, 2};
    const int amplitudes[] = {2, 2, 2, 2, 3, 1, 2};
    const int64_t cursor = dumpNumber(run.dumps[0], "catalog", "cursorPosition");
    std::vector<ScreenImage> shots;
    for (size_t i = 0; i < run.dumps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        const std::string& dump = run.dumps[i];
        EXPECT_EQ(dumpNumber(dump, "strip", "pixelsPerSample"), speeds[i]);
        EXPECT_EQ(dumpNumber(dump, "strip", "amplitudeStep"), amplitudes[i]);
        EXPECT_EQ(dumpNumber(dump, "strip", "windowStart"), cursor - 920 / speeds[i] / 2) << "centred on the event";
        EXPECT_EQ(dumpNumber(dump, "catalog", "cursorPosition"), cursor);
        shots.emplace_back(home.path("shot" + std::to_string(i) + ".png"));
        const ScreenImage& shot = shots.back();
        ASSERT_TRUE(shot.loaded());
        EXPECT_GT(shot.nonBackground(kStripRegion), 20000) << "grid and traces";
        EXPECT_GE(shot.distinctColors(kStripRegion), 5);
        EXPECT_GT(shot.count(upperChannel(), kTraceColor), 300) << "channel 1 is drawn";
        EXPECT_GT(shot.count(lowerChannel(), kTraceColor), 300) << "channel 2 is drawn";
        EXPECT_GT(shot.count(kStripRegion, kTextColor), 100) << "beat letters and RR intervals";
        EXPECT_GT(shot.count(kStripRegion, kVentricularColor), 20) << "the ventricular beat in its episode colour";
    }
    // A quarter of the speed shows four times the beats, each with its letter and interval.
    EXPECT_GT(shots[2].count(kStripRegion, kTextColor), shots[1].count(kStripRegion, kTextColor) * 3 / 2);
    // 20 mm/mV draws the same beats taller than 10, and 10 taller than 5.
    EXPECT_GT(shots[4].rowsWith(upperChannel(), kTraceColor), shots[3].rowsWith(upperChannel(), kTraceColor));
    EXPECT_GT(shots[3].rowsWith(upperChannel(), kTraceColor), shots[5].rowsWith(upperChannel(), kTraceColor));
    EXPECT_EQ(home.text("doef.mem").substr(home.text("doef.mem").size() - 4), "2\n2\n");
}

TEST(AcceptanceReading, SupraventricularEpisodeIsNamedInItsOwnColourWithItsBeats) {
    DayHome home;
    home.write("doef.mem", "0 0 115 2 2\n");  // SVTCH
    const SteppedRun run = runWithShots(home, {"", "key Right"});
    ASSERT_EQ(run.run.status, 255) << run.run.err;
    const std::vector<HolterEvent> tachycardias = holterEvents(home, "SVTCH");
    ASSERT_EQ(tachycardias.size(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dumpNumber(run.dumps[i], "catalog", "selectedRow"), 8);
        EXPECT_EQ(dumpNumber(run.dumps[i], "catalog", "cursorPosition"), tachycardias[i].position);
        EXPECT_EQ(dumpNumber(run.dumps[i], "strip", "selectedClass"), 2) << "a supraventricular beat is selected";
        const ScreenImage shot(home.path("shot" + std::to_string(i) + ".png"));
        EXPECT_GT(shot.count(kStripRegion, kSupraventricularColor), 200);
        EXPECT_GT(shot.count(kStripRegion, kTextColor), 200);
    }
}

}  // namespace
}  // namespace lumen::testing
