// SPDX-License-Identifier: GPL-3.0-or-later
// Writes into holter.mem: whole updates or none, after a crash at any step,
// with a reader looking on, a write that fails part-way, a recording
// replaced under the session, or a second session.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "store/disk_steps.h"
#include "store/journal_format.h"
#include "store/recording_file.h"
#include "store/recording_journal.h"
#include "support/temp_home.h"

namespace lumen::testing {
namespace {

constexpr int kStoppedStatus = 77;
constexpr uint32_t kShortWaitMs = 50;
int stepsBeforeStop = 0;

void stopAtStep(DiskStep) {
    if (--stepsBeforeStop == 0) std::_Exit(kStoppedStatus);
}

#ifndef _WIN32
// The process waits, frozen inside its save, for its parent to look.
void freezeAtStep(DiskStep) {
    if (--stepsBeforeStop == 0) raise(SIGSTOP);
}
#endif

class RecordingFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        original_ = bytePattern(8192, 3);
        home_.writeFile(path_, original_);
    }
    void TearDown() override { setDiskStepHook(nullptr); }

    // Three overlapping writes, the last one past the end of the file.
    static bool updateWithThreeWrites(RecordingFile& file) {
        file.beginUpdate();
        bool written = file.writeAt(100, bytePattern(400, 50));
        written = file.writeAt(300, bytePattern(1000, 90)) && written;
        written = file.writeAt(8000, bytePattern(500, 20)) && written;
        return file.commitUpdate() && written;
    }
    std::vector<uint8_t> bytesAfterUpdate() const {
        std::vector<uint8_t> bytes = original_;
        bytes.resize(8500);
        const auto put = [&](size_t at, const std::vector<uint8_t>& part) {
            std::copy(part.begin(), part.end(), bytes.begin() + static_cast<ptrdiff_t>(at));
        };
        put(100, bytePattern(400, 50));
        put(300, bytePattern(1000, 90));
        put(8000, bytePattern(500, 20));
        return bytes;
    }
    std::vector<uint8_t> reopened() const {
        RecordingFile file;
        EXPECT_EQ(file.open(path_), OpenResult::Opened);
        return {file.image().begin(), file.image().end()};
    }
    bool journalLeft() const { return std::filesystem::exists(RecordingJournal::pathFor(path_)); }
#ifndef _WIN32
    // A child that opens a session, runs one update and is stopped after
    // disk step `step` by `hook`.
    pid_t startUpdateStoppedAt(int step, DiskStepHook hook) const {
        const pid_t child = fork();
        if (child == 0) {
            RecordingFile file;
            if (file.open(path_, RecordingAccess::Session) != OpenResult::Opened) _exit(1);
            stepsBeforeStop = step;
            setDiskStepHook(hook);
            _exit(updateWithThreeWrites(file) ? 0 : 2);
        }
        return child;
    }
#endif

    TempHome home_;
    std::string path_ = home_.path("holter.mem");
    std::vector<uint8_t> original_;
};

TEST_F(RecordingFileTest, AnUpdateReachesTheFileWholeAndTheSessionLeavesNoJournal) {
    RecordingFile file;
    ASSERT_EQ(file.open(path_, RecordingAccess::Session), OpenResult::Opened);
    EXPECT_TRUE(file.journaled());
    EXPECT_TRUE(journalLeft());  // reserved while the session runs
    EXPECT_TRUE(updateWithThreeWrites(file));
    file.close();
    EXPECT_FALSE(journalLeft());
    EXPECT_EQ(home_.readFile(path_), bytesAfterUpdate());
}

TEST_F(RecordingFileTest, ReadsPastTheEndGiveZerosAndZerosWrittenThereChangeNothing) {
    RecordingFile file;
    ASSERT_EQ(file.open(path_, RecordingAccess::Session), OpenResult::Opened);
    uint8_t tail[4] = {9, 9, 9, 9};
    EXPECT_EQ(file.readAt(8190, tail), 2u);
    EXPECT_EQ(tail[0], original_[8190]);
    EXPECT_EQ(tail[2], 0);
    EXPECT_EQ(tail[3], 0);
    stepsBeforeStop = 1;
    setDiskStepHook(stopAtStep);  // any disk step would end the test process
    EXPECT_TRUE(file.writeAt(10, std::span(original_).subspan(10, 900)));
    EXPECT_TRUE(file.writeAt(9000, std::vector<uint8_t>(16'000'000, 0)));
    EXPECT_TRUE(file.writeAt(0, std::vector<uint8_t>{}));
    setDiskStepHook(nullptr);
    file.close();
    EXPECT_EQ(home_.readFile(path_), original_);
}

TEST_F(RecordingFileTest, StoppedAfterAnyStepTheFileReopensAsBeforeOrAfterTheUpdate) {
#ifdef _WIN32
    GTEST_SKIP() << "a child frozen or limited in file size needs fork, SIGSTOP and RLIMIT_FSIZE";
#else
    const std::vector<uint8_t> after = bytesAfterUpdate();
    int beforeSeen = 0;
    int afterSeen = 0;
    int step = 1;
    for (;; ++step) {
        home_.writeFile(path_, original_);
        const pid_t child = startUpdateStoppedAt(step, freezeAtStep);
        ASSERT_GE(child, 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, WUNTRACED), child);
        const bool finished = WIFEXITED(status);
        if (!finished) {
            // A reader while the save is under way waits, then gives up,
            // and leaves the journal of the live session alone.
            RecordingFile reader;
            EXPECT_EQ(reader.open(path_, RecordingAccess::Read, kShortWaitMs), OpenResult::Busy) << "step " << step;
            EXPECT_TRUE(journalLeft()) << "step " << step;
            kill(child, SIGKILL);
            ASSERT_EQ(waitpid(child, &status, 0), child);
        }
        const std::vector<uint8_t> bytes = reopened();
        EXPECT_FALSE(journalLeft()) << "step " << step;
        if (bytes == original_)
            ++beforeSeen;
        else if (bytes == after)
            ++afterSeen;
        else
            ADD_FAILURE() << "step " << step << ": neither before nor after";
        if (finished) {
            EXPECT_EQ(WEXITSTATUS(status), 0);
            break;
        }
    }
    // The header, three ranges kept and written, the flushes, the idle header.
    EXPECT_GE(step, 12);
    EXPECT_GT(beforeSeen, 0);
    EXPECT_GT(afterSeen, 0);
#endif
}

TEST_F(RecordingFileTest, AWriteThatFailsPartWayRollsBackTheWholeUpdate) {
#ifdef _WIN32
    GTEST_SKIP() << "a child frozen or limited in file size needs fork, SIGSTOP and RLIMIT_FSIZE";
#else
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RecordingFile file;
        if (file.open(path_, RecordingAccess::Session) != OpenResult::Opened) _exit(1);
        // No write may reach past 6000 bytes: the journal entry of the second
        // range no longer fits, as on a failing disk.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{6000, 6000};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(1);
        file.beginUpdate();
        const bool first = file.writeAt(100, bytePattern(4000, 11));
        const bool second = file.writeAt(4200, bytePattern(3000, 12));
        const bool third = file.writeAt(10, bytePattern(10, 13));  // refused after the failure
        const bool committed = file.commitUpdate();
        const bool imageRestored = file.readU8(100) == original_[100];
        _exit(first && !second && !third && !committed && imageRestored ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(home_.readFile(path_), original_);
    EXPECT_EQ(reopened(), original_);
    EXPECT_FALSE(journalLeft());
#endif
}

TEST_F(RecordingFileTest, WithoutRoomForAJournalCorrectionsAreStillWrittenInPlace) {
#ifdef _WIN32
    GTEST_SKIP() << "a child frozen or limited in file size needs fork, SIGSTOP and RLIMIT_FSIZE";
#else
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The journal cannot be made as large as the recording.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8192, 8192};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(1);
        RecordingFile file;
        if (file.open(path_, RecordingAccess::Session) != OpenResult::Opened) _exit(1);
        _exit(!file.journaled() && !file.notes().empty() && file.writeAt(100, bytePattern(50, 1)) ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(home_.readFile(path_)[100], bytePattern(50, 1)[0]);
    EXPECT_FALSE(journalLeft());
#endif
}

struct Replacement {
    const char* name;
    void (*replace)(const TempHome& home, const std::string& path);
};

const Replacement kReplacements[] = {
#ifndef _WIN32  // Windows refuses to rename anything over a file a session holds open
    {"renamed over it",
     [](const TempHome& home, const std::string& path) {
         home.writeFile(path + ".next", bytePattern(8192, 40));
         std::filesystem::rename(path + ".next", path);
     }},
#endif
    {"copied over it",
     [](const TempHome& home, const std::string& path) { home.writeFile(path, bytePattern(9000, 40)); }},
    // As on a file system that keeps whole seconds: nothing but the bytes
    // tells the two apart.
    {"overwritten in place at the same size and time",
     [](const TempHome& home, const std::string& path) {
         const auto time = std::filesystem::last_write_time(path);
         home.writeFile(path, bytePattern(8192, 40));
         std::filesystem::last_write_time(path, time);
     }},
};

TEST_F(RecordingFileTest, ARecordingReplacedUnderTheSessionReceivesNothing) {
    for (const Replacement& replacement : kReplacements) {
        home_.writeFile(path_, original_);
        RecordingFile file;
        ASSERT_EQ(file.open(path_, RecordingAccess::Session), OpenResult::Opened);
        replacement.replace(home_, path_);
        const std::vector<uint8_t> other = home_.readFile(path_);
        EXPECT_FALSE(file.writeAt(64, bytePattern(16, 9))) << replacement.name;
        EXPECT_EQ(file.lastFailure(), WriteFailure::Replaced) << replacement.name;
        file.close();
        EXPECT_EQ(home_.readFile(path_), other) << replacement.name;
    }
}

TEST_F(RecordingFileTest, OneSessionAtATimeWhileToolsMayReadBetweenSaves) {
    RecordingFile session;
    ASSERT_EQ(session.open(path_, RecordingAccess::Session), OpenResult::Opened);
    RecordingFile second;
    EXPECT_EQ(second.open(path_, RecordingAccess::Session, kShortWaitMs), OpenResult::InUse);
    RecordingFile tool;
    EXPECT_EQ(tool.open(path_, RecordingAccess::Read, kShortWaitMs), OpenResult::Opened);
    EXPECT_FALSE(tool.writeAt(0, bytePattern(4, 1)));
    EXPECT_EQ(tool.lastFailure(), WriteFailure::ReadOnly);

    session.beginUpdate();
    ASSERT_TRUE(session.writeAt(10, bytePattern(10, 2)));
    EXPECT_EQ(tool.open(path_, RecordingAccess::Read, kShortWaitMs), OpenResult::Busy);
    ASSERT_TRUE(session.commitUpdate());
    EXPECT_EQ(tool.open(path_, RecordingAccess::Read, kShortWaitMs), OpenResult::Opened);
    EXPECT_EQ(tool.readU8(10), bytePattern(10, 2)[0]);
}

TEST_F(RecordingFileTest, WhatIsNoRecordingIsRefusedAtOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "FIFOs and /dev/zero are POSIX files";
#else
    const std::string fifo = home_.path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string device = home_.path("device");
    std::filesystem::create_symlink("/dev/zero", device);
    const std::string sparse = home_.path("sparse");
    home_.writeFile(sparse, bytePattern(16, 1));
    std::filesystem::resize_file(sparse, uint64_t{3} << 30);
    const struct {
        std::string path;
        OpenResult result;
    } cases[] = {{fifo, OpenResult::NotFound},
                 {device, OpenResult::NotFound},
                 {home_.programDirectory(), OpenResult::NotFound},
                 {sparse, OpenResult::TooLarge},
                 {home_.path("missing"), OpenResult::NotFound}};
    for (const auto& entry : cases) {
        for (const RecordingAccess access : {RecordingAccess::Read, RecordingAccess::Session}) {
            const auto start = std::chrono::steady_clock::now();
            RecordingFile file;
            EXPECT_EQ(file.open(entry.path, access), entry.result) << entry.path;
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << entry.path;
            EXPECT_FALSE(file.isOpen());
        }
    }
#endif
}

}  // namespace
}  // namespace lumen::testing
