// SPDX-License-Identifier: GPL-3.0-or-later
// A journal found beside holter.mem at open: its own is put back, a torn
// one is dropped, and one written for another recording is never applied.
#include <gtest/gtest.h>

#include <filesystem>

#include "store/journal_format.h"
#include "store/recording_file.h"
#include "store/recording_journal.h"
#include "support/temp_home.h"

namespace lumen::testing {
namespace {

class JournalRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override { home_.writeFile(path_, original_); }

    // A journal as a save of `recording` leaves it when it is cut short
    // after keeping `ranges` (offset, length) of it.
    void leaveJournalOf(const std::vector<uint8_t>& recording,
                        std::initializer_list<std::pair<size_t, size_t>> ranges) const {
        RecordingJournal journal;
        ASSERT_TRUE(journal.reserve(path_, recording.size()));
        ASSERT_TRUE(journal.begin(recording.size(), recordingHash(recording)));
        for (const auto& [offset, length] : ranges) {
            ASSERT_TRUE(journal.keep(offset, std::span(recording).subspan(offset, length)));
        }
        journal.leaveForRecovery();
    }
    std::vector<std::string> orphans() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(home_.programDirectory())) {
            const std::string name = entry.path().filename().string();
            if (name.find("holter.mem-journal.orphan-") == 0) names.push_back(name);
        }
        return names;
    }
    std::vector<uint8_t> opened(RecordingAccess access, std::vector<std::string>* notes = nullptr) const {
        RecordingFile file;
        EXPECT_EQ(file.open(path_, access), OpenResult::Opened);
        if (notes != nullptr) *notes = file.notes();
        return {file.image().begin(), file.image().end()};
    }
    std::string journalPath() const { return RecordingJournal::pathFor(path_); }

    TempHome home_;
    std::string path_ = home_.path("holter.mem");
    std::vector<uint8_t> original_ = bytePattern(8192, 3);
};

TEST_F(JournalRecoveryTest, ItsOwnJournalPutsTheKeptRangesBackAndIgnoresATornLastEntry) {
    leaveJournalOf(original_, {{1000, 200}, {5000, 300}});
    const auto size = std::filesystem::file_size(journalPath());
    // The second entry was being written when the save stopped: torn.
    const auto journal = home_.readFile(journalPath());
    home_.writeFile(journalPath(), std::span(journal).first(2 * kDiskSectorBytes + kJournalEntryHeaderBytes + 295));
    ASSERT_LT(std::filesystem::file_size(journalPath()), size);
    std::vector<uint8_t> damaged = original_;
    std::fill(damaged.begin() + 1000, damaged.begin() + 1200, uint8_t{0xEE});
    damaged.resize(9000, 0x55);  // the save had grown the file too
    home_.writeFile(path_, damaged);

    for (const RecordingAccess access : {RecordingAccess::Read, RecordingAccess::Session}) {
        EXPECT_EQ(opened(access), original_);
        EXPECT_EQ(home_.readFile(path_), original_);
    }
    EXPECT_FALSE(std::filesystem::exists(journalPath()));
    EXPECT_TRUE(orphans().empty());
}

TEST_F(JournalRecoveryTest, AJournalOfTheSecondFormatIsStillPutBack) {
    // A save cut short by a Lumen of the 48-byte header, before an upgrade.
    leaveJournalOf(original_, {{1000, 200}});
    const auto journal = home_.readFile(journalPath());
    std::vector<uint8_t> second(journal.begin(), journal.begin() + 48);
    putLittleEndian(&second[8], kJournalVersionWithoutOwner, 4);
    std::fill(second.begin() + 40, second.end(), uint8_t{0});
    putLittleEndian(&second[44], crc32(std::span(second).first(44)), 4);
    second.insert(second.end(), journal.begin() + kDiskSectorBytes, journal.end());
    home_.writeFile(journalPath(), second);
    std::vector<uint8_t> damaged = original_;
    std::fill(damaged.begin() + 1000, damaged.begin() + 1200, uint8_t{0xEE});
    home_.writeFile(path_, damaged);
    EXPECT_EQ(opened(RecordingAccess::Read), original_);
    EXPECT_FALSE(std::filesystem::exists(journalPath()));
}

struct StrangeJournal {
    const char* name;
    std::vector<uint8_t> (*bytes)(const std::vector<uint8_t>& otherJournal);
};

const StrangeJournal kForeignJournals[] = {
    {"another recording's journal", [](const std::vector<uint8_t>& other) { return other; }},
    {"a journal of the first format",
     [](const std::vector<uint8_t>&) {
         std::vector<uint8_t> bytes{'L', 'U', 'M', 'E', 'N', 'J', 'N', 'L', 1, 0, 0, 0};
         bytes.resize(64, 0);
         return bytes;
     }},
    {"bytes of no journal", [](const std::vector<uint8_t>&) { return bytePattern(20, 1); }},
};

TEST_F(JournalRecoveryTest, AJournalOfAnotherRecordingIsMovedAsideUnapplied) {
    // Recording A was being saved when it stopped; B was then written in
    // its place, with a second hour A does not have.
    const std::vector<uint8_t> recordingA = bytePattern(4000, 90);
    leaveJournalOf(recordingA, {{100, 50}, {3000, 900}});
    const std::vector<uint8_t> journalOfA = home_.readFile(journalPath());
    for (const StrangeJournal& journal : kForeignJournals) {
        for (const std::string& orphan : orphans()) std::filesystem::remove(home_.path(orphan));
        home_.writeFile(journalPath(), journal.bytes(journalOfA));
        std::vector<std::string> notes;
        EXPECT_EQ(opened(RecordingAccess::Read, &notes), original_) << journal.name;
        EXPECT_EQ(home_.readFile(path_), original_) << journal.name;
        EXPECT_FALSE(std::filesystem::exists(journalPath())) << journal.name;
        ASSERT_EQ(orphans().size(), 1u) << journal.name;
        EXPECT_EQ(home_.readFile(home_.path(orphans()[0])), journal.bytes(journalOfA)) << journal.name;
        ASSERT_EQ(notes.size(), 1u) << journal.name;
        EXPECT_NE(notes[0].find("moved"), std::string::npos) << notes[0];
    }
}

TEST_F(JournalRecoveryTest, ATornOrIdleJournalIsDroppedAndTheRecordingLeftAlone) {
    const auto idle = encodeJournalHeader(JournalHeader{});
    std::vector<uint8_t> failsItsCheck(idle.begin(), idle.end());
    failsItsCheck[20] ^= 0xFF;
    const std::vector<std::vector<uint8_t>> leftovers = {
        {}, {'L', 'U', 'M'}, {idle.begin(), idle.end()}, failsItsCheck};
    for (size_t i = 0; i < leftovers.size(); ++i) {
        home_.writeFile(journalPath(), leftovers[i]);
        EXPECT_EQ(opened(RecordingAccess::Read), original_) << i;
        EXPECT_FALSE(std::filesystem::exists(journalPath())) << i;
        EXPECT_TRUE(orphans().empty()) << i;
    }
}

TEST_F(JournalRecoveryTest, AJournalThatCannotBeReadKeepsTheRecordingShut) {
    ASSERT_TRUE(std::filesystem::create_directory(journalPath()));
    home_.writeFile(journalPath() + "/entry", bytePattern(4, 1));
    RecordingFile file;
    EXPECT_EQ(file.open(path_), OpenResult::NotFound);
    EXPECT_FALSE(file.isOpen());
}

}  // namespace
}  // namespace lumen::testing
