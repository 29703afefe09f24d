// SPDX-License-Identifier: GPL-3.0-or-later
// Review by form in the viewer: the forms view through keys and scripted
// actions, and mitdb 208 as analysed by Lumen brought to the reference's
// ventricular and supraventricular counts form by form.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "import/reference_beats.h"
#include "shell/lumen_run.h"
#include "shell/recording_probe.h"
#include "store/form_census.h"
#include "store/recording.h"
#include "support/form_reviewer.h"

namespace lumen::testing {
namespace {

constexpr const char* kStartOnViso = "0 0 103 2 2\n";

int64_t formCount(const std::string& dump, int id) {
    const std::string forms = dumpValue(dump, "forms");
    const std::string key = "{\"id\": " + std::to_string(id) + ", ";
    const size_t at = forms.find(key);
    if (at == std::string::npos) return 0;
    return std::atol(forms.c_str() + forms.find("\"count\": ", at) + 9);
}

// One beat of a ventricular form, stepped to, joins the normal form: it
// takes that form's class, and the two counts follow; the Artefact button
// makes another form artefact.
TEST(LumenForms, ABeatMovedToAnotherFormTakesItsClass) {
    DemoHome home;
    const SteppedRun run = runSteps(home, {"forms\nform 2\nkey Enter", "formmove 0", "form 3\nbutton 2004"});
    ASSERT_EQ(run.run.status, 255) << run.run.err;
    const std::vector<std::string>& d = run.dumps;
    EXPECT_EQ(dumpNumber(d[0], "strip", "selectedClass"), 3);
    EXPECT_EQ(dumpNumber(d[1], "strip", "selectedClass"), 1);
    EXPECT_EQ(dumpNumber(d[1], "strip", "selectedBeatPosition"), dumpNumber(d[0], "strip", "selectedBeatPosition"));
    EXPECT_EQ(formCount(d[1], 0), formCount(d[0], 0) + 1);
    EXPECT_EQ(formCount(d[1], 2), formCount(d[0], 2) - 1);
    // The class buttons give the selected form their class.
    EXPECT_NE(dumpValue(d[2], "forms").find("{\"id\": 3, \"class\": \"A\""), std::string::npos) << d[2];
}

// The demo's forms: opened by the key, stepped through, a form made
// normal, closed; the rows lose the form's episodes at once.
TEST(LumenForms, AFormGivenAClassTakesItsBeatsAndTheRowsFollowWhenTheViewCloses) {
    DemoHome home;
    home.write("doef.mem", kStartOnViso);
    const SteppedRun run = runSteps(home, {"key F", "form 2\nkey Enter\nkey Enter", "key N", "key F"});
    ASSERT_EQ(run.run.status, 255) << run.run.err;
    const std::vector<std::string>& d = run.dumps;
    EXPECT_EQ(dumpValue(d[0], "formsView", "open"), "true");
    EXPECT_EQ(dumpNumber(d[1], "formsView", "selectedForm"), 2);
    EXPECT_NE(dumpValue(d[0], "forms").find("{\"id\": 2, \"class\": \"V\""), std::string::npos) << d[0];
    // Stepping shows the form's second beat, a ventricular one, in the strip.
    EXPECT_EQ(dumpNumber(d[1], "strip", "selectedClass"), 3);
    EXPECT_NE(dumpValue(d[2], "forms").find("{\"id\": 2, \"class\": \"N\""), std::string::npos) << d[2];
    EXPECT_EQ(dumpNumber(d[2], "strip", "selectedClass"), 1);
    EXPECT_EQ(dumpNumber(d[2], "labelChangeState"), 1);
    // The rows are derived again only when the view closes.
    EXPECT_EQ(rowCount(d[2], 0), rowCount(d[0], 0));
    EXPECT_EQ(dumpValue(d[3], "formsView", "open"), "false");
    EXPECT_LT(rowCount(d[3], 0), rowCount(d[0], 0));
    EXPECT_EQ(rowCount(d[3], 0), static_cast<int64_t>(holterEvents(home, "VISO").size()));
}

// Looking through the forms, stepping through their beats and closing the
// view corrects nothing, so nothing is written, not even the trend tables.
TEST(LumenForms, ASessionThatOnlyLooksAtTheFormsWritesNothing) {
    DemoHome home;
    const std::string path = home.path("recording/holter.mem");
    const std::string before = home.readText(path);
    const LumenRun run =
        runLumen(home, "key F\nkey Right\nkey Enter\nkey PageUp\nkey F\nkey R\ndump " + home.path("dump.json"));
    ASSERT_EQ(run.status, 255) << run.err;
    EXPECT_EQ(dumpNumber(run.dump, "labelChangeState"), 0);
    EXPECT_TRUE(home.readText(path) == before);
}

// mitdb 208 with --detect: 2,955 beats, about 1,350 of them ventricular or
// fusion. A reviewer who gives each form its class reaches the reference's
// counts in a few actions, where relabelling beat by beat took hundreds.
TEST(LumenForms, Mitdb208ReachesTheReferenceCountsInAFewActions) {
    const char* shared = std::getenv("LUMEN_SHARED_DATA");
    const std::filesystem::path record = shared != nullptr ? std::filesystem::path(shared) / "physionet/mitdb/208" : "";
    if (record.empty() || !std::filesystem::exists(record.string() + ".atr"))
        GTEST_SKIP() << "the shared PhysioNet data is not beside the source tree";
    DemoHome home;
    const CommandRun imported = runCommand(std::string(LUMEN_HOLTER_PATH) + " import " + record.string() + " " +
                                           home.programDirectory() + " --detect --force 2>&1");
    ASSERT_EQ(imported.status, 0) << imported.out;

    const ReferenceBeats reference = ReferenceBeats::read(record.string() + ".atr");
    std::string script = "forms\n";
    int actions = 2;  // open and close
    {
        Recording recording(home.programDirectory());
        recording.beats().load(recording);
        const auto words = recording.beats().words();
        const auto verdicts = reviewForms(words, reference.beats);
        for (const FormSummary& form : FormCensus::take(words)) {
            const BeatClass wanted = verdicts.at(form.id).referenceClass;
            if (form.byClass[static_cast<size_t>(wanted)] == form.count) continue;
            script +=
                "formclass " + std::to_string(form.id) + " " + kBeatClassLetters[static_cast<size_t>(wanted)] + "\n";
            ++actions;
        }
    }
    EXPECT_LE(actions, 30);
    const LumenRun run = runLumen(home, script + "forms\n");
    ASSERT_EQ(run.status, 255) << run.err;

    int64_t referenceV = 0, referenceS = 0;
    for (const ScoreBeat& b : reference.beats) {
        referenceV += b.kind == ScoreClass::V || b.kind == ScoreClass::F;
        referenceS += b.kind == ScoreClass::S;
    }
    const std::string info = commandOutput(std::string(LUMEN_HOLTER_PATH) + " info --home " + home.programDirectory());
    const auto count = [&](const char* key) {
        const size_t at = info.find(std::string("\"") + key + "\": ");
        return at == std::string::npos ? -1 : std::atol(info.c_str() + at + std::strlen(key) + 4);
    };
    EXPECT_NEAR(static_cast<double>(count("V")), static_cast<double>(referenceV), 0.02 * referenceV) << info;
    EXPECT_NEAR(static_cast<double>(count("S")), static_cast<double>(referenceS), 3.0) << info;
}

}  // namespace
}  // namespace lumen::testing
