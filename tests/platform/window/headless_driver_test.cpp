// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include "test_app.h"
#include "test_support.h"

namespace lumen::testing {
namespace {

constexpr Size screen{320, 200};
constexpr int appExitStatus = 7;  // the test application's quit message when its window goes

TEST(HeadlessDriverDeathTest, MissingButtonIsAScriptError) {
    EXPECT_EXIT(
        {
            HeadlessDriver driver(screen, actionsOf("button 4242\n"));
            WindowSystem system(driver);
            TestApp app(system);
            system.runMessageLoop();
        },
        ::testing::ExitedWithCode(2), "line 1: no visible button 4242");
}

TEST(HeadlessDriverTest, ExitHandlerReplacesTheProcessExit) {
    int status = 0;
    HeadlessDriver driver(screen, actionsOf("answer ok\n"));
    driver.setExitHandler([&](int code) { status = code; });
    WindowSystem system(driver);
    TestApp app(system);
    EXPECT_EQ(system.runMessageLoop(), HeadlessDriver::scriptErrorStatus);
    EXPECT_EQ(status, HeadlessDriver::scriptErrorStatus);
}

TEST(HeadlessDriverTest, DropHandsEveryFileToTheProgram) {
    std::vector<std::string> dropped;
    HeadlessDriver driver(screen, actionsOf("drop /data/My file.edf\ndrop 208.hea\n"));
    driver.setDropHandler([&](const std::string& path) { dropped.push_back(path); });
    WindowSystem system(driver);
    TestApp app(system);
    EXPECT_EQ(system.runMessageLoop(), appExitStatus);
    EXPECT_EQ(dropped, (std::vector<std::string>{"/data/My file.edf", "208.hea"}));
}

// The file dialog takes the next action; any other action there, or a
// `choose` with no dialog open, is a script error.
TEST(HeadlessDriverTest, FileDialogIsAnsweredByChoose) {
    struct Case {
        std::string script;
        std::vector<std::optional<std::string>> chosen;  // one per dialog opened
        int status;
    };
    const std::vector<Case> cases{
        {"choose /data/My file.edf\nchoose Cancel\n", {"/data/My file.edf", std::nullopt}, appExitStatus},
        {"wait 1\n", {std::nullopt}, HeadlessDriver::scriptErrorStatus},
        {"choose a.edf\n", {}, HeadlessDriver::scriptErrorStatus},
        {"drop a.edf\n", {}, HeadlessDriver::scriptErrorStatus},
    };
    for (const Case& c : cases) {
        int status = appExitStatus;
        HeadlessDriver driver(screen, actionsOf(c.script));
        driver.setExitHandler([&](int code) { status = code; });
        std::vector<std::optional<std::string>> chosen;
        for (size_t i = 0; i < c.chosen.size(); ++i) {
            const ChooserAnswer answer =
                driver.chooseFileToOpen(OpenFileRequest{"Open a recording", {"*.edf"}, "Recordings"});
            chosen.push_back(answer.outcome == ChooserOutcome::Chosen ? std::optional(answer.path) : std::nullopt);
        }
        WindowSystem system(driver);
        TestApp app(system);
        EXPECT_EQ(system.runMessageLoop(), c.status) << c.script;
        EXPECT_EQ(status, c.status) << c.script;
        EXPECT_EQ(chosen, c.chosen) << c.script;
    }
}

}  // namespace
}  // namespace lumen::testing
