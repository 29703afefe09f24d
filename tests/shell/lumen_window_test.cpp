// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/lumen_run.h"
#include "shell/recording_probe.h"

namespace lumen::testing {
namespace {

std::string dumpLine(const DemoHome& home) { return "dump " + home.path("dump.json") + "\n"; }

// The rectangles are the layout's own tests; here the viewer takes its class.
TEST(LumenWindow, LayoutFollowsTheScreenClassOfEachWidth) {
    const struct {
        const char* size;
        int screenClass, stripWidth, buttonUnit, ecgButtonHalf;
    } cases[] = {{"640x480", 3, 560, 50, 33},
                 {"800x600", 2, 720, 66, 33},
                 {"1024x768", 1, 920, 90, 45},
                 {"1920x1080", 1, 920, 90, 45}};  // wide screens keep the 1024 layout
    DemoHome home;
    for (const auto& screen : cases) {
        SCOPED_TRACE(screen.size);
        const LumenRun run = runLumen(home, dumpLine(home), screen.size);
        EXPECT_EQ(run.status, 255);
        EXPECT_EQ(dumpValue(run.dump, "screen"), dumpValue(run.dump, "client"));
        EXPECT_EQ(dumpValue(run.dump, "screenClass"), std::to_string(screen.screenClass));
        EXPECT_EQ(dumpValue(run.dump, "stripWidth"), std::to_string(screen.stripWidth));
        EXPECT_EQ(dumpValue(run.dump, "buttonUnit"), std::to_string(screen.buttonUnit));
        EXPECT_EQ(dumpValue(run.dump, "ecgButtonHalf"), std::to_string(screen.ecgButtonHalf));
    }
}

TEST(LumenWindow, CreditKeyNeedsAllThreeModifiersAndMouseMoveRestoresTheTitle) {
    DemoHome home;
    const LumenRun plain = runLumen(home, "key P\n" + dumpLine(home));
    EXPECT_EQ(dumpValue(plain.dump, "windowTitle"), dumpValue(plain.dump, "titleText"));
    EXPECT_EQ(unquoted(dumpValue(plain.dump, "titlePane", "left")).rfind("Patient: DEMO, Patient", 0), 0u);
    const LumenRun credit = runLumen(home, "key P ctrl shift alt\n" + dumpLine(home));
    EXPECT_EQ(dumpValue(credit.dump, "windowTitle"), "\"Lumen \xE2\x80\x94 written by the Lumen developers\"");
    const LumenRun moved = runLumen(home, "key P ctrl shift alt\nmove 500 10\n" + dumpLine(home));
    EXPECT_EQ(dumpValue(moved.dump, "windowTitle"), dumpValue(moved.dump, "titleText"));
}

TEST(LumenWindow, RestoreMinimiseAndCloseRequestEndTheProgramAtOnce) {
    for (const std::string action : {"size restored", "size minimized", "message 0x220", "button 1008"}) {
        SCOPED_TRACE(action);
        DemoHome home;
        const LumenRun run = runLumen(home, "button 2011\n" + action + "\n" + dumpLine(home));
        EXPECT_EQ(run.status, 255);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.dump, "") << "the program went on after " << action;
        const std::string handOver = home.text("doef.mem");
        EXPECT_EQ(handOver.substr(handOver.size() - 3), "\n3\n") << "amplitude written back: " << handOver;
    }
}

// The viewer starts the tool without waiting; runLumen waits for the tool
// through the output pipe it inherits, so its mark is there or never comes.
TEST(LumenWindow, OnlyACorrectionWritesDoreMemAndStartsTheCleanUpTool) {
#ifdef _WIN32
    GTEST_SKIP() << "the stand-in clean_wf.exe is a shell script found through a POSIX PATH";
#endif
    for (const bool removes : {true, false}) {
        SCOPED_TRACE(removes ? "an event removed" : "only browsing");
        DemoHome home;
        std::filesystem::create_directory(home.path("bin"));
        home.write("bin/clean_wf.exe", "#!/bin/sh\ntouch " + home.path("cleaned") + "\n");
        std::filesystem::permissions(home.path("bin/clean_wf.exe"), std::filesystem::perms::owner_all);
        home.write("doef.mem", "0 0 103 2 2\n");  // VISO
        const std::string script = removes ? "key Delete\n" : "key Right\nkey Down\n";
        const LumenRun run = runLumen(home, script + dumpLine(home), "1024x768", "PATH=" + home.path("bin") + ":$PATH");
        EXPECT_EQ(run.status, 255);
        EXPECT_EQ(dumpValue(run.dump, "labelChangeState"), removes ? "1" : "0");
        EXPECT_EQ(home.exists("dore.mem"), removes);
        EXPECT_EQ(home.text("dore.mem"), removes ? "1" : "");
        EXPECT_EQ(home.text("doef.mem").substr(home.text("doef.mem").find('\n'), 3), removes ? "\n1\n" : "\n0\n");
        EXPECT_EQ(home.exists("cleaned"), removes);
    }
}

// The real clean-up program, found on the search path as the viewer looks
// for it, derives the episodes again from the corrected beat: the isolated
// ventricular beat made normal leaves the VISO row.
TEST(LumenWindow, AtExitTheCleanUpProgramDerivesTheEpisodesFromTheCorrectedBeats) {
#ifdef _WIN32
    GTEST_SKIP() << "the search path is given in the POSIX way here; the Windows suite runs it beside the viewer";
#endif
    DemoHome home;
    home.write("doef.mem", "0 0 103 2 2\n");  // VISO
    const size_t before = holterEvents(home, "VISO").size();
    const LumenRun run =
        runLumen(home, "key N\n" + dumpLine(home), "1024x768", std::string("PATH=") + LUMEN_CLEAN_WF_DIR + ":$PATH");
    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(dumpValue(run.dump, "labelChangeState"), "1");
    EXPECT_EQ(holterEvents(home, "VISO").size(), before - 1);
}

}  // namespace
}  // namespace lumen::testing
