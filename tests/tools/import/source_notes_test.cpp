// SPDX-License-Identifier: GPL-3.0-or-later
// What a source says besides its signal and beats: the texts of its event
// annotations, its start date and its true length survive the import (also
// when the analysis finds the beats) and go out again with the export; the
// patient's name keeps its letters in the home's code page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "assembly/recording_sidecar.h"
#include "import/edf/edf_export.h"
#include "import/edf/edf_record.h"
#include "store/recording.h"
#include "store/section_id.h"
#include "support/temp_home.h"
#include "tools/import/import_run.h"

namespace lumen {
namespace {

constexpr int32_t kSourceTicks = 3050;  // 61 s: no whole number of 10-second blocks
constexpr int32_t kBeatTicks = 40;
constexpr CalendarDate kDate{2023, 11, 5};
const MarkerText kDiary{123, "Diary: chest pain"};
const MarkerText kButton{456,
                         "Taste gedr\xc3\xbc"
                         "ckt"};

// An EDF+ file without beat annotations: the analysis finds the beats.
std::string writeSource(const testing::TempHome& dir) {
    ExportContent c;
    c.channel1.assign(kSourceTicks, kBaselineSample);
    for (int32_t t = kBeatTicks / 2; t < kSourceTicks; t += kBeatTicks) c.channel1[static_cast<size_t>(t)] += 60;
    c.channel2 = c.channel1;
    c.startSecondOfDay = 9 * 3600;
    c.startDate = kDate;
    for (const MarkerText& m : {kDiary, kButton}) c.events.push_back({m.tenths, m.tenths, m.text});
    const std::string path = dir.path("source.edf");
    EXPECT_EQ(EdfExport::write(path, c), "");
    return path;
}

std::string importedHome(const testing::TempHome& dir, const std::string& options = "") {
    const std::string home = dir.path("home");
    const ToolRun run = runHolter("import " + writeSource(dir) + " " + home + " " + options);
    EXPECT_EQ(run.status, 0) << run.out;
    return home;
}

std::string recordLine(const std::string& header) {
    std::ifstream in(header);
    std::string line;
    std::getline(in, line);
    return line;
}

TEST(SourceNotes, MarkerTextsAndTheDateSurviveTheAnalysis) {
    if (!LUMEN_TEST_HAVE_EDF) GTEST_SKIP() << "EDF needs EDFlib, which this build does not have";
    testing::TempHome dir;
    const std::string home = importedHome(dir);
    const std::string info = runHolter("info --home " + home).out;
    EXPECT_EQ(jsonNumber(info, "markers"), 2) << info;
    EXPECT_NE(info.find("\"startDate\": \"2023-11-05\""), std::string::npos) << info;
    std::string warning;
    const SourceNotes notes = RecordingSidecar::read(home + "/recording", warning);
    EXPECT_EQ(notes.markers, (std::vector<MarkerText>{kDiary, kButton}));
    EXPECT_EQ(notes.sourceTicks, kSourceTicks);
    EXPECT_EQ(warning, "");

    Recording recording(home + "/");
    const auto clock = recording.directory().find(SectionId::RecordingClock);
    ASSERT_TRUE(clock.has_value());
    const RecordingFile& file = recording.file();
    EXPECT_EQ(
        (std::vector<int>{file.readU8(clock->offset), file.readU8(clock->offset + 1), file.readU8(clock->offset + 2)}),
        (std::vector<int>{5, 11, 23}));
    recording.closeFile();

    // A home replaced whole takes its notes along: nothing is kept aside.
    ASSERT_EQ(runHolter("import " + dir.path("source.edf") + " " + home + " --force").status, 0);
    for (const auto& entry : std::filesystem::directory_iterator(home))
        EXPECT_EQ(entry.path().filename().string().find("recording.replaced"), std::string::npos);
}

TEST(SourceNotes, ExportsLastAsLongAsTheSourceAndKeepItsDate) {
    if (!LUMEN_TEST_HAVE_EDF) GTEST_SKIP() << "EDF needs EDFlib, which this build does not have";
    testing::TempHome dir;
    const std::string home = importedHome(dir);
    ASSERT_EQ(runHolter("export --home " + home + " --edf " + dir.path("out.edf")).status, 0);
    const SourceRecording edf = EdfRecord::open(dir.path("out.edf"), {});
    EXPECT_EQ(edf.signal->lengthSamples(), kSourceTicks);
    EXPECT_EQ(edf.startDate, kDate);
    ASSERT_EQ(edf.events.size(), 2u);
    EXPECT_EQ(edf.events[0].text, kDiary.text);
    ASSERT_EQ(runHolter("export --home " + home + " --wfdb " + dir.path("w")).status, 0);
    EXPECT_EQ(recordLine(dir.path("w/w.hea")), "w 2 50 3050 09:00:00 05/11/2023");
    ASSERT_EQ(runHolter("import " + dir.path("w/w") + " " + dir.path("again")).status, 0);
    EXPECT_NE(runHolter("info --home " + dir.path("again")).out.find("\"startDate\": \"2023-11-05\""),
              std::string::npos);

    // Without its notes (a recording of older days) the export gives whole
    // blocks and the fallback date.
    std::filesystem::remove(home + "/recording/" + RecordingSidecar::kFileName);
    ASSERT_EQ(runHolter("export --home " + home + " --wfdb " + dir.path("v")).status, 0);
    EXPECT_EQ(recordLine(dir.path("v/v.hea")), "v 2 50 3500 09:00:00");
    EXPECT_NE(runHolter("info --home " + home).out.find("\"startDate\": null"), std::string::npos);
}

TEST(SourceNotes, ADamagedSidecarIsIgnoredWithAWarning) {
    if (!LUMEN_TEST_HAVE_EDF) GTEST_SKIP() << "EDF needs EDFlib, which this build does not have";
    testing::TempHome dir;
    const std::string home = importedHome(dir);
    std::ofstream(home + "/recording/" + RecordingSidecar::kFileName) << "date\t2023-02-30\n";
    const ToolRun run = runHolter("info --home " + home);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("line 1 is damaged"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"startDate\": null"), std::string::npos) << run.out;
}

struct Name {
    int language;
    const char* given;  // UTF-8, as on a command line
    const char* shown;  // what the home's code page kept of it
};

TEST(SourceNotes, PatientNamesKeepTheLettersOfTheHomesCodePage) {
    if (!LUMEN_TEST_HAVE_EDF) GTEST_SKIP() << "EDF needs EDFlib, which this build does not have";
    const Name names[] = {
        {2, "M\xc3\xbcller", "M\xc3\xbcller"},
        {2, "\xce\xa9mega M\xc3\xbcller", "?mega M\xc3\xbcller"},  // no Greek in Windows-1252
        {1,
         "\xc5\x81ukasz Wr\xc3\xb3"
         "bel",
         "\xc5\x81ukasz Wr\xc3\xb3"
         "bel"},                                                                       // Windows-1250
        {11, "\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd", "\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd"},  // Windows-1251
        {2, "M\xfcller", "M\xc3\xbcller"},                                             // Latin-1 bytes
    };
    for (const Name& n : names) {
        testing::TempHome dir;
        const std::string home =
            importedHome(dir, "--language " + std::to_string(n.language) + " --patient '" + n.given + "'");
        const std::string info = runHolter("info --home " + home).out;
        EXPECT_NE(info.find("\"patient\": \"" + std::string(n.shown) + "\""), std::string::npos) << info;
    }
}

struct Damage {
    const char* name;
    const char* text;
};

TEST(RecordingSidecar, DamagedTextsGiveNothingAndSaySo) {
    const Damage damages[] = {
        {"impossible date", "date\t2023-02-30\n"},
        {"marker time", "12x\tA\n"},
        {"negative time", "-5\tA\n"},
        {"past 24 bits", "16777216\tA\n"},
        {"not UTF-8", "12\t\xff\n"},
        {"unknown key", "colour\tred\n"},
        {"no tab", "12 A\n"},
        {"no length", "signalTicks\t0\n"},
        {"a control character", "12\tA\x01B\n"},
    };
    for (const Damage& d : damages) {
        std::string warning;
        const SourceNotes notes = RecordingSidecar::parse(std::string("date\t2023-11-05\n") + d.text, "F", warning);
        EXPECT_TRUE(notes.empty()) << d.name;
        EXPECT_EQ(warning.rfind("F: line 2 is damaged", 0), 0u) << d.name << ": " << warning;
    }
    // A character cut by the end of the bytes is read inside them (the
    // sanitizer sees a read past a vector's end).
    const std::vector<char> cut{'1', '2', '\t', '\xee'};
    std::string warning;
    EXPECT_TRUE(RecordingSidecar::parse(std::string_view(cut.data(), cut.size()), "F", warning).empty());
}

TEST(RecordingSidecar, WhatIsFormattedReadsBackAndTooLargeIsIgnored) {
    SourceNotes notes;
    notes.startDate = kDate;
    notes.sourceTicks = kSourceTicks;
    notes.markers = {{7, "two\tlines\nin one"}, {7, "again"}, {9, std::string(5000, 'x')}};
    std::string warning;
    const SourceNotes back = RecordingSidecar::parse(RecordingSidecar::format(notes), "F", warning);
    EXPECT_EQ(warning, "");
    EXPECT_EQ(back.startDate, kDate);
    EXPECT_EQ(back.textAt(7), "two lines in one; again");
    EXPECT_EQ(back.textAt(9).size(), RecordingSidecar::kMaxTextBytes);
    EXPECT_EQ(back.textAt(8), "");

    testing::TempHome dir;
    std::ofstream(dir.path(RecordingSidecar::kFileName)) << std::string(RecordingSidecar::kMaxFileBytes + 1, '#');
    EXPECT_TRUE(RecordingSidecar::read(dir.path(""), warning).empty());
    EXPECT_NE(warning.find("is larger than"), std::string::npos) << warning;
    warning.clear();
    EXPECT_TRUE(RecordingSidecar::read(dir.path("none"), warning).empty());
    EXPECT_EQ(warning, "");
}

}  // namespace
}  // namespace lumen
