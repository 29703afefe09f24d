// SPDX-License-Identifier: GPL-3.0-or-later
// Whose journal is whose: a viewer removes only its own, every name of a
// recording finds its journal, and a journal that cannot be removed never
// locks the user out of the recording.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>

#include "store/journal_format.h"
#include "store/recording_file.h"
#include "store/recording_journal.h"
#include "support/temp_home.h"

namespace lumen::testing {
namespace {

namespace fs = std::filesystem;

class JournalOwnershipTest : public ::testing::Test {
protected:
    void SetUp() override { home_.writeFile(path_, original_); }

    // What a save cut short after keeping two ranges leaves: the ranges
    // overwritten, the originals in an active journal beside `path`.
    void leaveCutShortSave(const std::string& path) const {
        RecordingJournal journal;
        ASSERT_TRUE(journal.reserve(path, original_.size()));
        ASSERT_TRUE(journal.begin(original_.size(), recordingHash(original_)));
        ASSERT_TRUE(journal.keep(1000, std::span(original_).subspan(1000, 200)));
        ASSERT_TRUE(journal.keep(5000, std::span(original_).subspan(5000, 300)));
        journal.leaveForRecovery();
        std::vector<uint8_t> torn = original_;
        std::fill(torn.begin() + 1000, torn.begin() + 1200, uint8_t{0xEE});
        home_.writeFile(path, torn);
    }
    std::vector<std::string> journalsIn(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name.find("-journal") != std::string::npos) names.push_back(name);
        }
        return names;
    }

    TempHome home_;
    std::string path_ = home_.recordingPath("holter.mem");
    std::vector<uint8_t> original_ = bytePattern(8192, 3);
};

TEST_F(JournalOwnershipTest, AViewerClearsOnlyTheIdleJournalsThatEndedSessionsLeftBehind) {
    const std::string journal = RecordingJournal::pathFor(path_);
    // A journal a session builds at open, and one a session holds: a crash
    // leaves the first under a name of its own; the second is live.
    {
        RecordingJournal crashed;
        ASSERT_TRUE(crashed.reserve(path_, original_.size()));
        fs::rename(journal, journal + ".new-00000000000000aa");
        crashed.leaveForRecovery();
    }
    RecordingJournal live;
    ASSERT_TRUE(live.reserve(path_, original_.size()));
    fs::rename(journal, journal + ".session-00000000000000bb");
    leaveCutShortSave(path_);
    fs::rename(journal, journal + ".leaving-00000000000000cc");  // active: keeps originals
    home_.writeFile(path_, original_);
    home_.writeFile(journal + ".new-notes.txt", bytePattern(100, 1));  // not a journal

    RecordingFile viewer;
    ASSERT_EQ(viewer.open(path_, RecordingAccess::Session), OpenResult::Opened);
    std::vector<std::string> left = journalsIn(home_.recordingDirectory());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"holter.mem-journal", "holter.mem-journal.leaving-00000000000000cc",
                                              "holter.mem-journal.new-notes.txt",
                                              "holter.mem-journal.session-00000000000000bb"}));
}

#ifndef _WIN32
struct Switch {
    const char* name;
    // Puts another recording where `current/holter.mem` leads.
    void (*apply)(const TempHome& home);
};

const Switch kSwitches[] = {
    {"another recording moved over it",
     [](const TempHome& home) { fs::rename(home.path("b/holter.mem"), home.path("a/holter.mem")); }},
    {"its folder link switched to another folder",
     [](const TempHome& home) {
         fs::remove(home.path("current"));
         fs::create_directory_symlink(home.path("b"), home.path("current"));
     }},
};

TEST_F(JournalOwnershipTest, AViewerWhoseRecordingWasReplacedLeavesTheNextViewersJournal) {
    for (const Switch& change : kSwitches) {
        for (const char* folder : {"a", "b", "current"}) fs::remove_all(home_.path(folder));
        fs::create_directory(home_.path("a"));
        fs::create_directory(home_.path("b"));
        home_.writeFile(home_.path("a/holter.mem"), original_);
        home_.writeFile(home_.path("b/holter.mem"), bytePattern(8192, 40));
        fs::create_directory_symlink(home_.path("a"), home_.path("current"));
        const std::string name = home_.path("current/holter.mem");

        RecordingFile first;
        ASSERT_EQ(first.open(name, RecordingAccess::Session), OpenResult::Opened) << change.name;
        change.apply(home_);
        RecordingFile second;
        ASSERT_EQ(second.open(name, RecordingAccess::Session), OpenResult::Opened) << change.name;
        ASSERT_TRUE(second.journaled()) << change.name;
        const std::string secondJournal = RecordingJournal::pathFor(fs::canonical(name).string());
        first.close();
        // The second viewer's journal is still there to protect its saves,
        // and the first viewer left none of its own behind.
        EXPECT_TRUE(fs::exists(secondJournal)) << change.name;
        EXPECT_EQ(journalsIn(home_.path("a")).size() + journalsIn(home_.path("b")).size(), 1u) << change.name;
        second.close();
        EXPECT_FALSE(fs::exists(secondJournal)) << change.name;
    }
}

struct OtherName {
    const char* name;
    // Makes a second name of the recording at `path` and returns it.
    std::string (*make)(const TempHome& home, const std::string& path);
};

const OtherName kSymbolicNames[] = {
    {"a link to the file",
     [](const TempHome& home, const std::string& path) {
         fs::create_symlink(path, home.path("linked.mem"));
         return home.path("linked.mem");
     }},
    {"a link to its folder",
     [](const TempHome& home, const std::string&) {
         fs::create_directory_symlink(home.recordingDirectory(), home.path("linked"));
         return home.path("linked/holter.mem");
     }},
};

TEST_F(JournalOwnershipTest, EveryLinkedNameFindsTheJournalOfACutShortSave) {
    for (const OtherName& other : kSymbolicNames) {
        const std::string name = other.make(home_, path_);
        leaveCutShortSave(path_);
        {
            RecordingFile file;
            ASSERT_EQ(file.open(name, RecordingAccess::Session), OpenResult::Opened) << other.name;
            EXPECT_TRUE(std::equal(file.image().begin(), file.image().end(), original_.begin(), original_.end()))
                << other.name;
            EXPECT_TRUE(file.writeAt(100, bytePattern(4, 7))) << other.name;
        }
        std::vector<uint8_t> corrected = original_;
        std::copy_n(bytePattern(4, 7).begin(), 4, corrected.begin() + 100);
        EXPECT_EQ(home_.readFile(path_), corrected) << other.name;
        EXPECT_TRUE(journalsIn(home_.recordingDirectory()).empty()) << other.name;
        fs::remove(home_.path("linked.mem"));
        fs::remove(home_.path("linked"));
        home_.writeFile(path_, original_);
    }
}

TEST_F(JournalOwnershipTest, AHardLinkedRecordingTakesNoCorrectionThroughAnyName) {
    const std::string other = home_.path("linked.mem");
    leaveCutShortSave(path_);
    fs::create_hard_link(path_, other);
    const std::vector<uint8_t> torn = home_.readFile(path_);
    {
        RecordingFile file;
        ASSERT_EQ(file.open(other, RecordingAccess::Session), OpenResult::Opened);
        EXPECT_FALSE(file.notes().empty());
        EXPECT_FALSE(file.writeAt(100, bytePattern(4, 7)));
        EXPECT_EQ(file.lastFailure(), WriteFailure::Linked);
        EXPECT_NE(file.failureNote().find("hard links"), std::string::npos) << file.failureNote();
    }
    EXPECT_EQ(home_.readFile(path_), torn);
    // The name the journal lies beside still puts the save back.
    RecordingFile file;
    ASSERT_EQ(file.open(path_), OpenResult::Opened);
    EXPECT_EQ(home_.readFile(path_), original_);
}

struct LockedFolder {
    const char* name;
    fs::perms journalPermissions;
    bool correctionSaved;  // in place, once the journal can undo nothing
};

const LockedFolder kLockedFolders[] = {
    {"the journal cannot be written either", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
     false},
    {"the journal can be written", fs::perms::all, true},
};

enum ChildFault {
    kFirstOpen = 1,
    kNotRestored = 2,
    kBlamesRoom = 4,
    kWrongSave = 8,
    kSecondOpen = 16,
    kSecondImage = 32,
};

// As a user who may write holter.mem but not its folder (root's journal).
int restoreAsUserWithoutTheFolder(const std::string& path, const std::vector<uint8_t>& original, bool saved) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 64;
    int faults = 0;
    std::vector<uint8_t> expected = original;
    {
        RecordingFile file;
        if (file.open(path, RecordingAccess::Session) != OpenResult::Opened) return kFirstOpen;
        if (!std::equal(file.image().begin(), file.image().end(), original.begin(), original.end())) {
            faults |= kNotRestored;
        }
        for (const std::string& note : file.notes()) {
            if (note.find("room") != std::string::npos) faults |= kBlamesRoom;
        }
        const bool written = file.writeAt(100, bytePattern(4, 7));
        if (written != saved || (!written && file.lastFailure() != WriteFailure::Permission)) faults |= kWrongSave;
        if (written) std::copy_n(bytePattern(4, 7).begin(), 4, expected.begin() + 100);
    }
    RecordingFile again;
    if (again.open(path, RecordingAccess::Read) != OpenResult::Opened) return faults | kSecondOpen;
    if (!std::equal(again.image().begin(), again.image().end(), expected.begin(), expected.end())) {
        faults |= kSecondImage;
    }
    return faults;
}

TEST_F(JournalOwnershipTest, ARestoreByAUserWhoMayNotWriteTheFolderNeverLocksThemOut) {
    for (const LockedFolder& folder : kLockedFolders) {
        fs::permissions(home_.recordingDirectory(), fs::perms::all);
        for (const std::string& name : journalsIn(home_.recordingDirectory())) {
            fs::remove(home_.recordingPath(name));
        }
        home_.writeFile(path_, original_);
        leaveCutShortSave(path_);
        fs::permissions(home_.programDirectory(),
                        fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        fs::permissions(path_, fs::perms::all);
        fs::permissions(RecordingJournal::pathFor(path_), folder.journalPermissions);
        fs::permissions(home_.recordingDirectory(), fs::perms::owner_read | fs::perms::owner_exec |
                                                        fs::perms::group_read | fs::perms::group_exec |
                                                        fs::perms::others_read | fs::perms::others_exec);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) _exit(restoreAsUserWithoutTheFolder(path_, original_, folder.correctionSaved));
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << folder.name << " (faults, see ChildFault)";
    }
    fs::permissions(home_.recordingDirectory(), fs::perms::all);
}
#endif

}  // namespace
}  // namespace lumen::testing
