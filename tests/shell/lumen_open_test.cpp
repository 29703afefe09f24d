// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer opened on a recording file rather than a program home: the
// import into the user's cache, the second open, the start screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "import/edf/edf_export.h"
#include "shell/lumen_run.h"
#include "store/clock.h"
#include "support/wfdb_fixture.h"

namespace lumen::testing {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr const char* kCacheVariable = "LOCALAPPDATA";
void setVariable(const char* name, const std::string& value) { _putenv_s(name, value.c_str()); }
#else
constexpr const char* kCacheVariable = "XDG_CACHE_HOME";
void setVariable(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }
#endif

// A user with a cache folder of their own and one recording file.
class LumenOpen : public ::testing::Test {
protected:
    DemoHome place;  // only a folder to work in: the viewer is never given it as its home
    std::string record;
    mutable int runs_ = 0;

    void SetUp() override {
        fs::create_directories(place.path("cache"));
        fs::create_directories(place.path("data"));
        setVariable(kCacheVariable, place.path("cache"));
        record = writeBeatingRecord(place.path("data"), "rec", 60);
    }

    // Runs `lumen` headless with the arguments; returns status, error and dump.
    // Each run writes files of its own: Wine may close the last run's handles
    // a moment after it has ended.
    LumenRun run(const std::string& script, const std::string& arguments) const {
        const std::string n = std::to_string(++runs_);
        const std::string command = std::string(LUMEN_PATH) + " --headless 1024x768 --script " + scriptFile(script) +
                                    " " + arguments + " 2> " + place.path("open-err" + n + ".txt");
        LumenRun result;
        result.status = runCommand(command).status;
        result.err = place.text("open-err" + n + ".txt");
        result.dump = place.text("dump.json");
        fs::remove(place.path("dump.json"));
        return result;
    }

    // A script in a file of its own.
    std::string scriptFile(const std::string& script) const {
        const std::string name = "open" + std::to_string(++runs_) + ".txt";
        place.write(name, script);
        return place.path(name);
    }

    // Runs a copy of `lumen` with no home beside it and no file: the start screen.
    int runAlone(const std::string& script) const {
        fs::create_directories(place.path("bin"));
        const std::string lumen = place.path("bin/lumen" + fs::path(LUMEN_PATH).extension().string());
        fs::copy_file(LUMEN_PATH, lumen, fs::copy_options::skip_existing);
        fs::remove(place.path("dump.json"));
        return runCommand(lumen + " --headless 1024x768 --script " + scriptFile(script)).status;
    }

    std::vector<fs::path> homes() const {
        std::vector<fs::path> found;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(fs::path(place.path("cache")) / cacheName() / "homes", error))
            found.push_back(entry.path());
        return found;
    }

    static fs::path cacheName() {
#ifdef _WIN32
        return fs::path("Lumen") / "Cache";
#else
        return "lumen";
#endif
    }
};

TEST_F(LumenOpen, AFileIsImportedOnceAndItsHomeOpenedAgain) {
    const LumenRun first = run("dump " + place.path("dump.json") + "\n", "\"" + record + "\"");
    EXPECT_EQ(first.status, 255) << first.err;
    EXPECT_NE(first.err.find("beats found and classified by the analysis"), std::string::npos) << first.err;
    EXPECT_NE(unquoted(dumpValue(first.dump, "titlePane", "right")).find("NORMAL"), std::string::npos) << first.dump;
    ASSERT_EQ(homes().size(), 1u);

    const LumenRun second = run("dump " + place.path("dump.json") + "\n", "\"" + record + "\"");
    EXPECT_EQ(second.status, 255) << second.err;
    EXPECT_EQ(second.err.find("imported"), std::string::npos) << "the second open imports nothing: " << second.err;
    EXPECT_EQ(dumpValue(second.dump, "titlePane"), dumpValue(first.dump, "titlePane"));
    EXPECT_EQ(homes().size(), 1u);
}

TEST_F(LumenOpen, AFileThatCannotBeReadEndsWithItsNameAndNoHome) {
    place.write("data/empty.edf", "");
    const LumenRun failed = run("", "\"" + place.path("data/empty.edf") + "\"");
    EXPECT_EQ(failed.status, 255);
    EXPECT_NE(failed.err.find("empty.edf"), std::string::npos) << failed.err;
    EXPECT_TRUE(homes().empty());
}

TEST_F(LumenOpen, TheStartScreenOffersTheRecordingsOpenedLately) {
    ASSERT_EQ(run("", "\"" + record + "\"").status, 255);
    // The start screen's key 1 opens the latest recording.
    EXPECT_EQ(runAlone("key 1\ndump " + place.path("dump.json") + "\n"), 255);
    EXPECT_NE(unquoted(dumpValue(place.text("dump.json"), "titlePane", "right")).find("NORMAL"), std::string::npos);
    // Closed without a choice, it ends quietly.
    EXPECT_EQ(runAlone("key Escape\n"), 0);
}

// The start screen takes a file by the dialog or by a drop; a file dropped
// on a viewer opens in a viewer of its own while this one closes.
TEST_F(LumenOpen, DialogsAndDropsOpenFiles) {
    const std::string second = writeBeatingRecord(place.path("data"), "second", 30);
    const std::string dump = "dump " + place.path("dump.json") + "\n";
    EXPECT_EQ(runAlone("button 1\nchoose " + record + "\n" + dump), 255);
    EXPECT_NE(place.text("dump.json"), "");
    EXPECT_EQ(homes().size(), 1u);
    EXPECT_EQ(runAlone("drop " + second + "\n" + dump), 255);
    EXPECT_EQ(homes().size(), 2u);

    const std::string third = writeBeatingRecord(place.path("data"), "third", 30);
    const LumenRun viewer = run("drop " + third + "\n", "\"" + record + "\"");
    EXPECT_EQ(viewer.status, 255) << viewer.err;
    EXPECT_EQ(homes().size(), 3u) << "the viewer the drop started imported the third file";
}

// An EDF+ file with a diary entry and a date: the title shows the date, the
// status line the entry's text when the Manual row is on it.
TEST_F(LumenOpen, TheSourcesDateAndDiaryTextsAreShown) {
    if (!LUMEN_TEST_HAVE_EDF) GTEST_SKIP() << "EDF needs EDFlib, which this build does not have";
    ExportContent content;
    content.channel1.assign(3000, kBaselineSample);
    for (size_t t = 20; t < content.channel1.size(); t += 40) content.channel1[t] += 60;
    content.channel2 = content.channel1;
    content.startSecondOfDay = 9 * 3600;
    content.startDate = CalendarDate{2023, 11, 5};
    content.events.push_back({123, 123, "Diary: chest pain"});
    const std::string edf = place.path("data/diary.edf");
    ASSERT_EQ(EdfExport::write(edf, content), "");
    // From the time scale (row 18) up to the Manual row (14).
    const LumenRun opened = run(scriptLines("key Up", 4) + "dump " + place.path("dump.json") + "\n", "\"" + edf + "\"");
    EXPECT_EQ(opened.status, 255) << opened.err;
    EXPECT_NE(unquoted(dumpValue(opened.dump, "titlePane", "left")).find("2023-11-05"), std::string::npos)
        << opened.dump;
    EXPECT_NE(unquoted(dumpValue(opened.dump, "status", "left")).find("Diary: chest pain"), std::string::npos)
        << opened.dump;
}

}  // namespace
}  // namespace lumen::testing
