// The print button through the real viewer: the question, the report page
// written to a PDF, and the failure box without a printer.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "shell/recording_probe.h"

namespace lumen::testing {
namespace {

constexpr const char* kStartOnViso = "0 0 103 2 2\n";
// No CUPS scheduler can be reached: the system's printer list is empty.
constexpr const char* kNoPrinters = "CUPS_SERVER=/nonexistent/cups.sock";

bool havePoppler() { return std::system("command -v pdftotext >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1") == 0; }

std::string output(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    char buffer[4096];
    size_t read = 0;
    while (pipe && (read = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) text.append(buffer, read);
    return text;
}

TEST(LumenPrint, AnsweredQuestionPrintsOneA4PageOfTheSelectedEvent) {
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    const std::string pdf = home.path("report.pdf");
    const SteppedRun run = runSteps(home, {"key Right", "button 1007\nanswer yes"}, "", "--print-to " + pdf);
    EXPECT_EQ(run.run.status, 255) << run.run.err;
    const std::string info = output("pdfinfo " + pdf);
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    const std::string text = output("pdftotext -layout " + pdf + " -");
    EXPECT_NE(text.find("FULL DISCLOSURE"), std::string::npos);
    EXPECT_NE(text.find("ECG HOLTER REPORT"), std::string::npos);
    EXPECT_NE(text.find("DEMO, Patient"), std::string::npos);
    EXPECT_NE(text.find("NORMAL / VES / SVES beats: 4089"), std::string::npos);
    EXPECT_NE(text.find("2/7"), std::string::npos) << "the event's number in its row";
    EXPECT_NE(text.find("Ventricular Beat"), std::string::npos) << "the status line's caption";
    const HolterEvent second = holterEvents(home, "VISO").at(1);
    const std::string time = statusRight(2, 7, second.timeOfDay).substr(std::string("2/7      Actual Time: ").size(), 8);
    EXPECT_NE(text.find("Actual time: " + time), std::string::npos) << time;
    EXPECT_NE(text.find("Speed: 25 mm/s"), std::string::npos);
    EXPECT_EQ(dumpValue(run.dumps[1], "messageBox"), "null");
}

TEST(LumenPrint, LetterPaperAndUnknownStoredSettingsPrintWhatTheButtonsShow) {
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    DemoHome home;
    home.write("doef.mem", "0 0 103 3 0\n");  // neither speed 3 nor amplitude 0 exists
    const std::string pdf = home.path("report.pdf");
    const SteppedRun run = runSteps(home, {"button 1007\nanswer yes"}, "", "--print-to " + pdf + " --paper letter");
    EXPECT_EQ(run.run.status, 255) << run.run.err;
    EXPECT_EQ(dumpNumber(run.dumps[0], "strip", "pixelsPerSample"), 2);
    EXPECT_EQ(dumpNumber(run.dumps[0], "strip", "amplitudeStep"), 2);
    EXPECT_EQ(dumpValue(run.dumps[0], "2012"), "22") << "the 25 mm/s face";
    EXPECT_EQ(dumpValue(run.dumps[0], "2011"), "19") << "the 10 mm/mV face";
    EXPECT_NE(output("pdfinfo " + pdf).find("612 x 792 pts (letter)"), std::string::npos);
    const std::string text = output("pdftotext -layout " + pdf + " -");
    EXPECT_NE(text.find("Ampl.: 10 mm/mV"), std::string::npos) << text;
    EXPECT_NE(text.find("Speed: 25 mm/s"), std::string::npos);
    EXPECT_EQ(home.text("doef.mem").substr(home.text("doef.mem").size() - 4), "2\n2\n");
}

TEST(LumenPrint, DeclinedQuestionPrintsNothing) {
    DemoHome home;
    const std::string pdf = home.path("report.pdf");
    const SteppedRun run = runSteps(home, {"button 1007\nanswer no"}, "", "--print-to " + pdf);
    EXPECT_EQ(run.run.status, 255);
    EXPECT_FALSE(home.exists("report.pdf"));
    EXPECT_EQ(dumpNumber(run.dumps[0], "labelChangeState"), 0);
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
    const LumenRun run = runLumen(home, "button 1007\nanswer yes\ndump " + dump + "\n", "1024x768", "",
                                  "--print-to " + pdf + " 2");
    EXPECT_EQ(run.status, 255) << run.err;
    EXPECT_EQ(dumpValue(run.dump, "printerIndex"), "2");
    EXPECT_TRUE(home.exists("report.pdf"));
}

}  // namespace
}  // namespace lumen::testing
