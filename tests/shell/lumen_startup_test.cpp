// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "shell/lumen_run.h"
#include "store/recording_file.h"

namespace lumen::testing {
namespace {

TEST(LumenStartup, WithoutADisplayOrHeadlessItSaysSoAndFails) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows session always has its desktop to open a window on";
#else
    DemoHome home;
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " LUMEN_PATH " --home " +
                                home.programDirectory() + " 2> " + home.path("stderr.txt");
    const int status = std::system(command.c_str());
    EXPECT_NE(status, 0);
    EXPECT_NE(home.text("stderr.txt").find("no display"), std::string::npos);
    EXPECT_FALSE(home.exists("dore.mem"));
#endif
}

// A folder with a path.tmp is meant as a home: what it lacks is said.
TEST(LumenStartup, WithoutHomeInAFolderThatIsNoneItSaysWhatAHomeIs) {
#ifdef _WIN32
    GTEST_SKIP() << "runs a copy of the program by a POSIX name and reads a POSIX wait status";
#else
    DemoHome home;
    std::filesystem::create_directory(home.path("bin"));
    std::filesystem::copy_file(LUMEN_PATH, home.path("bin/lumen"));
    home.write("bin/path.tmp", home.recordingDirectory() + "\n");
    const std::string command = home.path("bin/lumen") + " --headless 640x480 2> " + home.path("stderr.txt");
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 255);
    const std::string err = home.text("stderr.txt");
    EXPECT_EQ(err.substr(0, err.find('\n') + 1), "File not found \"huffman.ko2\" !\n");
    EXPECT_NE(err.find("is not a program home"), std::string::npos) << err;
    EXPECT_NE(err.find("holter demo DIR"), std::string::npos);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2);
#endif
}

// A second viewer on a recording another one has open is refused, and
// leaves the home as that session has it: its labels-changed line too.
TEST(LumenStartup, AViewerRefusedAtOpenWritesNothingIntoTheHome) {
    DemoHome home;
    RecordingFile otherSession;
    ASSERT_EQ(otherSession.open(home.recordingPath("holter.mem"), RecordingAccess::Session), OpenResult::Opened);
    const std::string handOver = "1234\n1\n108\n4\n3\n";
    home.write("doef.mem", handOver);
    const LumenRun run = runLumen(home, "");
    EXPECT_EQ(run.status, 255);
    EXPECT_NE(run.err.find("already open in another viewer"), std::string::npos) << run.err;
    EXPECT_EQ(home.text("doef.mem"), handOver);
    EXPECT_FALSE(home.exists("dore.mem"));
}

// A journal found beside the recording and set aside is told in a box as
// well as on standard error; a script answers it like every box.
TEST(LumenStartup, AJournalSetAsideAtOpenIsToldInABox) {
    DemoHome home;
    home.write("recording/holter.mem-journal", "bytes of no journal");
    const LumenRun run = runLumen(home, "answer ok\n");
    EXPECT_EQ(run.status, 255) << run.err;
    EXPECT_NE(run.err.find("was not applied; it was moved to"), std::string::npos) << run.err;
    EXPECT_FALSE(home.exists("recording/holter.mem-journal"));
}

}  // namespace
}  // namespace lumen::testing
