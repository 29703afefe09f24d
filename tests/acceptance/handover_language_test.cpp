// SPDX-License-Identifier: GPL-3.0-or-later
// The hand-over with the acquisition program through doef.mem and dore.mem,
// and the viewer in every language of color.ini.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>

#include "acceptance/day_home.h"
#include "lang/language_texts.h"
#include "shell/recording_probe.h"

namespace lumen::testing {
namespace {

constexpr int64_t kStartSecondsOfDay = 8 * 3600 + 3 * 60;  // the demo starts at 08:03

TEST(AcceptanceHandOver, DoefMemOpensTheViewAndReceivesItBackAtExit) {
    DayHome home;
    const std::vector<HolterEvent> maxima = holterEvents(home, "STmax");
    ASSERT_EQ(maxima.size(), 1u);
    home.write("doef.mem", "4000 0 251 4 3\n");  // the ST maximum at 50 mm/s and 20 mm/mV
    const SteppedRun run = runSteps(home, {"", "key Up\nbutton 2012\nbutton 2011"});
    ASSERT_EQ(run.run.status, 255) << run.run.err;
    EXPECT_EQ(catalogNumber(run.dumps[0], "selectedRow"), 13);
    EXPECT_EQ(catalogNumber(run.dumps[0], "cursorPosition"), maxima[0].position);
    EXPECT_EQ(dumpNumber(run.dumps[0], "strip", "pixelsPerSample"), 4);
    EXPECT_EQ(dumpNumber(run.dumps[0], "strip", "amplitudeStep"), 3);
    const std::string& last = run.dumps[1];
    EXPECT_EQ(catalogNumber(last, "selectedRow"), 12);
    const int64_t firstBlock = dumpNumber(last, "firstBlock");
    EXPECT_EQ(firstBlock, dumpNumber(last, "strip", "windowStart") / 500);
    // Seconds of the day of the first block shown, no change, STmin, 12.5 mm/s, 5 mm/mV.
    EXPECT_EQ(home.text("doef.mem"), std::to_string(firstBlock * 10 + kStartSecondsOfDay) + "\n0\n250\n1\n1\n");
    EXPECT_FALSE(home.exists("dore.mem"));
}

TEST(AcceptanceHandOver, PositionOnTheTimeScaleAndTheChangeFlagAfterRelabelling) {
    DayHome home;
    const int64_t noon = 4 * 180000 + 12345;  // a little past 12:03
    home.write("doef.mem", std::to_string(noon) + " 0 117 2 2\n");
    const SteppedRun run = runSteps(home, {"", "key Up\nkey Up\nkey V"});
    ASSERT_EQ(run.run.status, 255) << run.run.err;
    EXPECT_EQ(catalogNumber(run.dumps[0], "selectedRow"), 18);
    EXPECT_EQ(catalogNumber(run.dumps[0], "cursorPosition"), noon - 27 * 50) << "the recording starts at 08:03:27";
    // The hand-over counts from the start clock's whole minute, 08:03:00.
    EXPECT_EQ(catalogNumber(run.dumps[0], "cursorTime"), noon + kStartSecondsOfDay * 50);
    EXPECT_EQ(catalogNumber(run.dumps[1], "selectedRow"), 16);  // Lead off is handed over as the time scale
    const int64_t state = dumpNumber(run.dumps[1], "labelChangeState");
    ASSERT_NE(state, 0);
    const int64_t firstBlock = dumpNumber(run.dumps[1], "firstBlock");
    EXPECT_EQ(home.text("doef.mem"), std::to_string(firstBlock * 10 + kStartSecondsOfDay) + "\n1\n117\n2\n2\n");
    EXPECT_EQ(home.text("dore.mem"), std::to_string(state)) << "for the clean-up tool";
}

std::string stampOf(const std::string& path) {
    const auto written = std::chrono::file_clock::to_sys(std::filesystem::last_write_time(path));
    const std::chrono::year_month_day date{std::chrono::floor<std::chrono::days>(written)};
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02d%02u%02u", static_cast<int>(date.year()) % 100,
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return stamp;
}

TEST(AcceptanceLanguages, EveryLanguageNamesTheWindowAndWritesItsTexts) {
    const std::string stamp = stampOf(LUMEN_PATH);
    std::set<std::string> titles;
    std::set<std::string> statuses;
    for (int language = 1; language <= 13; ++language) {
        if (language == 6) continue;
        SCOPED_TRACE("language " + std::to_string(language));
        DayHome home(language);
        home.write("doef.mem", "0 0 103 2 2\n");
        const SteppedRun run = runSteps(home, {"key Right"});
        ASSERT_EQ(run.run.status, 255) << run.run.err;
        const std::string& dump = run.dumps[0];
        const LanguageTexts texts(language);
        EXPECT_EQ(dumpNumber(dump, "languageIndex"), language);
        const std::string title = unquoted(dumpValue(dump, "titleText"));
        EXPECT_EQ(title, std::string(texts.text(24)) + " V3.8-" + stamp);
        EXPECT_EQ(unquoted(dumpValue(dump, "windowTitle")), title);
        titles.insert(title);

        const HolterEvent second = holterEvents(home, "VISO").at(1);
        const int64_t seconds = second.timeOfDay / 50;
        const int64_t count = static_cast<int64_t>(holterEvents(home, "VISO").size());
        char status[200];
        std::snprintf(status, sizeof status, texts.textZ(4), 2L, static_cast<long>(count),
                      static_cast<int>(seconds / 3600 % 24), static_cast<int>(seconds / 60 % 60),
                      static_cast<int>(seconds % 60));
        EXPECT_EQ(unquoted(dumpValue(dump, "status", "right")), status);
        statuses.insert(status);
        const std::string statistics = unquoted(dumpValue(dump, "titlePane", "right"));
        const std::string format(texts.text(2));
        EXPECT_EQ(statistics.substr(0, format.find('%')), format.substr(0, format.find('%'))) << statistics;
    }
    EXPECT_EQ(titles.size(), 7u) << "four languages keep the English system title";
    EXPECT_EQ(statuses.size(), 10u) << "ten languages, three numbers of them English";
}

}  // namespace
}  // namespace lumen::testing
