// SPDX-License-Identifier: GPL-3.0-or-later
// Measuring on the strip and printing the one-page report, on the 24-hour
// recording.
#include <gtest/gtest.h>


#include "acceptance/screen_image.h"
#include "shell/recording_probe.h"

namespace lumen::testing {
namespace {

std::string at(const char* verb, int column) {
    return std::string(verb) + " " + std::to_string(kStripRegion.left + column) + " " + std::to_string(kEcgTop + 80);
}

TEST(AcceptanceMeasuring, CaliperDragShowsItsLinesIntervalRateAndVoltages) {
    DayHome home;
    home.write("doef.mem", "0 0 103 2 2\n");
    const std::string before = home.path("before.png");
    const std::string after = home.path("after.png");
    const SteppedRun run = runSteps(home, {"shot " + before, at("press", 300) + "\n" + at("move", 360),
                                           at("move", 400) + "\n" + at("release", 400) + "\nshot " + after});
    ASSERT_EQ(run.run.status, 255) << run.run.err;
    EXPECT_EQ(dumpNumber(run.dumps[1], "caliper", "firstColumn"), 300);
    EXPECT_EQ(dumpNumber(run.dumps[1], "caliper", "secondColumn"), 360) << "the second line follows the pointer";
    EXPECT_EQ(dumpNumber(run.dumps[2], "caliper", "firstColumn"), 300);
    EXPECT_EQ(dumpNumber(run.dumps[2], "caliper", "secondColumn"), 400);

    const ScreenImage empty(before);
    const ScreenImage measured(after);
    ASSERT_TRUE(empty.loaded() && measured.loaded());
    EXPECT_EQ(empty.count(kStripRegion, kCaliperColor), 0);
    const auto line = [](int column) {
        return Region{kStripRegion.left + column, kStripRegion.top, kStripRegion.left + column + 1,
                      kStripRegion.bottom};
    };
    EXPECT_GT(measured.count(line(300), kCaliperColor), 150) << "the first line spans the strip";
    EXPECT_GT(measured.count(line(400), kCaliperColor), 150);
    EXPECT_EQ(measured.count(line(360), kCaliperColor), 0) << "the line under the moving pointer was taken back";
    // Milliseconds and beats per minute at the top, the two voltages at the bottom, right of the second line.
    const Region figures{kStripRegion.left + 405, kStripRegion.top, kStripRegion.left + 560, kStripRegion.top + 45};
    const Region voltages{kStripRegion.left + 405, kStripRegion.bottom - 70, kStripRegion.left + 560,
                          kStripRegion.bottom};
    EXPECT_GT(measured.count(figures, kTextColor), empty.count(figures, kTextColor) + 100);
    EXPECT_GT(measured.count(voltages, kTextColor), empty.count(voltages, kTextColor) + 100);
}

TEST(AcceptancePrinting, ReportOfTheSelectedEventAtTheChosenSpeed) {
    if (!installed("pdftotext")) GTEST_SKIP() << "poppler-utils are not installed";
    DayHome home;  // opens on the first ventricular tachycardia
    const std::string pdf = home.path("report.pdf");
    const SteppedRun run =
        runSteps(home, {"key Right\nbutton 2012", "button 1007\nanswer yes"}, "", "--print-to " + pdf);
    ASSERT_EQ(run.run.status, 255) << run.run.err;
    EXPECT_EQ(dumpNumber(run.dumps[0], "catalog", "selectedRow"), 4);
    EXPECT_EQ(dumpValue(run.dumps[1], "messageBox"), "null");
    const std::string text = commandOutput("pdftotext -layout " + pdf + " -");
    const std::string info = holterInfo(home);
    const std::vector<HolterEvent> tachycardias = holterEvents(home, "VTCH");
    ASSERT_EQ(tachycardias.size(), 2u);
    const std::string right = statusRight(2, 2, tachycardias[1].timeOfDay);
    EXPECT_NE(text.find("ECG HOLTER REPORT"), std::string::npos) << text;
    EXPECT_NE(text.find("Actual time: " + right.substr(right.size() - 9, 8)), std::string::npos) << right;
    EXPECT_NE(text.find("2/2"), std::string::npos);
    EXPECT_NE(text.find("Speed: 50 mm/s"), std::string::npos);
    const std::string patient = unquoted(dumpValue(info, "patient"));
    EXPECT_NE(text.find(patient.substr(0, 12)), std::string::npos) << patient;
    const std::string statistics = unquoted(dumpValue(info, "statistics"));
    ASSERT_FALSE(statistics.empty());
    EXPECT_NE(text.find(statistics), std::string::npos) << statistics;
}

}  // namespace
}  // namespace lumen::testing
