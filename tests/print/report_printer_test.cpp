// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report_printer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "print/report_fixture.h"
#include "print/scripted_print_host.h"

namespace lumen {
namespace {

namespace fs = std::filesystem;
using testing::commandOutput;
using testing::ReportFixture;
using testing::ScriptedPrintHost;

// The current directory is where the report looks for version.dat.
class InDirectory {
public:
    explicit InDirectory(const fs::path& directory) : previous_(fs::current_path()) { fs::current_path(directory); }
    ~InDirectory() { fs::current_path(previous_); }

private:
    fs::path previous_;
};

// pdftotext gives the words of a line, not the blanks between them.
std::string withoutBlanks(std::string text) {
    std::erase(text, ' ');
    return text;
}

struct PrintedPage {
    ReportFixture fixture;
    fs::path pdf = fs::path(fixture.home) / "report.pdf";
    ScriptedPrintHost host{true};
    ReportFacts facts = fixture.facts("Ventricular run");

    PrintResult print(PrintRequest request) {
        const PrinterList printers = PrinterList::toFile(pdf.string());
        return printReport(host, printers, request, fixture.sources(facts));
    }
    std::string text() const {
        return withoutBlanks(commandOutput("pdftotext -layout '" + pdf.string() + "' - 2>/dev/null"));
    }
};

std::string formatted(const char* format, auto... values) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

TEST(PrintReport, DecliningTheQuestionPrintsNothing) {
    PrintedPage page;
    page.host = ScriptedPrintHost(false);
    EXPECT_EQ(page.print(page.fixture.request), PrintResult::PrintedOrDeclined);
    ASSERT_EQ(page.host.questions.size(), 1u);
    EXPECT_EQ(page.host.questions[0].first, "Do you realy want to print?");
    EXPECT_EQ(page.host.questions[0].second, "Printing");
    EXPECT_TRUE(page.host.jobs.empty());
    EXPECT_TRUE(page.host.errors.empty());
    EXPECT_FALSE(fs::exists(page.pdf));
}

// An empty printer list is the viewer's failure box; a printer that cannot
// be opened is the same failure, and the cause names the file.
TEST(PrintReport, APrinterThatCannotBeOpenedGivesTheFailureBox) {
    ReportFixture fixture;
    const ReportFacts facts = fixture.facts("");
    ScriptedPrintHost host(true);
    EXPECT_EQ(printReport(host, PrinterList::toFile("/nonexistent/folder/report.pdf"), fixture.request,
                          fixture.sources(facts)),
              PrintResult::NoPrinter);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].first, "Cannot initialize printer.");
    EXPECT_EQ(host.errors[0].second, "Error");
    ASSERT_EQ(host.causes.size(), 1u);
    EXPECT_EQ(host.causes[0], "cannot write \"/nonexistent/folder/report.pdf\": No such file or directory");
}

TEST(PrintReport, OneVectorA4PageWithEmbeddedFontsAndTheReportTexts) {
    PrintedPage page;
    {
        std::ofstream(fs::path(page.fixture.home) / "version.dat") << "Lumen viewer 0.1 test build\r\n";
        InDirectory home(page.fixture.home);
        page.facts = page.fixture.facts("Ventricular run");
    }
    PrintRequest request = page.fixture.request;
    request.firstColumn = 300;  // 100 columns into the cut excerpt
    request.secondColumn = 350;
    request.channel1Millivolts = 1.0f;
    request.channel2Millivolts = -0.5f;
    ASSERT_EQ(page.print(request), PrintResult::PrintedOrDeclined);

    const std::string info = commandOutput("pdfinfo '" + page.pdf.string() + "' 2>&1");
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    EXPECT_NE(info.find("595.276 x 841.89 pts (A4)"), std::string::npos) << info;
    EXPECT_NE(info.find("Page rot:        0"), std::string::npos) << info;
    const std::string images = commandOutput("pdfimages -list '" + page.pdf.string() + "' 2>&1");
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 2) << "no images below the header:\n" << images;
    const std::string fonts = commandOutput("pdffonts '" + page.pdf.string() + "' 2>&1");
    EXPECT_NE(fonts.find("Liberation"), std::string::npos) << fonts;
    EXPECT_EQ(fonts.find(" no  "), std::string::npos) << "every font embedded:\n" << fonts;

    const std::string text = page.text();
    const ReportFacts& facts = page.facts;
    for (const std::string& wanted :
         {std::string("FULL DISCLOSURE"), std::string("ECG HOLTER REPORT"), std::string("Event view"),
          std::string("Lumen viewer 0.1 test build"), "Patient: " + facts.patientLine, facts.statistics,
          std::string("Actual / Total"), formatted("%d / %d", facts.eventOrdinal, facts.eventCount),
          std::string("Ampl.: 10 mm/mV"), std::string("Speed: 25 mm/s"), std::string("Ventricular run"),
          std::string("CH1"), std::string("CH2"), std::string("500 msec"), std::string("120 bpm"),
          std::string("Ch1: 1.00 mV"), std::string("Ch2: -0.50 mV"), std::string("VISO")}) {
        EXPECT_NE(text.find(withoutBlanks(wanted)), std::string::npos) << "missing \"" << wanted << "\" in\n" << text;
    }
    const int32_t t = facts.eventTimeOfDayTicks;
    const std::string clock = formatted("%02d:%02d:%02d", (t / 180000) % 24, (t / 3000) % 60, (t / 50) % 60);
    EXPECT_NE(text.find("Actualtime:" + clock), std::string::npos) << text;
    EXPECT_GT(facts.eventCount, 0);
    EXPECT_FALSE(facts.patientLine.empty());
}

TEST(PrintReport, PageIsTrueToScale) {
    PrintedPage page;
    ASSERT_EQ(page.print(page.fixture.request), PrintResult::PrintedOrDeclined);
    // "CH1" starts 1 mm right of the strip's left edge at 10 mm + 1 mm from
    // the paper's edge; 1 mm is 72 / 25.4 points.
    const std::string boxes = commandOutput("pdftotext -bbox '" + page.pdf.string() + "' - 2>/dev/null");
    const size_t word = boxes.find(">CH1<");
    ASSERT_NE(word, std::string::npos) << boxes.substr(0, 2000);
    const size_t tag = boxes.rfind("<word", word);
    double xMin = 0.0, yMin = 0.0;
    ASSERT_EQ(std::sscanf(boxes.c_str() + tag, "<word xMin=\"%lf\" yMin=\"%lf\"", &xMin, &yMin), 2);
    constexpr double pointsPerMm = 72.0 / 25.4;
    EXPECT_NEAR(xMin / pointsPerMm, 11.0, 0.3);
    EXPECT_NEAR(yMin / pointsPerMm, 190.0 + 13.5, 1.0);  // cell top 13.5 mm below the strip top
}

TEST(PrintReport, NoHeartRateAtTheEventPrintsDashes) {
    PrintedPage page;
    page.facts.heartRate = 0;
    page.print(page.fixture.request);
    EXPECT_NE(page.text().find("HR:---b/min"), std::string::npos);
    page.facts.heartRate = 72;
    page.print(page.fixture.request);
    EXPECT_NE(page.text().find("HR:72b/min"), std::string::npos);
}

}  // namespace
}  // namespace lumen
