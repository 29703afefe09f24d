// SPDX-License-Identifier: GPL-3.0-or-later
// The print button through the real viewer: paper and settings as the buttons
// show them, the failure box without a printer, the printer index kept.
#include <gtest/gtest.h>

#include "shell/recording_probe.h"

namespace lumen::testing {
namespace {

// No CUPS scheduler can be reached: the system's printer list is empty.
constexpr const char* kNoPrinters = "CUPS_SERVER=/nonexistent/cups.sock";

TEST(LumenPrint, LetterPaperAndUnknownStoredSettingsPrintWhatTheButtonsShow) {
    if (!installed("pdftotext pdfinfo")) GTEST_SKIP() << "poppler-utils are not installed";
    DemoHome home;
    home.write("doef.mem", "0 0 103 3 0\n");  // neither speed 3 nor amplitude 0 exists
    const std::string pdf = home.path("report.pdf");
    const SteppedRun run = runSteps(home, {"button 1007\nanswer yes"}, "", "--print-to " + pdf + " --paper letter");
    EXPECT_EQ(run.run.status, 255) << run.run.err;
    EXPECT_EQ(dumpNumber(run.dumps[0], "strip", "pixelsPerSample"), 2);
    EXPECT_EQ(dumpNumber(run.dumps[0], "strip", "amplitudeStep"), 2);
    EXPECT_EQ(dumpValue(run.dumps[0], "2012"), "22") << "the 25 mm/s face";
    EXPECT_EQ(dumpValue(run.dumps[0], "2011"), "19") << "the 10 mm/mV face";
    EXPECT_NE(commandOutput("pdfinfo " + pdf).find("612 x 792 pts (letter)"), std::string::npos);
    const std::string text = commandOutput("pdftotext -layout " + pdf + " -");
    EXPECT_NE(text.find("Ampl.: 10 mm/mV"), std::string::npos) << text;
    EXPECT_NE(text.find("Speed: 25 mm/s"), std::string::npos);
    EXPECT_EQ(home.text("doef.mem").substr(home.text("doef.mem").size() - 4), "2\n2\n");
}

TEST(LumenPrint, QuestionAndFailureAreMessageBoxesThatScriptsAnswer) {
    DemoHome home;
    const LumenRun unanswered = runLumen(home, "button 1007\n");
    EXPECT_EQ(unanswered.status, 3);
    EXPECT_NE(unanswered.err.find("unexpected message box"), std::string::npos) << unanswered.err;

    const LumenRun failed = runLumen(home, "button 1007\nanswer yes\n", "1024x768", kNoPrinters);
    EXPECT_EQ(failed.status, 3);
    EXPECT_NE(failed.err.find("\"Error\": Cannot initialize printer."), std::string::npos) << failed.err;
    EXPECT_NE(failed.err.find("lumen: printing failed: CUPS lists no printer"), std::string::npos) << failed.err;

    const std::string dump = home.path("dump.json");
    const LumenRun answered =
        runLumen(home, "button 1007\nanswer yes\nanswer ok\ndump " + dump + "\n", "1024x768", kNoPrinters);
    EXPECT_EQ(answered.status, 255);
    EXPECT_EQ(dumpValue(answered.dump, "messageBox"), "null");
}

TEST(LumenPrint, PrinterIndexOfTheCommandLineIsKept) {
    DemoHome home;
    const std::string pdf = home.path("report.pdf");
    const std::string dump = home.path("dump.json");
    // One printer only: index 2 falls back to the first, the PDF file.
    const LumenRun run =
        runLumen(home, "button 1007\nanswer yes\ndump " + dump + "\n", "1024x768", "", "--print-to " + pdf + " 2");
    EXPECT_EQ(run.status, 255) << run.err;
    EXPECT_EQ(dumpValue(run.dump, "printerIndex"), "2");
    EXPECT_TRUE(home.exists("report.pdf"));
}

// The study report goes through the same printers; it leaves the recording
// as it was, and a declined question prints nothing.
TEST(LumenPrint, ControlPPrintsTheStudyReportOfTheWholeRecording) {
    if (!installed("pdftotext pdfinfo")) GTEST_SKIP() << "poppler-utils are not installed";
    DemoHome home;
    const std::string before = home.text("recording/holter.mem");
    const std::string pdf = home.path("study.pdf");
    const LumenRun declined = runLumen(home, "key P ctrl\nanswer no\n", "1024x768", "", "--print-to " + pdf);
    EXPECT_EQ(declined.status, 255) << declined.err;
    EXPECT_FALSE(home.exists("study.pdf"));

    const LumenRun run = runLumen(home, "key P ctrl\nanswer yes\n", "1024x768", "", "--print-to " + pdf);
    EXPECT_EQ(run.status, 255) << run.err;
    const std::string info = commandOutput("pdfinfo " + pdf);
    const size_t pages = info.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << info;
    EXPECT_EQ(std::stoi(info.substr(pages + 6)), 5) << "summary, trends, hours and two pages of four strips";
    const std::string text = commandOutput("pdftotext -layout " + pdf + " -");
    for (const char* expected : {"HOLTER STUDY REPORT", "Trends", "Hourly table", "Ventricular Tachycardia"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    EXPECT_EQ(home.text("recording/holter.mem"), before);
}

}  // namespace
}  // namespace lumen::testing
