// SPDX-License-Identifier: GPL-3.0-or-later
// Correcting a recording by form: `holter relabel` gives every beat of a
// form one class and the episodes, counts and statistics follow, as the
// derivation rules (counted here from the corrected beats on their own)
// say; clean_wf.exe on a recording that follows its beats changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "store/form_census.h"
#include "store/recording.h"
#include "support/temp_home.h"
#include "support/trend_agreement.h"
#include "tools/import/import_run.h"

namespace lumen {
namespace {

// Every beat word's class letter in time order; lead-off marks are "L".
std::string classesOf(const std::string& home) {
    Recording recording(home);
    recording.beats().load(recording);
    std::string classes;
    for (const BeatWord w : recording.beats().words()) {
        if (!FormCensus::holdsBeat(w)) continue;
        classes += w.formCode() == kNoFormCode ? 'L' : kBeatClassLetters[static_cast<size_t>(w.beatClass())];
    }
    return classes;
}

// The event rows the rules give for these classes.
void expectRowsOf(const std::string& classes, const std::string& info) {
    long bigeminy = 0, bigeminyBeats = 0;
    const std::regex pattern("(NV){3,}(?!V)");
    for (auto m = std::sregex_iterator(classes.begin(), classes.end(), pattern); m != std::sregex_iterator(); ++m)
        ++bigeminy, bigeminyBeats += m->length() / 2;
    const std::pair<const char*, long> rows[] = {{"VISO", runs(classes, 'V', 1, 1) - bigeminyBeats},
                                                 {"VCPL", runs(classes, 'V', 2, 2)},
                                                 {"VRUN", runs(classes, 'V', 3, 7)},
                                                 {"VTCH", runs(classes, 'V', 8, SIZE_MAX)},
                                                 {"VBIG", bigeminy},
                                                 {"SVISO", runs(classes, 'S', 1, 1)},
                                                 {"SVCPL", runs(classes, 'S', 2, 2)},
                                                 {"SVRUN", runs(classes, 'S', 3, 7)},
                                                 {"SVTCH", runs(classes, 'S', 8, SIZE_MAX)}};
    for (const auto& [row, count] : rows) EXPECT_EQ(jsonNumber(info, row), count) << row;
    for (const char* key : {"N", "S", "V", "A"})
        EXPECT_EQ(jsonNumber(info, key), std::count(classes.begin(), classes.end(), key[0])) << key;
}

struct RelabelCase {
    const char* name;
    int form;
    char beatClass;
};

constexpr RelabelCase kCases[] = {
    {"ventricular_to_normal", 2, 'N'},   {"ventricular_to_supraventricular", 2, 'S'},
    {"aberrant_to_ventricular", 1, 'V'}, {"tachycardia_to_artefact", 4, 'A'},
    {"normal_form_unchanged", 0, 'N'},
};

void PrintTo(const RelabelCase& c, std::ostream* out) { *out << c.name; }

class FormRelabel : public ::testing::TestWithParam<RelabelCase> {};

TEST_P(FormRelabel, RowsCountsAndStatisticsFollowTheCorrectedBeats) {
    const RelabelCase& c = GetParam();
    testing::TempHome scratch;
    const std::string home = scratch.path("home") + "/";
    ASSERT_EQ(runHolter("demo " + home + " --hours 2").status, 0);
    const std::string pausesBefore = std::to_string(jsonNumber(runHolter("info --home " + home).out, "PAUSE"));
    const std::string before = classesOf(home);

    const ToolRun relabel = runHolter("relabel --home " + home + " --form " + std::to_string(c.form) + " --class " +
                                      std::string(1, c.beatClass));
    ASSERT_EQ(relabel.status, 0) << relabel.out;
    const std::string after = classesOf(home);
    ASSERT_EQ(after.size(), before.size());
    const std::string forms = runHolter("forms --home " + home).out;
    EXPECT_NE(forms.find("{\"id\": " + std::to_string(c.form) + ", \"class\": \"" + std::string(1, c.beatClass)),
              std::string::npos)
        << forms;
    const ToolRun info = runHolter("info --home " + home);
    ASSERT_EQ(info.status, 0) << info.out;
    expectRowsOf(after, info.out);
    EXPECT_EQ(std::to_string(jsonNumber(info.out, "PAUSE")), pausesBefore) << "labels make no pause";
    testing::expectTrendsAgreeWithTheirBeats(home);
}

INSTANTIATE_TEST_SUITE_P(Demo, FormRelabel, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A reviewer corrects an analysis by form, so every stored form of an
// analysed recording holds one class of beat, and no form takes code 30,
// whose supraventricular label would mean "no beat".
TEST(AnalysedForms, EachFormHoldsOneClass) {
    const auto folder = physionetFolder();
    if (folder.empty()) GTEST_SKIP() << "the shared PhysioNet data is not beside the source tree";
    testing::TempHome scratch;
    for (const char* record : {"119", "208", "215"}) {
        SCOPED_TRACE(record);
        const std::string home = scratch.path(record);
        ASSERT_EQ(runHolter("import " + (folder / "mitdb" / record).string() + " " + home + " --detect").status, 0);
        Recording recording(home + "/");
        recording.beats().load(recording);
        const std::vector<FormSummary> forms = FormCensus::take(recording.beats().words());
        EXPECT_GE(forms.size(), 3u);
        for (const FormSummary& f : forms) {
            EXPECT_LT(f.id, 30);
            EXPECT_EQ(f.byClass[static_cast<size_t>(f.majority())], f.count) << "form " << int{f.id};
        }
    }
}

std::vector<uint8_t> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The derivation of an import, done again, gives the same bytes: so a clean-up
// after a session changes only what the corrections change.
TEST(CleanUpProgram, ARecordingThatFollowsItsBeatsIsLeftAsItIs) {
    const auto folder = physionetFolder();
    testing::TempHome scratch;
    std::vector<std::string> homes = {scratch.path("demo")};
    ASSERT_EQ(runHolter("demo " + homes[0] + " --hours 1").status, 0);
    if (!folder.empty()) {
        // Flutter (207), fibrillation (201, 203), ectopy (208), and an analysis.
        for (const char* record : {"201", "203", "207", "208"}) {
            homes.push_back(scratch.path(record));
            ASSERT_EQ(runHolter("import " + (folder / "mitdb" / record).string() + " " + homes.back()).status, 0);
        }
        homes.push_back(scratch.path("detected"));
        ASSERT_EQ(runHolter("import " + (folder / "mitdb/119").string() + " " + homes.back() + " --detect").status, 0);
    }
    for (const std::string& home : homes) {
        SCOPED_TRACE(home);
        const std::vector<uint8_t> before = bytesOf(home + "/recording/holter.mem");
        const testing::CommandRun run =
            testing::runCommand(std::string(LUMEN_CLEAN_WF_PATH) + " --home " + home + " 2>&1");
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_NE(run.out.find("already up to date"), std::string::npos) << run.out;
        EXPECT_TRUE(bytesOf(home + "/recording/holter.mem") == before);
        EXPECT_FALSE(std::filesystem::exists(home + "/recording/holter.mem-journal"));
    }
}

// A form whose supraventricular label means "no beat", and a recording a
// viewer has open, are refused without a change.
TEST(CleanUpProgram, RelabellingRefusesWhatItCannotDoSafely) {
    testing::TempHome scratch;
    const std::string home = scratch.path("home") + "/";
    ASSERT_EQ(runHolter("demo " + home + " --hours 1").status, 0);
    const std::vector<uint8_t> before = bytesOf(home + "recording/holter.mem");
    const ToolRun noBeat = runHolter("relabel --home " + home + " --form 30 --class S");
    EXPECT_EQ(noBeat.status, 255) << noBeat.out;
    EXPECT_NE(noBeat.out.find("no beat"), std::string::npos) << noBeat.out;
    {
        Recording viewer(home, RecordingAccess::Session);
        const ToolRun busy = runHolter("relabel --home " + home + " --form 2 --class N");
        EXPECT_EQ(busy.status, 255) << busy.out;
        EXPECT_NE(busy.out.find("open in another viewer"), std::string::npos) << busy.out;
    }
    EXPECT_TRUE(bytesOf(home + "recording/holter.mem") == before);
}

}  // namespace
}  // namespace lumen
