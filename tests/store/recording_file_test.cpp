// Writes into holter.mem: whole updates or none, after a crash at any step,
// a torn journal, or a write that fails part-way.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <numeric>

#include "store/disk_steps.h"
#include "store/recording_file.h"
#include "store/recording_journal.h"
#include "support/temp_home.h"

namespace lumen::testing {
namespace {

constexpr int kStoppedStatus = 77;
int stepsBeforeStop = 0;

void stopAtStep(DiskStep) {
    if (--stepsBeforeStop == 0) _exit(kStoppedStatus);
}

std::vector<uint8_t> pattern(size_t count, uint8_t seed) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7);
    return bytes;
}

class RecordingFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        original_ = pattern(8192, 3);
        home_.writeFile(path_, original_);
    }
    void TearDown() override { setDiskStepHook(nullptr); }

    // Three overlapping writes, the last one past the end of the file.
    static bool updateWithThreeWrites(RecordingFile& file) {
        file.beginUpdate();
        bool written = file.writeAt(100, pattern(400, 50));
        written = file.writeAt(300, pattern(1000, 90)) && written;
        written = file.writeAt(8000, pattern(500, 20)) && written;
        return file.commitUpdate() && written;
    }
    std::vector<uint8_t> bytesAfterUpdate() const {
        std::vector<uint8_t> bytes = original_;
        bytes.resize(8500);
        const auto put = [&](size_t at, const std::vector<uint8_t>& part) {
            std::copy(part.begin(), part.end(), bytes.begin() + static_cast<ptrdiff_t>(at));
        };
        put(100, pattern(400, 50));
        put(300, pattern(1000, 90));
        put(8000, pattern(500, 20));
        return bytes;
    }
    std::vector<uint8_t> reopened() const {
        RecordingFile file;
        EXPECT_TRUE(file.open(path_));
        return {file.image().begin(), file.image().end()};
    }
    bool journalLeft() const { return std::filesystem::exists(RecordingJournal::pathFor(path_)); }

    TempHome home_;
    std::string path_ = home_.path("holter.mem");
    std::vector<uint8_t> original_;
};

TEST_F(RecordingFileTest, AnUpdateReachesTheFileWholeAndLeavesNoJournal) {
    RecordingFile file;
    ASSERT_TRUE(file.open(path_));
    EXPECT_TRUE(updateWithThreeWrites(file));
    file.close();
    EXPECT_FALSE(journalLeft());
    EXPECT_EQ(home_.readFile(path_), bytesAfterUpdate());
}

TEST_F(RecordingFileTest, ReadsPastTheEndGiveZerosAndAnEmptyTableReadsNothing) {
    RecordingFile file;
    ASSERT_TRUE(file.open(path_));
    uint8_t tail[4] = {9, 9, 9, 9};
    EXPECT_EQ(file.readAt(8190, tail), 2u);
    EXPECT_EQ(tail[0], original_[8190]);
    EXPECT_EQ(tail[2], 0);
    EXPECT_EQ(tail[3], 0);
    std::vector<uint8_t> noTable;  // a section of length 0
    EXPECT_EQ(file.readAt(0, noTable), 0u);
    EXPECT_TRUE(file.writeAt(0, noTable));
}

TEST_F(RecordingFileTest, BytesThatAreAlreadyThereCostNoDiskStep) {
    RecordingFile file;
    ASSERT_TRUE(file.open(path_));
    stepsBeforeStop = 1;
    setDiskStepHook(stopAtStep);  // any step would end the test process
    EXPECT_TRUE(file.writeAt(10, std::span(original_).subspan(10, 900)));
    setDiskStepHook(nullptr);
}

TEST_F(RecordingFileTest, StoppedAfterAnyStepTheFileReopensAsBeforeOrAfterTheUpdate) {
    const std::vector<uint8_t> after = bytesAfterUpdate();
    int beforeSeen = 0;
    int afterSeen = 0;
    int step = 1;
    for (;; ++step) {
        home_.writeFile(path_, original_);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RecordingFile file;
            if (!file.open(path_)) _exit(1);
            stepsBeforeStop = step;
            setDiskStepHook(stopAtStep);
            _exit(updateWithThreeWrites(file) ? 0 : 2);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        const std::vector<uint8_t> bytes = reopened();
        EXPECT_FALSE(journalLeft()) << "step " << step;
        if (bytes == original_) ++beforeSeen;
        else if (bytes == after) ++afterSeen;
        else ADD_FAILURE() << "step " << step << ": neither before nor after";
        if (WEXITSTATUS(status) == 0) break;
        ASSERT_EQ(WEXITSTATUS(status), kStoppedStatus);
    }
    // Header, three ranges kept and written, the flushes and the removal.
    EXPECT_GE(step, 14);
    EXPECT_GT(beforeSeen, 0);
    EXPECT_GT(afterSeen, 0);
}

TEST_F(RecordingFileTest, ATornLastEntryIsIgnoredAndTheKeptRangesGoBack) {
    {
        RecordingJournal journal;
        ASSERT_TRUE(journal.start(path_, original_.size()));
        ASSERT_TRUE(journal.keep(1000, std::span(original_).subspan(1000, 200)));
        ASSERT_TRUE(journal.keep(5000, pattern(300, 200)));  // never reached the file
    }
    const std::string journalPath = RecordingJournal::pathFor(path_);
    std::filesystem::resize_file(journalPath, std::filesystem::file_size(journalPath) - 5);
    std::vector<uint8_t> damaged = original_;
    std::fill(damaged.begin() + 1000, damaged.begin() + 1200, uint8_t{0xEE});
    home_.writeFile(path_, damaged);

    EXPECT_EQ(reopened(), original_);
    EXPECT_FALSE(journalLeft());
}

TEST_F(RecordingFileTest, AJournalWithoutACompleteHeaderLeavesTheFileAlone) {
    home_.writeFile(RecordingJournal::pathFor(path_), pattern(20, 1));
    EXPECT_EQ(reopened(), original_);
    EXPECT_FALSE(journalLeft());
}

TEST_F(RecordingFileTest, AJournalThatCannotBeReadKeepsTheRecordingShut) {
    const std::string journal = RecordingJournal::pathFor(path_);
    ASSERT_TRUE(std::filesystem::create_directory(journal));
    home_.writeFile(journal + "/entry", pattern(4, 1));
    RecordingFile file;
    EXPECT_FALSE(file.open(path_));
    EXPECT_FALSE(file.isOpen());
    std::filesystem::remove_all(journal);
}

TEST_F(RecordingFileTest, AJournalThatCannotBeCreatedRefusesTheWrite) {
    RecordingFile file;
    ASSERT_TRUE(file.open(path_));
    ASSERT_TRUE(std::filesystem::create_directory(RecordingJournal::pathFor(path_)));
    EXPECT_FALSE(file.writeAt(64, pattern(16, 9)));
    EXPECT_EQ(file.readU8(64), original_[64]);
    file.close();
    std::filesystem::remove(RecordingJournal::pathFor(path_));
    EXPECT_EQ(home_.readFile(path_), original_);
}

TEST_F(RecordingFileTest, AWriteThatFailsPartWayRollsBackTheWholeUpdate) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RecordingFile file;
        if (!file.open(path_)) _exit(1);
        // No file may grow past 6000 bytes: the journal entry of the second
        // range no longer fits, as on a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{6000, 6000};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(1);
        file.beginUpdate();
        const bool first = file.writeAt(100, pattern(4000, 11));
        const bool second = file.writeAt(4200, pattern(3000, 12));
        const bool third = file.writeAt(10, pattern(10, 13));  // refused after the failure
        const bool committed = file.commitUpdate();
        const bool imageRestored = file.readU8(100) == original_[100];
        _exit(first && !second && !third && !committed && imageRestored ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(home_.readFile(path_), original_);
    EXPECT_FALSE(journalLeft());
}

}  // namespace
}  // namespace lumen::testing
