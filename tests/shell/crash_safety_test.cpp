// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer's corrections against crashes and full disks: stopped after any
// disk step of a session that relabels beats, removes an event and excludes
// extremes, the recording reopens exactly as it was before an update or
// after it; on a full disk nothing reaches it and the user is told.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <map>

#include "shell/lumen_run.h"
#include "store/recording_file.h"
#include "store/recording_journal.h"

namespace lumen::testing {
namespace {

constexpr int kStoppedStatus = 86;
constexpr int kExitStatus = 255;

// From the first VISO: its V beat becomes N, a couplet becomes artefact, the
// heart-rate and ST minima are excluded.
const std::string kCorrections = "button 2001\nkey Down\nkey Delete\n" + scriptLines("key Down", 9) + "key Delete\n" +
                                 scriptLines("key Down", 2) + "key Delete\n";

void startAtFirstVentricularBeat(const DemoHome& home) { home.write("doef.mem", "0 0 103 2 2\n"); }

std::vector<uint8_t> reopenedRecording(const DemoHome& home) {
    RecordingFile file;
    EXPECT_EQ(file.open(home.recordingPath("holter.mem")), OpenResult::Opened);
    return {file.image().begin(), file.image().end()};
}

// The recording after each update of an uninterrupted session, keyed by the
// disk step that made the update durable (0: the recording as written).
std::map<int, std::vector<uint8_t>> durableStates() {
    DemoHome home;
    startAtFirstVentricularBeat(home);
    std::map<int, std::vector<uint8_t>> states{{0, home.readFile(home.recordingPath("holter.mem"))}};
    const std::string snapshots = home.path("snapshots");
    std::filesystem::create_directory(snapshots);
    const LumenRun run = runLumen(home, kCorrections, "1024x768",
                                  "LUMEN_SNAPSHOT_DIR=" + snapshots +
                                      " LUMEN_SNAPSHOT_RECORDING=" + home.recordingPath("holter.mem"));
    EXPECT_EQ(run.status, kExitStatus) << run.err;
    for (const auto& entry : std::filesystem::directory_iterator(snapshots)) {
        const int step = std::stoi(entry.path().filename().string().substr(6));
        states[step] = home.readFile(entry.path().string());
    }
    return states;
}

TEST(CrashSafety, StoppedAfterAnyDiskStepTheRecordingIsAsBeforeOrAfterEachUpdate) {
#ifdef _WIN32
    GTEST_SKIP() << "the stopping viewer gets its environment through a POSIX command prefix";
#else
    const std::map<int, std::vector<uint8_t>> states = durableStates();
    // The removal and the exit are one update each.
    ASSERT_EQ(states.size(), 3u);
    const int lastStep = states.rbegin()->first;
    DemoHome home;
    const std::string recording = home.recordingPath("holter.mem");
    int stoppedRuns = 0;
    for (int step = 1;; ++step) {
        home.writeFile(recording, states.begin()->second);
        startAtFirstVentricularBeat(home);
        const LumenRun run = runLumen(home, kCorrections, "1024x768", "LUMEN_STOP_AFTER_STEP=" + std::to_string(step));
        const std::vector<uint8_t> bytes = reopenedRecording(home);
        EXPECT_FALSE(std::filesystem::exists(RecordingJournal::pathFor(recording)));
        // The last update durable by now, and the one after it.
        auto durable = std::prev(states.upper_bound(step));
        const auto next = std::next(durable);
        const bool asDurable = bytes == durable->second;
        const bool asNext = next != states.end() && bytes == next->second;
        EXPECT_TRUE(asDurable || asNext) << "stopped after disk step " << step;
        if (run.status != kStoppedStatus) {
            EXPECT_EQ(run.status, kExitStatus) << run.err;
            // After the last update settled: its flush, then the journal
            // taken to a name of the session's own, checked, removed, and
            // its folder flushed.
            EXPECT_EQ(step, lastStep + 5);
            break;
        }
        ++stoppedRuns;
    }
    EXPECT_GE(stoppedRuns, 20);
#endif
}

#ifndef _WIN32
// A tmpfs of its own in a private mount namespace, filled to the last byte
// before the viewer starts: no journal can be made.
std::string fullDiskCommand(const DemoHome& home, const std::string& mountPoint, const std::string& script) {
    const std::string disk = mountPoint;
    const std::string out = home.path("out");
    return "unshare " + std::string(geteuid() == 0 ? "-m" : "-rm") + " sh -c '"
           "mount -t tmpfs -o size=2m tmpfs " + disk + " || exit 90; "
           "for f in " + home.programDirectory() + "*; do [ -f \"$f\" ] && cp \"$f\" " + disk + "/; done; "
           "cp -r " + home.recordingDirectory() + " " + disk + "/ && "
           "printf %s " + disk + "/recording > " + disk + "/path.tmp && "
           "cp " + script + " " + disk + "/script.txt && "
           "(dd if=/dev/zero of=" + disk + "/fill bs=1024 2>/dev/null; true); "
           LUMEN_PATH " --home " + disk + " --headless 1024x768 --script " + disk + "/script.txt 2> " + out + "/stderr.txt; "
           "echo $? > " + out + "/status.txt; "
           "cp " + disk + "/recording/holter.mem " + out + "/; ls " + disk + "/recording > " + out + "/listing.txt'";
}
#endif

// Corrections overwrite bytes the recording already has, so a full disk
// never stands in their way: they are written in place, as they would be
// without a journal, and the user learns that no journal guarded them.
TEST(CrashSafety, OnAFullDiskTheCorrectionsAreStillSaved) {
#ifdef _WIN32
    GTEST_SKIP() << "a full disk is a private tmpfs mounted through unshare";
#else
    DemoHome home;
    startAtFirstVentricularBeat(home);
    std::filesystem::create_directory(home.path("out"));
    std::filesystem::create_directory(home.path("disk"));
    home.write("full.txt", "button 2001\nkey Down\nkey Delete\nclose\n");
    const int raw = std::system(fullDiskCommand(home, home.path("disk"), home.path("full.txt")).c_str());
    if (raw != 0) GTEST_SKIP() << "no private tmpfs can be mounted here";

    EXPECT_EQ(home.text("out/status.txt"), "255\n") << home.text("out/stderr.txt");
    const std::string err = home.text("out/stderr.txt");
    EXPECT_EQ(err.find("could not be saved"), std::string::npos) << err;
    EXPECT_NE(err.find("without protection against a crash"), std::string::npos) << err;
    // The same session on a disk with room gives the same recording.
    const LumenRun roomy = runLumen(home, "button 2001\nkey Down\nkey Delete\n");
    EXPECT_EQ(roomy.status, kExitStatus) << roomy.err;
    EXPECT_EQ(home.readFile(home.path("out/holter.mem")), home.readFile(home.recordingPath("holter.mem")));
    EXPECT_EQ(home.text("out/listing.txt").find("journal"), std::string::npos);
#endif
}

}  // namespace
}  // namespace lumen::testing
